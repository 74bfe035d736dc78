#pragma once
// Writing new content over an existing regular file in place, where a new file cannot take its
// place (a folder closed to new files, a file with other hard links), so that a failure still
// leaves the earlier file as it was: the room for the new content is reserved on the disk before
// anything is overwritten, and each run of earlier bytes is copied to memory just before the new
// bytes cover it, to be put back if the save does not end well. The copy lives in memory, not in
// a file elsewhere: no other folder sees the table, no disk must have room for it and nothing is
// left behind after a crash. Qt-free, POSIX.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tablor {

class InPlaceFile {
public:
    // `fd` is the file, open for reading and writing; `path` names it in the messages.
    // The object closes the file, putting the earlier bytes back first unless committed.
    InPlaceFile(int fd, const std::string& path);
    ~InPlaceFile();
    InPlaceFile(const InPlaceFile&) = delete;
    InPlaceFile& operator=(const InPlaceFile&) = delete;

    // Makes sure the disk holds `size` bytes for the file, and memory the copy of the earlier
    // bytes that many new bytes cover, or throws with the file unchanged ("Disque plein").
    void reserve(std::uint64_t size);
    // Writes after the bytes already written, or throws.
    void write(const char* data, std::size_t size);
    // Cuts the file to what was written and flushes it to disk; the earlier bytes are gone.
    void commit();

private:
    void makeRoomForCopy();
    void keepEarlierBytes(std::uint64_t upTo);
    void restore() noexcept;

    int fd_;
    std::string path_;
    std::uint64_t earlierSize_ = 0; // the file's size before the save
    std::uint64_t written_ = 0;
    char* earlier_ = nullptr;  // room for a copy of the whole earlier file, from its start
    std::size_t copySize_ = 0; // the size of that room
    std::uint64_t kept_ = 0;   // how many earlier bytes it holds
    bool touched_ = false;     // the file may differ from what it was
};

} // namespace tablor
