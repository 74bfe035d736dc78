#pragma once
// A profile (INI) file: "[Section]" lines opening sections, "Key=Value" lines inside them.
// Section and key names compare without regard to letter case (Windows-1252 letters
// included); names and values are Windows-1252 bytes; lines end with CR LF (a lone LF is read
// too). Reading a value that is missing gives the caller's default. Every change is written to
// the file at once, whole, through OutputFile; other sections and lines stay as they were.
// Qt-free.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tablor {

class IniFile {
public:
    // Reads the file now. A missing or unreadable file reads as empty; an unreadable one is
    // then never overwritten (a write throws the reason it could not be read). A file that is
    // not a regular file, or is larger than MaxSize, counts as unreadable.
    explicit IniFile(std::string path);
    static constexpr std::size_t MaxSize = std::size_t{1} << 20;
    // The same rules over bytes held in memory; such a file cannot be written.
    static IniFile fromBytes(std::string_view bytes);

    // The value trimmed of blanks, and of one pair of enclosing quotes; `def` when missing.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    // Decimal, or hexadecimal after "0x", "0X" or "$"; `def` when missing or not a 32-bit
    // integer.
    std::int32_t readInteger(std::string_view section, std::string_view key,
                             std::int32_t def) const;
    // An integer: 0 is false, any other number true; `def` when missing or not a number.
    bool readBool(std::string_view section, std::string_view key, bool def) const;

    // Sets the key (creating the file, the section or the key as needed) and writes the file.
    // A line break in the value would start a new line of the file, so the value ends there.
    // Throws TablorError when the file cannot be written.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, std::int32_t value);
    // Removes every section of that name with all its lines, then writes the file.
    void eraseSection(std::string_view section);

    // Changes made from holdWrites() on reach the file together, in one write, at
    // writeHeld(); for a series of changes that belong together, so the disk is flushed once.
    void holdWrites() { holding_ = true; }
    void writeHeld();

    // The file's lines as they would be written, without their line ends.
    const std::vector<std::string>& lines() const { return lines_; }

private:
    IniFile() = default;
    void parse(std::string_view bytes);
    void save();

    std::string path_;
    int readError_ = 0; // errno of a failed read, other than a missing file
    std::vector<std::string> lines_;
    bool holding_ = false, changed_ = false;
};

// Windows-1252 letters compared without regard to case.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace tablor
