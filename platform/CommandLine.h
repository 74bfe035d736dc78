#pragma once
// The options that answer on the terminal instead of starting the program: -h/--help prints
// the usage and -V/--version the version. The first argument is otherwise the table to open,
// so a word is taken as an option only when no file of that name exists. Qt-free.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tablor {

using FileExists = std::function<bool(const std::string&)>;
bool fileExists(const std::string& path);

// The text to print before exiting with status 0, or nothing when the program starts as usual.
// `arguments` excludes the program's own name.
std::optional<std::string> commandLineAnswer(const std::vector<std::string>& arguments,
                                             const FileExists& exists = fileExists);

} // namespace tablor
