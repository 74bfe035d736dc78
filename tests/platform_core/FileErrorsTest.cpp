#include "platform/FileErrors.h"
#include "platform/Errors.h"
#include "platform_core/TempDir.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tablor;
using tablor::testing::FileSizeLimit;
using tablor::testing::readBytes;
using tablor::testing::TempDir;
using tablor::testing::writeBytes;

namespace {

std::string messageOf(auto&& action) {
    try {
        action();
    } catch (const TablorError& e) {
        return e.what();
    }
    return "(no error)";
}

void writeWhole(const std::string& path, const std::string& bytes) {
    OutputFile out(path);
    out.write(bytes.data(), bytes.size());
    out.commit();
}

} // namespace

TEST(FileErrors, MapsErrorNumbersToTheUsersMessages) {
    TempDir dir;
    const std::string inDir = dir.file("x.tbr"), noDir = dir.file("nope/x.tbr");
    EXPECT_EQ(fileErrorMessage(ENOENT, FileAccess::Read, inDir), "Fichier introuvable");
    EXPECT_EQ(fileErrorMessage(ENOENT, FileAccess::Read, noDir), "Nom de fichier incorrect");
    EXPECT_EQ(fileErrorMessage(ENOENT, FileAccess::Write, inDir), "Nom de fichier incorrect");
    EXPECT_EQ(fileErrorMessage(ENOTDIR, FileAccess::Read, inDir), "Nom de fichier incorrect");
    EXPECT_EQ(fileErrorMessage(EMFILE, FileAccess::Read, inDir), "Trop de fichiers ouverts");
    EXPECT_EQ(fileErrorMessage(ENFILE, FileAccess::Write, inDir), "Trop de fichiers ouverts");
    for (int e : {EACCES, EPERM, EROFS, ETXTBSY, EISDIR})
        EXPECT_EQ(fileErrorMessage(e, FileAccess::Write, inDir), "Accès au fichier refusé");
    EXPECT_EQ(fileErrorMessage(ENOSPC, FileAccess::Write, inDir), "Disque plein");
    EXPECT_EQ(fileErrorMessage(EDQUOT, FileAccess::Write, inDir), "Disque plein");
    EXPECT_EQ(fileErrorMessage(EIO, FileAccess::Read, inDir), "Erreur E/S 5");

    // The error box adds a full stop only after a character above the full stop itself.
    EXPECT_EQ(withFullStop("Disque plein"), "Disque plein.");
    EXPECT_EQ(withFullStop("Erreur E/S 5"), "Erreur E/S 5.");
    EXPECT_EQ(withFullStop("Acc\u00e8s refus\u00e9"), "Acc\u00e8s refus\u00e9.");
    for (const char* kept : {"Fin.", "Fin-", "Fin ", "Fin!", ""})
        EXPECT_EQ(withFullStop(kept), kept);
}

TEST(FileErrors, ReadingReportsWhatWentWrong) {
    TempDir dir;
    EXPECT_EQ(messageOf([&] { InputFile f(dir.file("absent.tbr")); }), "Fichier introuvable");
    EXPECT_EQ(messageOf([&] { InputFile f(dir.file("absent/a.tbr")); }),
              "Nom de fichier incorrect");
    writeBytes(dir.file("plain"), "x");
    EXPECT_EQ(messageOf([&] { InputFile f(dir.file("plain/a.tbr")); }), "Nom de fichier incorrect");
}

