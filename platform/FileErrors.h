#pragma once
// Reading and writing files, and what the user is told when it fails. The program's files go
// through these few calls, which turn the system's error numbers into the texts of the error box
// ("Fichier introuvable", "Disque plein"...), thrown as TablorError. Qt-free, POSIX.

#include "platform/InPlaceFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace tablor {

enum class FileAccess { Read, Write };

// The message for the error number `err` met while opening, reading or writing `path`.
std::string fileErrorMessage(int err, FileAccess access, const std::string& path);
[[noreturn]] void throwFileError(int err, FileAccess access, const std::string& path);

// Opens a file for reading only when it is a regular file, never waiting on it (opening a pipe
// that has no writer would wait for ever). `fd` is -1 when it failed: `error` is then the error
// number of the open, or 0 for a file of another kind (a folder, a pipe, a device).
struct ReadOpening {
    int fd = -1;
    int error = 0;
    bool regular = false;
    std::uint64_t size = 0;
};
ReadOpening openRegularFile(const std::string& path);

// A regular file open for reading, closed when the object goes. Anything else is refused
// ("... n'est pas un fichier ordinaire").
class InputFile {
public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Up to `size` bytes; 0 only at the end of the file.
    std::size_t read(char* buffer, std::size_t size);
    // Up to `size` bytes from `offset`, without moving the place read() reads from; 0 only at
    // the end. Threads may call it at the same time.
    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t size) const;
    // The file's size when it was opened.
    std::uint64_t size() const { return size_; }

private:
    int fd_;
    std::uint64_t size_;
    std::string path_;
};

// Writes a file so that a failure never destroys what it held: the bytes go to a new file
// beside the target (an unnamed one where the system allows, which vanishes by itself if the
// program dies before it is complete), which is flushed to disk and then renamed over the target,
// keeping its permissions and following symbolic links to the real file. The file is written in
// place only where that cannot work: the folder refuses a new file, the target is not a plain
// file (a device, a pipe) or it has other hard links, which a rename would part from it; a plain
// file written in place gets its earlier bytes back when the save fails (see InPlaceFile).
class OutputFile {
public:
    explicit OutputFile(const std::string& path);
    // Without commit(), the target keeps its former content.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The size of the whole new content, told before writing it: writing in place, the room for
    // it is reserved before anything is overwritten ("Disque plein" while the file is untouched).
    void reserve(std::uint64_t size);
    // Writes all the bytes or throws ("Disque plein" when the disk takes fewer).
    void write(const char* data, std::size_t size);
    // Flushes to disk and puts the file in place.
    void commit();

    bool writesInPlace() const { return !replaces_; }

private:
    bool openNewFile(const struct stat* earlier);
    void openInPlace(bool plainFile);
    void nameUnnamedFile();
    void discard() noexcept;

    int fd_ = -1;
    std::string path_;                     // as given, for the messages
    std::string target_;                   // the file the path names, symbolic links followed
    bool replaces_ = false;                // the new file is renamed over the target
    bool unnamed_ = false;                 // the new file has no name until it is complete
    std::string temp_;                     // the new file's name beside the target, once it has one
    std::unique_ptr<InPlaceFile> inPlace_; // a plain file written in place
    std::uint64_t written_ = 0;            // bytes written so far
    std::uint64_t writebackFrom_ = 0;      // where the disk has not been asked to start yet
    static constexpr std::uint64_t WritebackStep = std::uint64_t{8} << 20;
};

} // namespace tablor
