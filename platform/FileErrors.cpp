#include "platform/FileErrors.h"

#include "platform/Errors.h"

#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
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

// A link in a folder anyone may write to and only owners may clear (the sticky bit, as /tmp)
// is followed only when it is the user's or the folder owner's, as the system itself does when
// protecting links: else another account could plant it to have a save written over one of the
// user's own files.
void refuseAnotherUsersLink(const std::string& link, const struct stat& st) {
    if (st.st_uid == geteuid()) return;
    const std::string f = folderPrefix(link);
    struct stat folder;
    if (stat(f.empty() ? "." : f.c_str(), &folder) != 0) return;
    constexpr auto shared = S_ISVTX | S_IWOTH;
    if ((folder.st_mode & shared) == shared && st.st_uid != folder.st_uid)
        throw TablorError("Le lien symbolique " + link +
                          " appartient à un autre utilisateur : enregistrement refusé");
}

// The file a path names once every symbolic link on the way to it is followed. A link to a
// file that does not exist yet names that file.
std::string followLinks(const std::string& path) {
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        refuseAnotherUsersLink(p, st);
        std::vector<char> buf(std::size_t(st.st_size) + 256);
        const ssize_t n = readlink(p.c_str(), buf.data(), buf.size());
        if (n < 0) throwFileError(errno, FileAccess::Write, path);
        std::string link(buf.data(), std::size_t(n));
        p = link.starts_with('/') ? link : folderPrefix(p) + link;
    }
    throwFileError(ELOOP, FileAccess::Write, path);
}

// A name for the new file, hidden beside the target, that no other file is likely to have:
// "." + the target's name + "." + eight letters or digits + ".tmp".
constexpr std::string_view TagLetters = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr std::size_t TagSize = 8;

std::string baseNameForTemp(const std::string& target) {
    return target.substr(folderPrefix(target).size()).substr(0, 200);
}

std::string tempNameFor(const std::string& target) {
    static unsigned counter = 0;
    std::uint64_t x = std::uint64_t(getpid()) << 32 ^
                      std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                      std::uint64_t(++counter) * 0x9E3779B97F4A7C15ull;
    std::string tag;
    for (std::size_t i = 0; i < TagSize; ++i, x /= TagLetters.size())
        tag += TagLetters[x % TagLetters.size()];
    return folderPrefix(target) + "." + baseNameForTemp(target) + "." + tag + ".tmp";
}

bool isTempNameFor(std::string_view name, const std::string& base) {
    if (name.size() != base.size() + TagSize + 6 || !name.starts_with('.') ||
        name.substr(1, base.size()) != base || name[base.size() + 1] != '.' ||
        !name.ends_with(".tmp"))
        return false;
    const std::string_view tag = name.substr(base.size() + 2, TagSize);
    return tag.find_first_not_of(TagLetters) == std::string_view::npos;
}

// Removes the new files that earlier saves of the target left under a hidden name when the
// program died before renaming them. A live save keeps a lock on its file, so only files that
// are the user's, named as ours, and locked by no one go.
void removeDeadSavesFiles(const std::string& target) {
    const std::string folder = folderPrefix(target), base = baseNameForTemp(target);
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        if (!isTempNameFor(entry->d_name, base)) continue;
        const int fd =
            openat(dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
            flock(fd, LOCK_EX | LOCK_NB) == 0)
            (void)unlinkat(dirfd(dir), entry->d_name, 0);
        ::close(fd);
    }
    closedir(dir);
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

ReadOpening openRegularFile(const std::string& path) {
    ReadOpening f;
    do
        f.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    while (f.fd < 0 && errno == EINTR);
    if (f.fd < 0) {
        f.error = errno;
        return f;
    }
    struct stat st;
    f.regular = fstat(f.fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!f.regular) {
        ::close(f.fd);
        f.fd = -1;
        return f;
    }
    f.size = std::uint64_t(st.st_size);
    return f;
}

