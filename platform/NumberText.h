#pragma once
// Integers as the table and settings files hold them: an optional sign, then decimal digits
// within the signed 32-bit range, or after a hexadecimal prefix ("$", "0x", "0X" and, in table
// files, a bare "x" or "X") at most 8 hexadecimal digits taken as a 32-bit pattern.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tablor {

enum class HexPrefixes { DollarAnd0x, DollarAnd0xAndX };

inline std::optional<std::int32_t> parseInt32(std::string_view s,
                                              HexPrefixes prefixes = HexPrefixes::DollarAnd0x) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';

    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true, i += 1;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true, i += 2;
    } else if (prefixes == HexPrefixes::DollarAnd0xAndX && i < s.size() &&
               (s[i] == 'x' || s[i] == 'X')) {
        hex = true, i += 1;
    }
    const std::size_t digits = s.size() - i;
    if (digits == 0) return std::nullopt;

    if (hex) {
        if (digits > 8) return std::nullopt;
        std::uint32_t v = 0;
        for (; i < s.size(); ++i) {
            const char c = s[i];
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return std::nullopt;
            v = v << 4 | std::uint32_t(d);
        }
        if (negative) v = 0u - v; // the pattern negated, modulo 2^32
        return static_cast<std::int32_t>(v);
    }

    // Decimal: accumulate the magnitude, which may reach 2^31 only for a negative number.
    const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
    std::uint64_t v = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + std::uint64_t(c - '0');
        if (v > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(v)
                                              : static_cast<std::int64_t>(v));
}

} // namespace tablor
