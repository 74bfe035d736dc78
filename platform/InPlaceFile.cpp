#include "platform/InPlaceFile.h"

#include "platform/FileErrors.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
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
    ::close(fd_);
}

void InPlaceFile::reserve(std::uint64_t size) {
    // The copy of the earlier bytes takes, at most, the whole earlier file.
    try {
        earlier_.reserve(std::size_t(earlierSize_));
    } catch (const std::bad_alloc&) {
        throwFileError(ENOMEM, FileAccess::Write, path_);
    }
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
    if (written_ < earlierSize_) {
        // Keep the earlier bytes these new ones will cover.
        const std::size_t keep =
            std::size_t(std::min<std::uint64_t>(size, earlierSize_ - written_));
        try {
            earlier_.resize(std::size_t(written_) + keep);
        } catch (const std::bad_alloc&) {
            throwFileError(ENOMEM, FileAccess::Write, path_);
        }
        const ssize_t got = readAt(fd_, earlier_.data() + written_, keep, written_);
        if (got < 0) {
            const int err = errno;
            earlier_.resize(std::size_t(written_));
            throwFileError(err, FileAccess::Write, path_);
        }
        if (std::size_t(got) < keep) { // the file was shorter than it said
            earlierSize_ = written_ + std::uint64_t(got);
            earlier_.resize(std::size_t(earlierSize_));
        }
    }
    touched_ = true;
    if (const int err = writeAt(fd_, data, size, written_))
        throwFileError(err, FileAccess::Write, path_);
    written_ += size;
}

void InPlaceFile::commit() {
    if (written_ < earlierSize_) {
        // Cutting the file drops the earlier tail; keep it too until the file is on the disk.
        const std::size_t from = earlier_.size();
        try {
            earlier_.resize(std::size_t(earlierSize_));
        } catch (const std::bad_alloc&) {
            throwFileError(ENOMEM, FileAccess::Write, path_);
        }
        const ssize_t got = readAt(fd_, earlier_.data() + from, earlier_.size() - from, from);
        const int err = errno;
        earlier_.resize(from + std::size_t(std::max<ssize_t>(got, 0)));
        if (got < 0) throwFileError(err, FileAccess::Write, path_);
        earlierSize_ = earlier_.size();
    }
    if (ftruncate(fd_, off_t(written_)) != 0 || fsync(fd_) != 0)
        throwFileError(errno, FileAccess::Write, path_);
    touched_ = false;
}

void InPlaceFile::restore() noexcept {
    if (!touched_) return;
    touched_ = false;
    // Nothing better can be done where this fails too; the save reports its own failure.
    (void)writeAt(fd_, earlier_.data(), earlier_.size(), 0);
    (void)ftruncate(fd_, off_t(earlierSize_));
    (void)fsync(fd_);
}

} // namespace tablor
