#pragma once

#include <string>

namespace platform {

// A shared library loaded by the file name the rest of the system uses.
// Names ending in ".dll" (any case) are mapped to "lib" + lower-case stem +
// ".so" ("xaudio.dll" -> "libxaudio.so"); other names are used as given.
// The application folder is searched first, then the system's search path.
// Owns the handle: the library is unloaded when the object goes away.
class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;

    // Loads the library; false (and an error text in lastError) when it fails.
    bool load(const std::string& name);
    void unload();
    bool isLoaded() const { return m_handle != nullptr; }
    // The address of an exported symbol, or nullptr.
    void* symbol(const char* name) const;
    // Points `function` at the exported function `name` (nullptr when the
    // library lacks it); true when found.
    template <typename Function> bool bind(const char* name, Function& function) const {
        function = reinterpret_cast<Function>(symbol(name));
        return function != nullptr;
    }
    const std::string& lastError() const { return m_lastError; }

    static std::string mapLibraryName(const std::string& name);

private:
    void* m_handle = nullptr;
    std::string m_lastError;
};

} // namespace platform
