#pragma once
// Windows-1252 bytes <-> QString, at the Qt boundary.

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace tablor {

QString fromAnsi(std::string_view bytes);

// The most of a cell that a window draws, measures or puts in an edit box: what a line edit
// holds by default. A longer cell keeps all its bytes; windows show it by this much of its
// start, in an edit box that cannot be changed, so that the rest is never lost.
inline constexpr std::size_t ShownCellLength = 32767;
inline bool shownWhole(std::string_view cell) {
    return cell.size() <= ShownCellLength;
}
// The cell as a window shows it.
QString shownText(std::string_view cell);
// Decodes into memory the caller has sized (one QChar a byte); returns the end.
QChar* decodeAnsi(std::string_view bytes, QChar* out);
// A character that Windows-1252 cannot hold becomes "?".
std::string toAnsi(const QString& text);

} // namespace tablor
