// Implements platform::DynamicLibraries and platform::LoadedLibrary with
// LoadLibraryExW (the program folder first, by full path), LoadLibraryW (the
// system's search path), GetProcAddress and FreeLibrary. SetThreadErrorMode
// keeps a missing or broken file from raising a system message box: the
// caller reports the failure itself.
#pragma once

#include "platform/DynamicLibrary.h"

#include <string>

namespace morix::platform::win32 {

class Win32DynamicLibraries final : public DynamicLibraries {
public:
    // `programFolder` (UTF-8) is searched first; empty means the folder of the
    // running executable.
    explicit Win32DynamicLibraries(std::string programFolder = {});

    std::unique_ptr<LoadedLibrary> Load(std::string_view fileName) override;

private:
    std::wstring programFolder_;
};

}  // namespace morix::platform::win32
