#pragma once

#include <stdexcept>
#include <string>

// Every failure of the player control component: the library cannot be
// loaded or lacks an entry point, its version does not match, or the engine
// refuses to start a player. The text is the one shown to the user.
class EXaudioException : public std::runtime_error {
public:
    explicit EXaudioException(const std::string& message) : std::runtime_error(message) {}
};