InputFile::InputFile(const std::string& path) : path_(path) {
    const ReadOpening f = openRegularFile(path);
    if (f.error != 0) throwFileError(f.error, FileAccess::Read, path_);
    if (!f.regular) throw TablorError(path + " n'est pas un fichier ordinaire");
    fd_ = f.fd;
    size_ = f.size;
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

std::size_t InputFile::readAt(std::uint64_t offset, char* buffer, std::size_t size) const {
    for (;;) {
        const ssize_t n = ::pread(fd_, buffer, size, off_t(offset));
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
    replaces_ = !inPlace && openNewFile(exists ? &st : nullptr);
    if (!replaces_) openInPlace(exists && S_ISREG(st.st_mode));
}

// Opens the new file that is to take the target's place. False where the folder refuses it.
bool OutputFile::openNewFile(const struct stat* earlier) {
    const std::string folder = folderPrefix(target_);
    do
        fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    while (fd_ < 0 && errno == EINTR);
    unnamed_ = fd_ >= 0;
    // The unnamed file gets its name through /proc; without it, or without unnamed files in
    // this file system, the new file has a hidden name from the start.
    if (unnamed_ && access(("/proc/self/fd/" + std::to_string(fd_)).c_str(), F_OK) != 0) {
        ::close(fd_);
        fd_ = -1;
        unnamed_ = false;
        errno = EOPNOTSUPP;
    }
    if (fd_ < 0 && refusesNewFile(errno)) return false;
    if (fd_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        throwFileError(errno, FileAccess::Write, path_);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = tempNameFor(target_);
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0 || errno == EEXIST || errno == EINTR) continue;
        const int err = errno;
        temp_.clear();
        if (refusesNewFile(err)) return false;
        throwFileError(err, FileAccess::Write, path_);
    }
    if (fd_ < 0) throwFileError(EEXIST, FileAccess::Write, path_);
    // Held until the file is in place: it tells later saves that this one is alive.
    (void)flock(fd_, LOCK_EX | LOCK_NB);
    if (earlier) {
        // The new file takes the place of the old one: give it the same owner and mode.
        // Where the owner cannot be kept, write in place instead.
        if (fchown(fd_, earlier->st_uid, earlier->st_gid) != 0) {
            discard();
            return false;
        }
        if (fchmod(fd_, earlier->st_mode & 07777) != 0) {
            const int err = errno;
            discard();
            throwFileError(err, FileAccess::Write, path_);
        }
    }
    return true;
}

void OutputFile::openInPlace(bool plainFile) {
    // The links were followed already: one appearing now is not followed.
    int fd;
    do
        fd = plainFile ? ::open(target_.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC)
                       : ::open(target_.c_str(),
                                O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) throwFileError(errno, FileAccess::Write, path_);
    if (plainFile)
        inPlace_ = std::make_unique<InPlaceFile>(fd, path_);
    else
        fd_ = fd;
}

OutputFile::~OutputFile() {
    discard();
}

void OutputFile::discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
    inPlace_.reset(); // puts the earlier bytes back
}

void OutputFile::reserve(std::uint64_t size) {
    if (inPlace_) inPlace_->reserve(size);
}

void OutputFile::write(const char* data, std::size_t size) {
    if (inPlace_) return inPlace_->write(data, size);
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            throwFileError(errno, FileAccess::Write, path_);
        }
        if (n == 0) throwFileError(ENOSPC, FileAccess::Write, path_);
        data += n;
        size -= std::size_t(n);
        written_ += std::uint64_t(n);
    }
    // The disk starts on the new file while the rest is being written, so that the flush of
    // the commit has little left to wait for. Only a hint: the commit's flush is what counts.
    if (replaces_ && written_ - writebackFrom_ >= WritebackStep) {
        (void)sync_file_range(fd_, off_t(writebackFrom_), off_t(written_ - writebackFrom_),
                              SYNC_FILE_RANGE_WRITE);
        writebackFrom_ = written_;
    }
}

// Gives the complete unnamed file a hidden name beside the target, for the rename.
void OutputFile::nameUnnamedFile() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0;; ++attempt) {
        const std::string name = tempNameFor(target_);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temp_ = name;
            return;
        }
        if (errno != EEXIST || attempt == 99) throwFileError(errno, FileAccess::Write, path_);
    }
}

void OutputFile::commit() {
    if (inPlace_) {
        inPlace_->commit();
        inPlace_.reset();
        return;
    }
    if (writesInPlace()) {
        // Devices and pipes cannot be flushed; that is no failure.
        if (fsync(fd_) != 0 && errno != EINVAL) throwFileError(errno, FileAccess::Write, path_);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 && errno != EINTR) throwFileError(errno, FileAccess::Write, path_);
        return;
    }
    if (fsync(fd_) != 0) throwFileError(errno, FileAccess::Write, path_);
    if (unnamed_) nameUnnamedFile();
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        throwFileError(errno, FileAccess::Write, path_);
    temp_.clear();
    // Every byte is on the disk already: closing, which lets go of the lock, cannot lose any.
    ::close(fd_);
    fd_ = -1;
    // Make the rename itself last; the file is in place whatever this says.
    const std::string folder = folderPrefix(target_);
    const int dirFd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)fsync(dirFd);
        ::close(dirFd);
    }
    removeDeadSavesFiles(target_);
}

} // namespace tablor
