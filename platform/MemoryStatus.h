#pragma once
// This machine's memory as the kernel reports it in /proc/meminfo. Qt-free.

#include <cstdint>
#include <string_view>

namespace tablor {

struct MemoryStatus {
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0; // 0 when the kernel does not report it
    int loadPercent = 0;              // share of memory in use, 0 to 100
};

// MemTotal and MemAvailable of a /proc/meminfo text, and the share in use.
MemoryStatus parseMeminfo(std::string_view text);

// Read afresh from /proc/meminfo; all zeros when it cannot be read.
MemoryStatus readMemoryStatus();

} // namespace tablor
