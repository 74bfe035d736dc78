#include "platform/InPlaceFile.h"

#include "platform/FileErrors.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tablor {
namespace {

// Reads up to `size` bytes at `offset`; fewer only at the end of the file. -1 on an error.
ssize_t readAt(int fd, char* buffer, std::size_t size, std::uint64_t offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, buffer + done, size - done, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += std::size_t(n);
    }
    return ssize_t(done);
}

// Writes all `size` bytes at `offset`; an error number, or 0.
int writeAt(int fd, const char* data, std::size_t size, std::uint64_t offset) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return ENOSPC;
        data += n;
        size -= std::size_t(n);
        offset += std::uint64_t(n);
    }
    return 0;
}

} // namespace

InPlaceFile::InPlaceFile(int fd, const std::string& path) : fd_(fd), path_(path) {
    struct stat st;
    if (fstat(fd_, &st) != 0) {
        const int err = errno;
        ::close(fd_);
        throwFileError(err, FileAccess::Write, path_);
    }
    earlierSize_ = std::uint64_t(st.st_size);
}

InPlaceFile::~InPlaceFile() {
    restore();
    if (earlier_) munmap(earlier_, copySize_);
    ::close(fd_);
}

// The room for the copy, taken from the system at once, in large pages where it gives them:
// filling a copy of a large file page by small page costs more than reading it.
void InPlaceFile::makeRoomForCopy() {
    if (earlier_ || earlierSize_ == 0) return;
    void* room = mmap(nullptr, std::size_t(earlierSize_), PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (room == MAP_FAILED) throwFileError(ENOMEM, FileAccess::Write, path_);
    earlier_ = static_cast<char*>(room);
    copySize_ = std::size_t(earlierSize_);
    (void)madvise(earlier_, copySize_, MADV_HUGEPAGE);
}

// Copies the earlier bytes up to `upTo` (at most the earlier size) that are not copied yet.
void InPlaceFile::keepEarlierBytes(std::uint64_t upTo) {
    upTo = std::min(upTo, earlierSize_);
    if (kept_ >= upTo) return;
    makeRoomForCopy();
    const ssize_t got = readAt(fd_, earlier_ + kept_, std::size_t(upTo - kept_), kept_);
    if (got < 0) throwFileError(errno, FileAccess::Write, path_);
    kept_ += std::uint64_t(got);
    if (kept_ < upTo) earlierSize_ = kept_; // the file was shorter than it said
}

void InPlaceFile::reserve(std::uint64_t size) {
    makeRoomForCopy();
    if (size == 0) return;
    touched_ = true; // a failed reservation may have left the file longer
    int err;
    do
        err = posix_fallocate(fd_, 0, off_t(size));
    while (err == EINTR);
    // Where the file system cannot reserve, the copy alone protects the earlier bytes.
    if (err != 0 && err != EOPNOTSUPP) {
        restore();
        throwFileError(err, FileAccess::Write, path_);
    }
}

void InPlaceFile::write(const char* data, std::size_t size) {
    keepEarlierBytes(written_ + size);
    touched_ = true;
    if (const int err = writeAt(fd_, data, size, written_))
        throwFileError(err, FileAccess::Write, path_);
    written_ += size;
}

void InPlaceFile::commit() {
    // Cutting the file drops the earlier tail; keep it too until the file is on the disk.
    keepEarlierBytes(earlierSize_);
    if (ftruncate(fd_, off_t(written_)) != 0 || fsync(fd_) != 0)
        throwFileError(errno, FileAccess::Write, path_);
    touched_ = false;
}

void InPlaceFile::restore() noexcept {
    if (!touched_) return;
    touched_ = false;
    // Nothing better can be done where this fails too; the save reports its own failure.
    (void)writeAt(fd_, earlier_, std::size_t(kept_), 0);
    (void)ftruncate(fd_, off_t(earlierSize_));
    (void)fsync(fd_);
}

} // namespace tablor
