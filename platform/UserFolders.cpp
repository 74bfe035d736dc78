#include "platform/UserFolders.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tablor {
namespace {

// The variable's value when it is an absolute path; empty otherwise.
std::string absoluteVariable(const EnvironmentLookup& env, const char* name) {
    const char* value = env(name);
    if (!value || value[0] != '/') return {};
    return value;
}

std::string folderOrHome(const EnvironmentLookup& env, const char* name, const char* underHome) {
    std::string folder = absoluteVariable(env, name);
    if (!folder.empty()) return folder;
    const std::string home = homeFolder(env);
    return home.empty() ? std::string() : home + underHome;
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

const char* processEnvironment(const char* name) {
    return std::getenv(name);
}

std::string homeFolder(const EnvironmentLookup& env) {
    std::string home = absoluteVariable(env, "HOME");
    if (!home.empty()) return home;
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && found->pw_dir[0] == '/')
        return found->pw_dir;
    return {};
}

std::string configFolder(const EnvironmentLookup& env) {
    return folderOrHome(env, "XDG_CONFIG_HOME", "/.config");
}

std::string cacheFolder(const EnvironmentLookup& env) {
    return folderOrHome(env, "XDG_CACHE_HOME", "/.cache");
}

std::string runtimeFolder(const EnvironmentLookup& env) {
    return absoluteVariable(env, "XDG_RUNTIME_DIR");
}

bool makeUserFolder(const std::string& path) {
    if (path.empty()) return false;
    // Each parent in turn, from the root down.
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        if (slash > 0 && path[slash - 1] != '/') ::mkdir(path.substr(0, slash).c_str(), 0700);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    return isFolder(path);
}

} // namespace tablor
