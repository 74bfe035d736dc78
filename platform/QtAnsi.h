#pragma once
// Windows-1252 bytes <-> QString, at the Qt boundary.

#include <QString>

#include <string>
#include <string_view>

namespace tablor {

QString fromAnsi(std::string_view bytes);
// Decodes into memory the caller has sized (one QChar a byte); returns the end.
QChar* decodeAnsi(std::string_view bytes, QChar* out);
// A character that Windows-1252 cannot hold becomes "?".
std::string toAnsi(const QString& text);

} // namespace tablor
