#include "platform/QtAnsi.h"

#include "platform/Ansi.h"

#include <QList>

#include <array>

namespace tablor {

namespace {
const std::array<char16_t, 256>& unicodeTable() {
    static const auto table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = static_cast<char16_t>(ansi::toUnicode(b));
        return t;
    }();
    return table;
}
} // namespace

QChar* decodeAnsi(std::string_view bytes, QChar* out) {
    const auto& table = unicodeTable();
    for (const char byte : bytes)
        *out++ = QChar(table[static_cast<unsigned char>(byte)]);
    return out;
}

QString fromAnsi(std::string_view bytes) {
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    decodeAnsi(bytes, out.data());
    return out;
}

QString shownText(std::string_view cell) {
    return fromAnsi(cell.substr(0, ShownCellLength));
}

std::string toAnsi(const QString& text) {
    std::string out;
    out.reserve(text.size());
    const auto ucs4 = text.toUcs4();
    for (char32_t cp : ucs4)
        out += static_cast<char>(ansi::fromUnicode(cp));
    return out;
}

} // namespace tablor
