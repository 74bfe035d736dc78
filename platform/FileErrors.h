#pragma once
// Reading and writing files, and what the user is told when it fails. The program's files go
// through these few calls, which turn the system's error numbers into the texts of the error box
// ("Fichier introuvable", "Disque plein"...), thrown as TablorError. Qt-free, POSIX.

#include <cstddef>
#include <string>

namespace tablor {

enum class FileAccess { Read, Write };

// The message for the error number `err` met while opening, reading or writing `path`.
std::string fileErrorMessage(int err, FileAccess access, const std::string& path);
[[noreturn]] void throwFileError(int err, FileAccess access, const std::string& path);

// A file open for reading, closed when the object goes.
class InputFile {
public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Up to `size` bytes; 0 only at the end of the file.
    std::size_t read(char* buffer, std::size_t size);

private:
    int fd_;
    std::string path_;
};

// Writes a file so that a failure never destroys what it held: the bytes go to a new file
// beside the target, which is flushed to disk and then renamed over the target, keeping its
// permissions and following symbolic links to the real file. The file is written in place only
// where that cannot work: the folder refuses a new file, the target is not a plain file (a
// device, a pipe) or it has other hard links, which a rename would part from it.
class OutputFile {
public:
    explicit OutputFile(const std::string& path);
    // Without commit(), the new file is removed and the target keeps its former content
    // (unless the file was being written in place).
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Writes all the bytes or throws ("Disque plein" when the disk takes fewer).
    void write(const char* data, std::size_t size);
    // Flushes to disk and puts the file in place.
    void commit();

    bool writesInPlace() const { return temp_.empty(); }

private:
    void discard() noexcept;

    int fd_ = -1;
    std::string path_;   // as given, for the messages
    std::string target_; // the file the path names, symbolic links followed
    std::string temp_;   // the new file, empty when writing in place
};

} // namespace tablor
