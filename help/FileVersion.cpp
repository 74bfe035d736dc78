#include "help/FileVersion.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <optional>

namespace tablor {

namespace {

using Numbers = std::array<std::uint16_t, 4>;

constexpr std::uint32_t SectionTypeNote = 7;
constexpr std::uint32_t NoteTypeVersion = 1;
constexpr char NoteOwner[] = "Tablor"; // with its zero: 7 bytes
constexpr qint64 MaxNoteSection = 64 * 1024;

std::uint64_t little(const QByteArray& bytes, qsizetype at, int size) {
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint64_t align4(std::uint64_t n) {
    return (n + 3) & ~std::uint64_t(3);
}

// Looks for our version note in one note section's bytes.
std::optional<Numbers> versionInNotes(const QByteArray& notes) {
    const std::uint64_t size = std::uint64_t(notes.size());
    std::uint64_t at = 0;
    while (at + 12 <= size) {
        const std::uint64_t nameSize = little(notes, qsizetype(at), 4);
        const std::uint64_t descSize = little(notes, qsizetype(at + 4), 4);
        const std::uint64_t type = little(notes, qsizetype(at + 8), 4);
        const std::uint64_t name = at + 12;
        const std::uint64_t desc = name + align4(nameSize);
        const std::uint64_t next = desc + align4(descSize);
        if (next > size) return std::nullopt;
        if (type == NoteTypeVersion && nameSize == sizeof NoteOwner && descSize >= 8 &&
            notes.mid(qsizetype(name), sizeof NoteOwner) ==
                QByteArray(NoteOwner, sizeof NoteOwner)) {
            Numbers n;
            for (int i = 0; i < 4; ++i)
                n[i] = std::uint16_t(little(notes, qsizetype(desc + 2 * i), 2));
            return n;
        }
        at = next;
    }
    return std::nullopt;
}

// The version note of a 64-bit little-endian ELF file, found through its section headers.
std::optional<Numbers> versionFromElfNote(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray header = file.read(64);
    if (header.size() < 64 ||
        !header.startsWith("\x7f"
                           "ELF") ||
        header[4] != 2 || header[5] != 1)
        return std::nullopt;
    const std::uint64_t fileSize = std::uint64_t(file.size());
    const std::uint64_t tableAt = little(header, 0x28, 8);
    const std::uint64_t entrySize = little(header, 0x3A, 2);
    const std::uint64_t count = little(header, 0x3C, 2);
    if (entrySize < 64 || count == 0 || tableAt > fileSize ||
        count * entrySize > fileSize - tableAt)
        return std::nullopt;
    if (!file.seek(qint64(tableAt))) return std::nullopt;
    const QByteArray table = file.read(qint64(count * entrySize));
    if (std::uint64_t(table.size()) != count * entrySize) return std::nullopt;
    for (std::uint64_t i = 0; i < count; ++i) {
        const qsizetype entry = qsizetype(i * entrySize);
        if (little(table, entry + 4, 4) != SectionTypeNote) continue;
        const std::uint64_t at = little(table, entry + 0x18, 8);
        const std::uint64_t size = little(table, entry + 0x20, 8);
        if (size > std::uint64_t(MaxNoteSection) || at > fileSize || size > fileSize - at) continue;
        if (!file.seek(qint64(at))) continue;
        if (const auto numbers = versionInNotes(file.read(qint64(size)))) return numbers;
    }
    return std::nullopt;
}

// The numbers after ".so." in the real name of a shared library, one to four of them.
std::optional<Numbers> versionFromLibraryName(const QString& path) {
    const QString name = QFileInfo(QFileInfo(path).canonicalFilePath()).fileName();
    const qsizetype so = name.lastIndexOf(QLatin1String(".so."));
    if (so < 0) return std::nullopt;
    const QStringList parts = name.mid(so + 4).split(QLatin1Char('.'));
    if (parts.size() > 4) return std::nullopt;
    Numbers n{};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        bool ok = !part.isEmpty() && part.size() <= 5;
        for (QChar c : part)
            ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const uint value = ok ? part.toUInt() : 0;
        if (!ok || value > 0xFFFF) return std::nullopt;
        n[size_t(i)] = std::uint16_t(value);
    }
    return n;
}

} // namespace

FileVersion MakeFileVersion(std::uint16_t major, std::uint16_t minor, std::uint16_t release,
                            std::uint16_t build) {
    FileVersion v;
    v.major = major;
    v.minor = minor;
    v.release = release;
    v.build = build;
    v.text = QStringLiteral("%1.%2.%3.%4").arg(major).arg(minor).arg(release).arg(build);
    return v;
}

FileVersion ReadFileVersion(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) return {};
    std::optional<Numbers> n = versionFromElfNote(path);
    if (!n) n = versionFromLibraryName(path);
    if (!n) return {};
    return MakeFileVersion((*n)[0], (*n)[1], (*n)[2], (*n)[3]);
}

int CompareVersions(const FileVersion& a, const FileVersion& b) {
    const Numbers x{a.major, a.minor, a.release, a.build};
    const Numbers y{b.major, b.minor, b.release, b.build};
    for (size_t i = 0; i < 4; ++i)
        if (x[i] != y[i]) return x[i] > y[i] ? 1 : -1;
    return 0;
}

} // namespace tablor