TEST(OutputFile, ReplacesTheFileOnlyOnCommit) {
    TempDir dir;
    const std::string path = dir.file("t.txt");
    writeBytes(path, "before");
    {
        OutputFile out(path);
        out.write("after", 5);
        EXPECT_EQ(readBytes(path), "before"); // not yet
    }                                         // dropped without commit
    EXPECT_EQ(readBytes(path), "before");
    EXPECT_EQ(dir.entryCount(), 1u);

    writeWhole(path, "after");
    EXPECT_EQ(readBytes(path), "after");
    EXPECT_EQ(dir.entryCount(), 1u);

    // A save cut short by the program's death leaves nothing beside the target.
    const pid_t child = fork();
    if (child == 0) {
        OutputFile out(path);
        out.write("lost", 4);
        _exit(0);
    }
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    EXPECT_EQ(readBytes(path), "after");
    EXPECT_EQ(dir.entryCount(), 1u);

    // Where a dead save's file has a name, the next save removes it; a live save's file (it is
    // locked) and other names stay.
    const std::string dead = dir.file(".t.txt.0dead0aa.tmp"),
                      live = dir.file(".t.txt.1ive0aaa.tmp");
    const std::string others[] = {dir.file(".u.txt.0dead0aa.tmp"), dir.file(".t.txt.0DEAD0AA.tmp"),
                                  dir.file(".t.txt.0dead0aa.tmp~")};
    for (const std::string& f : {dead, live, others[0], others[1], others[2]})
        writeBytes(f, "x");
    const int lock = open(live.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    writeWhole(path, "again");
    close(lock);
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_TRUE(std::filesystem::exists(live));
    for (const std::string& f : others)
        EXPECT_TRUE(std::filesystem::exists(f)) << f;
}

TEST(OutputFile, AFailureInPlacePutsTheEarlierBytesBack) {
    TempDir dir;
    const std::string path = dir.file("t.txt"), twin = dir.file("twin.txt");
    const std::string earlier(30000, 'e'), longer(200000, 'n');
    writeBytes(path, earlier);
    std::filesystem::create_hard_link(path, twin); // so the file is written in place
    {
        FileSizeLimit limit(64 * 1024);
        // Told the size, the save stops before anything is overwritten.
        EXPECT_EQ(messageOf([&] {
                      OutputFile out(path);
                      out.reserve(longer.size());
                  }),
                  "Erreur E/S " + std::to_string(EFBIG));
        EXPECT_TRUE(readBytes(twin) == earlier);
        // Not told, it fails part-way and the earlier bytes come back.
        EXPECT_EQ(messageOf([&] {
                      OutputFile out(path);
                      EXPECT_TRUE(out.writesInPlace());
                      for (std::size_t at = 0; at < longer.size(); at += 7000)
                          out.write(longer.data() + at,
                                    std::min<std::size_t>(7000, longer.size() - at));
                  }),
                  "Erreur E/S " + std::to_string(EFBIG));
        EXPECT_TRUE(readBytes(twin) == earlier);
    }
    // A shorter content dropped before its commit leaves the whole earlier file too.
    {
        OutputFile out(path);
        out.reserve(5);
        out.write("short", 5);
    }
    EXPECT_TRUE(readBytes(twin) == earlier);
    writeWhole(path, "short");
    EXPECT_EQ(readBytes(twin), "short");
    EXPECT_EQ(dir.entryCount(), 2u);
}

TEST(OutputFile, KeepsPermissionsLinksAndHardLinks) {
    TempDir dir;
    const std::string real = dir.file("real.txt");
    writeBytes(real, "old");
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);

    // Through a relative symbolic link in another folder: the link stays a link.
    std::filesystem::create_directory(dir.file("sub"));
    std::filesystem::create_symlink("../real.txt", dir.file("sub/link.txt"));
    writeWhole(dir.file("sub/link.txt"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("sub/link.txt")));
    EXPECT_EQ(readBytes(real), "new");
    struct stat st;
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A file with a second name is written in place, so both names keep showing it.
    std::filesystem::create_hard_link(real, dir.file("twin.txt"));
    writeWhole(real, "newer");
    EXPECT_EQ(readBytes(dir.file("twin.txt")), "newer");

    // A link to a file not there yet creates the file it names.
    std::filesystem::create_symlink("later.txt", dir.file("dangling"));
    writeWhole(dir.file("dangling"), "x");
    EXPECT_EQ(readBytes(dir.file("later.txt")), "x");
}

TEST(OutputFile, FollowsALinkInASharedFolderOnlyFromItsOwners) {
    if (geteuid() != 0) GTEST_SKIP() << "giving a link to another account needs root";
    TempDir dir;
    const std::string secret = dir.file("secret.txt"), shared = dir.file("shared");
    const std::string link = shared + "/evil.tbr";
    writeBytes(secret, "secret");
    std::filesystem::create_directory(shared);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    std::filesystem::create_symlink(secret, link);

    // Another account planted the link in a folder everyone writes to, like /tmp.
    constexpr uid_t Other = 4242;
    ASSERT_EQ(lchown(link.c_str(), Other, Other), 0);
    EXPECT_EQ(messageOf([&] { writeWhole(link, "table"); }),
              "Le lien symbolique " + link +
                  " appartient à un autre utilisateur : enregistrement refusé");
    EXPECT_EQ(readBytes(secret), "secret");
    EXPECT_TRUE(std::filesystem::is_symlink(link));

    // The folder's owner's link is followed, and so is the user's own.
    ASSERT_EQ(chown(shared.c_str(), Other, Other), 0);
    writeWhole(link, "table");
    EXPECT_EQ(readBytes(secret), "table");
    ASSERT_EQ(chown(shared.c_str(), 0, 0), 0);
    ASSERT_EQ(lchown(link.c_str(), 0, 0), 0);
    writeWhole(link, "again");
    EXPECT_EQ(readBytes(secret), "again");
}

TEST(OutputFile, ReportsWritingFailures) {
    TempDir dir;
    EXPECT_EQ(messageOf([&] { writeWhole(dir.file("nope/t.txt"), "x"); }),
              "Nom de fichier incorrect");
    EXPECT_EQ(messageOf([&] { writeWhole(dir.path(), "x"); }), "Accès au fichier refusé");
    EXPECT_EQ(messageOf([&] { writeWhole("", "x"); }), "Nom de fichier incorrect");
    EXPECT_EQ(messageOf([&] { writeWhole("/dev/full", "x"); }), "Disque plein");
    std::filesystem::create_symlink("loop", dir.file("loop"));
    EXPECT_EQ(messageOf([&] { writeWhole(dir.file("loop"), "x"); }), "Nom de fichier incorrect");
}

TEST(OutputFile, RespectsPermissionsForOrdinaryUsers) {
    if (geteuid() == 0) GTEST_SKIP() << "root passes every permission check";
    TempDir dir;
    const std::string path = dir.file("ro.txt");
    writeBytes(path, "keep");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(messageOf([&] { writeWhole(path, "x"); }), "Accès au fichier refusé");
    EXPECT_EQ(readBytes(path), "keep");

    // A folder that takes no new file: the file is written in place.
    const std::string open = dir.file("rw.txt");
    writeBytes(open, "old");
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    writeWhole(open, "new");
    EXPECT_EQ(readBytes(open), "new");
    EXPECT_EQ(messageOf([&] { writeWhole(dir.file("other.txt"), "x"); }),
              "Accès au fichier refusé");
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
}
