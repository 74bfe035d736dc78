// Feeds arbitrary bytes to the settings reader, as a file and as a profile file in memory.
// Input: three lines (a section, a key, a value), then the file. Writing the value must read it
// back, and removing the section must remove it, whatever the rest of the file holds.

#include "platform/IniFile.h"
#include "table/Settings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

using namespace tablor;

namespace {

std::string_view takeLine(std::string_view& rest) {
    const auto lf = rest.find('\n');
    const std::string_view line = rest.substr(0, lf);
    rest.remove_prefix(lf == std::string_view::npos ? rest.size() : lf + 1);
    return line;
}

// A name or value that the file's syntax keeps as it is: no blanks at its ends, no brackets,
// equals signs, quotes, comment marks or line breaks.
bool plain(std::string_view s) {
    if (s.empty()) return false;
    for (unsigned char c : s)
        if (c < 32 || std::string_view("[]=;\"'").find(char(c)) != std::string_view::npos)
            return false;
    return s.front() != ' ' && s.back() != ' ';
}

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view section = takeLine(rest), key = takeLine(rest), value = takeLine(rest);

    static const std::string path = [] {
        const char* tmp = std::getenv("TMPDIR");
        return std::string(tmp && *tmp ? tmp : "/tmp") + "/tablor-fuzz-" +
               std::to_string(getpid()) + ".ini";
    }();
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(rest.data(), 1, rest.size(), f);
        std::fclose(f);
        (void)readMainWindowSettings(path, 1024, 768);
        (void)readCardPosition(path);
        ::unlink(path.c_str()); // the fuzzer may stop at any time, leaving nothing behind
    }

    IniFile ini = IniFile::fromBytes(rest);
    (void)ini.readInteger(section, key, 0);
    if (!plain(section) || !plain(key) || !plain(value)) return 0;
    ini.writeString(section, key, value);
    check(ini.readString(section, key, {}) == value, "a written value does not read back");
    ini.eraseSection(section);
    check(ini.readString(section, key, "\x01") == "\x01", "an erased section still answers");
    return 0;
}
