#include "SharedLibrary.h"

#include "ApplicationFolder.h"

#include <algorithm>
#include <cctype>
#include <dlfcn.h>
#include <utility>

namespace platform {

SharedLibrary::~SharedLibrary() {
    unload();
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_lastError(std::move(other.m_lastError)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
    if (this != &other) {
        unload();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_lastError = std::move(other.m_lastError);
    }
    return *this;
}

std::string SharedLibrary::mapLibraryName(const std::string& name) {
    auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    };
    const std::string lowered = lower(name);
    const std::string suffix = ".dll";
    if (lowered.size() <= suffix.size() || lowered.compare(lowered.size() - suffix.size(), suffix.size(), suffix) != 0)
        return name;
    auto slash = name.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
    std::string stem = lowered.substr(folder.size(), lowered.size() - folder.size() - suffix.size());
    return folder + "lib" + stem + ".so";
}

bool SharedLibrary::load(const std::string& name) {
    unload();
    m_lastError.clear();
    const std::string fileName = mapLibraryName(name);
    if (fileName.empty()) {
        m_lastError = "empty library name";
        return false;
    }
    if (fileName.find('/') == std::string::npos) {
        const std::string local = applicationFolder() + fileName;
        if (fileExists(local))
            m_handle = dlopen(local.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (m_handle == nullptr)
        m_handle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr) {
        const char* error = dlerror();
        m_lastError = error != nullptr ? error : "cannot load " + fileName;
        return false;
    }
    return true;
}

void SharedLibrary::unload() {
    if (m_handle != nullptr) {
        dlclose(m_handle);
        m_handle = nullptr;
    }
}

void* SharedLibrary::symbol(const char* name) const {
    if (m_handle == nullptr || name == nullptr)
        return nullptr;
    return dlsym(m_handle, name);
}

} // namespace platform
