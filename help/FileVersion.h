#pragma once
// File versions: four 16-bit numbers major.minor.release.build, read from a file without
// loading it. Our own binaries carry theirs in an ELF note (owner "Tablor", type 1, four
// little-endian 16-bit numbers); a shared library of the system gives the numbers after
// ".so." in its real file name (libQt6Widgets.so.6.4.2 is 6.4.2.0). A file with neither has
// no version.

#include <QString>

#include <cstdint>

namespace tablor {

struct FileVersion {
    QString text; // "4.74.8702.0"; empty when the file has no version
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;
};

// A version made of the four numbers, with its text.
FileVersion MakeFileVersion(std::uint16_t major, std::uint16_t minor, std::uint16_t release,
                            std::uint16_t build);

// The version of the file at path; empty text and zeros when the path is empty, there is no
// file there, or it carries no version.
FileVersion ReadFileVersion(const QString& path);

// -1, 0 or 1 as a is older than, the same as or newer than b, number by number.
int CompareVersions(const FileVersion& a, const FileVersion& b);

} // namespace tablor
