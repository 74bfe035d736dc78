#include "platform/UserFolders.h"
#include "platform_core/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>

using namespace tablor;

namespace {

EnvironmentLookup environment(std::map<std::string, std::string> vars) {
    return [vars = std::move(vars)](const char* name) -> const char* {
        const auto it = vars.find(name);
        return it == vars.end() ? nullptr : it->second.c_str();
    };
}

} // namespace

// A variable that is set to an absolute path wins; unset, empty or relative ones fall back on
// the home folder.
TEST(UserFolders, FollowTheXdgRules) {
    const auto set = environment({{"HOME", "/home/a"},
                                  {"XDG_CONFIG_HOME", "/cfg"},
                                  {"XDG_CACHE_HOME", "/cache"},
                                  {"XDG_RUNTIME_DIR", "/run/user/1"}});
    EXPECT_EQ(configFolder(set), "/cfg");
    EXPECT_EQ(cacheFolder(set), "/cache");
    EXPECT_EQ(runtimeFolder(set), "/run/user/1");

    const auto unsetOrWrong = environment(
        {{"HOME", "/home/a"}, {"XDG_CONFIG_HOME", ""}, {"XDG_CACHE_HOME", "rel/cache"}});
    EXPECT_EQ(configFolder(unsetOrWrong), "/home/a/.config");
    EXPECT_EQ(cacheFolder(unsetOrWrong), "/home/a/.cache");
    EXPECT_EQ(runtimeFolder(unsetOrWrong), "");

    // Without $HOME, the account's home folder.
    EXPECT_EQ(homeFolder(environment({})).front(), '/');
}

TEST(UserFolders, MakesMissingFoldersForTheOwnerOnly) {
    tablor::testing::TempDir dir;
    const std::string deep = dir.file("a/b/c");
    EXPECT_TRUE(makeUserFolder(deep));
    EXPECT_TRUE(makeUserFolder(deep)); // already there
    struct stat st {};
    ASSERT_EQ(stat(dir.file("a").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    tablor::testing::writeBytes(dir.file("f"), "x");
    EXPECT_FALSE(makeUserFolder(dir.file("f"))); // a file is in the way
}
