#include "platform/IniFile.h"

#include "platform/FileErrors.h"
#include "platform/NumberText.h"

#include <cerrno>
#include <optional>
#include <unistd.h>

namespace tablor {
namespace {

unsigned char foldCase(unsigned char b) {
    if (b >= 'A' && b <= 'Z') return b + 32;
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return b + 32; // À..Þ but ×
    switch (b) {
    case 0x8A:
        return 0x9A; // Š
    case 0x8C:
        return 0x9C; // Œ
    case 0x8E:
        return 0x9E; // Ž
    case 0x9F:
        return 0xFF; // Ÿ
    default:
        return b;
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool isBlankLine(std::string_view line) {
    return trim(line).empty();
}

// The name of the section a "[Name]" line opens; nothing for other lines.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    const auto close = line.find(']');
    return trim(line.substr(0, close));
}

struct KeyLine {
    std::string_view key, value;
};

std::optional<KeyLine> keyLine(std::string_view line) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyLine{trim(line.substr(0, eq)), trim(line.substr(eq + 1))};
}

} // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(static_cast<unsigned char>(a[i])) !=
            foldCase(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    // Only a regular file of a sane size is read: a pipe, a device or a folder there reads as
    // empty at once, and is never written over.
    const ReadOpening f = openRegularFile(path_);
    if (f.fd < 0) {
        if (f.error == 0)
            readError_ = EACCES;
        else if (f.error != ENOENT && f.error != ENOTDIR)
            readError_ = f.error;
        return;
    }
    std::string bytes;
    char buf[16384];
    for (;;) {
        const ssize_t n = ::read(f.fd, buf, sizeof buf);
        if (n > 0) {
            bytes.append(buf, std::size_t(n));
            if (bytes.size() <= MaxSize) continue;
            readError_ = EFBIG;
        } else if (n == 0) {
            break;
        } else if (errno == EINTR) {
            continue;
        } else {
            readError_ = errno;
        }
        bytes.clear();
        break;
    }
    ::close(f.fd);
    parse(bytes);
}

IniFile IniFile::fromBytes(std::string_view bytes) {
    IniFile f;
    f.parse(bytes);
    return f;
}

void IniFile::parse(std::string_view bytes) {
    lines_.clear();
    while (!bytes.empty()) {
        const auto lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.emplace_back(line);
    }
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    bool inSection = false;
    for (const std::string& line : lines_) {
        if (const auto name = sectionName(line)) {
            inSection = equalsIgnoringCase(*name, section);
        } else if (inSection) {
            const auto kv = keyLine(line);
            if (!kv || !equalsIgnoringCase(kv->key, key)) continue;
            std::string_view v = kv->value;
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            return std::string(v);
        }
    }
    return std::string(def);
}

std::int32_t IniFile::readInteger(std::string_view section, std::string_view key,
                                  std::int32_t def) const {
    return parseInt32(readString(section, key, {})).value_or(def);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool def) const {
    const auto v = parseInt32(readString(section, key, {}));
    return v ? *v != 0 : def;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    value = value.substr(0, value.find_first_of("\r\n"));

    std::optional<std::size_t> firstSection; // first line after the first header of that name
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i])) {
            inSection = equalsIgnoringCase(*name, section);
            if (inSection && !firstSection) firstSection = i + 1;
            continue;
        }
        if (!inSection) continue;
        if (const auto kv = keyLine(lines_[i]); kv && equalsIgnoringCase(kv->key, key)) {
            lines_[i] = std::string(kv->key) + "=" + std::string(value);
            save();
            return;
        }
    }

    const std::string entry = std::string(key) + "=" + std::string(value);
    if (firstSection) {
        // After the section's last non-blank line, so blank lines stay between sections.
        std::size_t at = *firstSection;
        for (std::size_t i = at; i < lines_.size() && !sectionName(lines_[i]); ++i)
            if (!isBlankLine(lines_[i])) at = i + 1;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), entry);
    } else {
        if (!lines_.empty() && !isBlankLine(lines_.back())) lines_.emplace_back();
        std::string header(1, '['); // built in place: GCC 12 warns wrongly on "[" + string
        header.append(section).push_back(']');
        lines_.push_back(std::move(header));
        lines_.push_back(entry);
    }
    save();
}

void IniFile::writeInteger(std::string_view section, std::string_view key, std::int32_t value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::eraseSection(std::string_view section) {
    std::vector<std::string> kept;
    kept.reserve(lines_.size());
    for (std::size_t i = 0; i < lines_.size();) {
        const auto name = sectionName(lines_[i]);
        if (!name || !equalsIgnoringCase(*name, section)) {
            kept.push_back(std::move(lines_[i++]));
            continue;
        }
        // The section runs to the next header. The blank lines that end it separate what
        // came before it from what follows: they stay only where no blank line came before
        // it, so that erasing and writing a section again gives back the same lines.
        std::size_t end = i + 1;
        while (end < lines_.size() && !sectionName(lines_[end]))
            ++end;
        if (!kept.empty() && !isBlankLine(kept.back())) {
            std::size_t blanksFrom = end;
            while (blanksFrom > i + 1 && isBlankLine(lines_[blanksFrom - 1]))
                --blanksFrom;
            for (std::size_t j = blanksFrom; j < end; ++j)
                kept.push_back(std::move(lines_[j]));
        }
        i = end;
    }
    const bool changed = kept.size() != lines_.size();
    lines_ = std::move(kept);
    if (changed) save();
}

void IniFile::writeHeld() {
    holding_ = false;
    if (changed_) save();
}

void IniFile::save() {
    changed_ = true;
    if (holding_ || path_.empty()) return; // held in memory for now, or for good
    if (readError_ != 0) throwFileError(readError_, FileAccess::Write, path_);
    std::string bytes;
    for (const std::string& line : lines_) {
        bytes += line;
        bytes += "\r\n";
    }
    OutputFile out(path_);
    out.reserve(bytes.size());
    out.write(bytes.data(), bytes.size());
    out.commit();
    changed_ = false;
}

} // namespace tablor
