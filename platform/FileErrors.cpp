#include "platform/FileErrors.h"

#include "platform/Errors.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tablor {
namespace {

// The folder part of a path, with its final slash ("" for a bare name, "/" for the root).
std::string folderPrefix(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool folderExists(const std::string& path) {
    const std::string folder = folderPrefix(path);
    struct stat st;
    return stat(folder.empty() ? "." : folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The file a path names once every symbolic link on the way to it is followed. A link to a
// file that does not exist yet names that file.
std::string followLinks(const std::string& path) {
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::vector<char> buf(std::size_t(st.st_size) + 256);
        const ssize_t n = readlink(p.c_str(), buf.data(), buf.size());
        if (n < 0) throwFileError(errno, FileAccess::Write, path);
        std::string link(buf.data(), std::size_t(n));
        p = link.starts_with('/') ? link : folderPrefix(p) + link;
    }
    throwFileError(ELOOP, FileAccess::Write, path);
}

// A name for the new file, hidden beside the target, that no other file is likely to have.
std::string tempNameFor(const std::string& target) {
    static unsigned counter = 0;
    const std::string folder = folderPrefix(target);
    std::string base = target.substr(folder.size()).substr(0, 200);
    std::uint64_t x = std::uint64_t(getpid()) << 32 ^
                      std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                      std::uint64_t(++counter) * 0x9E3779B97F4A7C15ull;
    std::string tag;
    for (int i = 0; i < 8; ++i, x /= 36)
        tag += "0123456789abcdefghijklmnopqrstuvwxyz"[x % 36];
    return folder + "." + base + "." + tag + ".tmp";
}

bool refusesNewFile(int err) {
    return err == EACCES || err == EPERM || err == EROFS;
}

} // namespace

std::string fileErrorMessage(int err, FileAccess access, const std::string& path) {
    switch (err) {
    case ENOENT:
        // Reading a missing file in an existing folder; otherwise the path itself is wrong.
        return access == FileAccess::Read && folderExists(path) ? "Fichier introuvable"
                                                                : "Nom de fichier incorrect";
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return "Nom de fichier incorrect";
    case EMFILE:
    case ENFILE:
        return "Trop de fichiers ouverts";
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EISDIR:
        return "Accès au fichier refusé";
    case ENOSPC:
    case EDQUOT:
        return "Disque plein";
    default:
        return "Erreur E/S " + std::to_string(err);
    }
}

void throwFileError(int err, FileAccess access, const std::string& path) {
    throw TablorError(fileErrorMessage(err, access, path));
}

InputFile::InputFile(const std::string& path) : path_(path) {
    do
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) throwFileError(errno, FileAccess::Read, path_);
}

InputFile::~InputFile() {
    ::close(fd_);
}

std::size_t InputFile::read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0) return std::size_t(n);
        if (errno != EINTR) throwFileError(errno, FileAccess::Read, path_);
    }
}

OutputFile::OutputFile(const std::string& path) : path_(path), target_(followLinks(path)) {
    if (target_.empty()) throwFileError(ENOENT, FileAccess::Write, path_);
    struct stat st;
    const bool exists = stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) throwFileError(EISDIR, FileAccess::Write, path_);
    // A read-only file stays protected: replacing it by a rename would get round that.
    if (exists && access(target_.c_str(), W_OK) != 0)
        throwFileError(errno, FileAccess::Write, path_);

    bool inPlace = exists && (!S_ISREG(st.st_mode) || st.st_nlink > 1);
    if (exists && !inPlace && st.st_uid != geteuid()) {
        // In a sticky folder (such as /tmp) only the owner may replace the file.
        struct stat folder;
        const std::string f = folderPrefix(target_);
        inPlace = stat(f.empty() ? "." : f.c_str(), &folder) == 0 && (folder.st_mode & S_ISVTX);
    }

    if (!inPlace) {
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            temp_ = tempNameFor(target_);
            fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0 || errno == EEXIST || errno == EINTR) continue;
            const int err = errno;
            temp_.clear();
            if (refusesNewFile(err)) break; // the folder is closed: write in place
            throwFileError(err, FileAccess::Write, path_);
        }
        if (fd_ >= 0 && exists) {
            // The new file takes the place of the old one: give it the same owner and mode.
            // Where the owner cannot be kept, write in place instead.
            if (fchown(fd_, st.st_uid, st.st_gid) != 0) {
                discard();
            } else if (fchmod(fd_, st.st_mode & 07777) != 0) {
                const int err = errno;
                discard();
                throwFileError(err, FileAccess::Write, path_);
            }
        }
    }
    if (fd_ < 0) {
        temp_.clear();
        do
            fd_ = ::open(target_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0) throwFileError(errno, FileAccess::Write, path_);
    }
}

OutputFile::~OutputFile() {
    discard();
}

void OutputFile::discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

void OutputFile::write(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            throwFileError(errno, FileAccess::Write, path_);
        }
        if (n == 0) throwFileError(ENOSPC, FileAccess::Write, path_);
        data += n;
        size -= std::size_t(n);
    }
}

void OutputFile::commit() {
    // Devices and pipes written in place cannot be flushed; that is no failure.
    if (fsync(fd_) != 0 && !(writesInPlace() && errno == EINVAL))
        throwFileError(errno, FileAccess::Write, path_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) throwFileError(errno, FileAccess::Write, path_);
    if (writesInPlace()) return;

    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        throwFileError(errno, FileAccess::Write, path_);
    temp_.clear();
    // Make the rename itself last; the file is in place whatever this says.
    const std::string folder = folderPrefix(target_);
    const int dirFd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)fsync(dirFd);
        ::close(dirFd);
    }
}

} // namespace tablor
