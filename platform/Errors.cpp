#include "platform/Errors.h"

namespace tablor {

std::string withFullStop(const std::string& m) {
    if (m.empty()) return m;
    // Find the last character's first byte; any multi-byte UTF-8 character is above '.'.
    const auto last = static_cast<unsigned char>(m.back());
    if (last >= 0x80 || last > '.') return m + ".";
    return m;
}

} // namespace tablor
