#pragma once
// The user's own folders, as the XDG base directory rules name them: a variable that is unset,
// empty or not an absolute path counts as missing and its default under the home folder is
// used. The environment is read through a lookup so that callers and tests can give their own.
// Qt-free.

#include <functional>
#include <string>

namespace tablor {

// Returns the variable's value, or null when it is not set (std::getenv's contract).
using EnvironmentLookup = std::function<const char*(const char*)>;
// The process's own environment.
const char* processEnvironment(const char* name);

// $HOME, else the home folder of the user's account; empty when neither is known.
std::string homeFolder(const EnvironmentLookup& env = processEnvironment);
// $XDG_CONFIG_HOME, else ~/.config; empty when no home is known.
std::string configFolder(const EnvironmentLookup& env = processEnvironment);
// $XDG_CACHE_HOME, else ~/.cache; empty when no home is known.
std::string cacheFolder(const EnvironmentLookup& env = processEnvironment);
// $XDG_RUNTIME_DIR; empty when it is missing (it has no default).
std::string runtimeFolder(const EnvironmentLookup& env = processEnvironment);

// Creates the folder and any missing parents, each new one readable by its owner only (0700),
// as the rules ask of the user's folders. True when the folder exists at the end.
bool makeUserFolder(const std::string& path);

} // namespace tablor
