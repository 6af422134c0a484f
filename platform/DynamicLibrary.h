// Loading a shared library by name at run time and binding its functions by
// name (LoadLibrary/GetProcAddress on Windows, dlopen/dlsym natively).
#pragma once

#include <memory>
#include <string_view>

namespace morix::platform {

class LoadedLibrary {
public:
    virtual ~LoadedLibrary() = default;
    // The address of an exported function, or nullptr when there is none.
    virtual void* Symbol(std::string_view name) const = 0;
};

class DynamicLibraries {
public:
    virtual ~DynamicLibraries() = default;
    // Tries the program folder first, then the system's search path;
    // nullptr when the library cannot be loaded.
    virtual std::unique_ptr<LoadedLibrary> Load(std::string_view fileName) = 0;
};

}  // namespace morix::platform
