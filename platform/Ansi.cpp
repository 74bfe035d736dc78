#include "platform/Ansi.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tablor::ansi {
namespace {

// 0x80..0x9F; the undefined bytes keep their own number (C1 controls).
constexpr std::array<char16_t, 32> High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

} // namespace

char32_t toUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return High[byte - 0x80];
    return byte;
}

unsigned char fromUnicode(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (int i = 0; i < 32; ++i)
        if (High[i] == cp) return static_cast<unsigned char>(0x80 + i);
    return '?';
}

// Each byte's UTF-8 form: its length, then up to three bytes.
struct Utf8Form {
    char length;
    char bytes[3];
};
const std::array<Utf8Form, 256> Utf8Forms = [] {
    std::array<Utf8Form, 256> t{};
    for (int b = 0; b < 256; ++b) {
        std::string s;
        appendUtf8(s, toUnicode(static_cast<unsigned char>(b)));
        t[b].length = char(s.size());
        std::memcpy(t[b].bytes, s.data(), s.size());
    }
    return t;
}();

std::size_t encodeUtf8(std::string_view bytes, char* out) {
    char* const start = out;
    for (unsigned char b : bytes) {
        if (b < 0x80) {
            *out++ = char(b);
        } else {
            const Utf8Form& f = Utf8Forms[b];
            std::memcpy(out, f.bytes, 3);
            out += f.length;
        }
    }
    return std::size_t(out - start);
}

std::size_t utf8Size(std::string_view bytes) {
    std::size_t n = 0;
    for (unsigned char b : bytes)
        n += std::size_t(Utf8Forms[b].length);
    return n;
}

void appendUtf8(std::string& out, std::string_view bytes) {
    const std::size_t used = out.size();
    out.resize(used + 3 * bytes.size());
    out.resize(used + encodeUtf8(bytes, out.data() + used));
}

std::string toUtf8(std::string_view bytes) {
    std::string out;
    appendUtf8(out, bytes);
    return out;
}

std::size_t decodeUtf8(std::string_view s, char* out, std::size_t& replaced, bool& wellFormed) {
    char* const start = out;
    constexpr std::uint64_t HighBits = 0x8080808080808080u;
    for (std::size_t i = 0; i < s.size();) {
        // ASCII eight bytes at a time: all of them, or those before the first that is not.
        // (`out` is never ahead of `i`, so the eight bytes fit where they are written.)
        if (s.size() - i >= 8) {
            std::uint64_t w;
            std::memcpy(&w, s.data() + i, 8);
            std::memcpy(out, &w, 8);
            const std::size_t ascii = std::size_t(std::countr_zero(w & HighBits)) / 8;
            out += ascii;
            i += ascii;
            if (ascii == 8) continue;
        }
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            *out++ = char(b);
            ++i;
            continue;
        }
        // Latin-1's upper half, most of what French text holds: the byte of the same number.
        if ((b == 0xC2 || b == 0xC3) && i + 1 < s.size()) {
            const auto n = static_cast<unsigned char>(s[i + 1]);
            const unsigned cp = ((b & 0x1Fu) << 6) | (n & 0x3Fu);
            if ((n & 0xC0) == 0x80 && cp >= 0xA0) {
                *out++ = char(cp);
                i += 2;
                continue;
            }
        }
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
        bool broken = b < 0xC0 || b > 0xF4; // a stray continuation byte, or no lead byte at all
        if (b < 0xC0) extra = 0, cp = U'\uFFFD';
        std::size_t j = i + 1;
        for (int k = 0; k < extra; ++k, ++j) {
            if (j >= s.size() || (static_cast<unsigned char>(s[j]) & 0xC0) != 0x80) {
                cp = U'\uFFFD';
                broken = true;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
        }
        // Overlong forms, surrogates and codes beyond Unicode are not UTF-8 either.
        static constexpr char32_t Least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < Least[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) broken = true;
        wellFormed &= !broken;
        const unsigned char c = fromUnicode(cp);
        if (c == '?') ++replaced;
        *out++ = char(c);
        i = j;
    }
    return std::size_t(out - start);
}

std::size_t appendFromUtf8(std::string& out, std::string_view s) {
    std::size_t replaced = 0;
    const std::size_t used = out.size();
    out.resize(used + s.size());
    bool wellFormed = true;
    out.resize(used + decodeUtf8(s, out.data() + used, replaced, wellFormed));
    return replaced;
}

std::string fromUtf8(std::string_view s) {
    std::string out;
    appendFromUtf8(out, s);
    return out;
}

} // namespace tablor::ansi
