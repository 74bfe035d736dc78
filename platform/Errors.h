#pragma once
// The one exception type of the program: a failing file, clipboard or printer operation,
// carrying the text the user sees (UTF-8, without its final full stop). The general error
// handler shows it; nothing else catches it.

#include <stdexcept>
#include <string>

namespace tablor {

class TablorError : public std::runtime_error {
public:
    explicit TablorError(const std::string& message) : std::runtime_error(message) {}
};

// The text of the error box: the message, with a full stop added when its last character
// has a code above that of the full stop, 46 (so "Disque plein" and "Erreur E/S 5" get one, a
// message ending in a full stop, a hyphen or a blank does not).
std::string withFullStop(const std::string& utf8Message);

} // namespace tablor
