#pragma once

#include <string>

namespace platform {

// The folder of the running executable, ending in "/". This is where the
// libraries, the default skin and "PL.ini" live. Any thread.
std::string applicationFolder();

// The process's current working directory, without a trailing "/".
std::string currentDirectory();

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);

} // namespace platform
