// Shared objects for the native build, through dlopen/dlsym.
//
// The program asks for its libraries by their Windows file names; here a name
// "x.dll" stands for the shared object "libx.so" (so "vitalink.dll" loads
// libvitalink.so), which is where the native build puts the same library.
#pragma once

#include "platform/DynamicLibrary.h"

#include <string>

namespace morix::platform {

class PosixDynamicLibraries final : public DynamicLibraries {
public:
    // `programFolder` is searched first; empty means the folder of the
    // running executable.
    explicit PosixDynamicLibraries(std::string programFolder = {});

    std::unique_ptr<LoadedLibrary> Load(std::string_view fileName) override;

    // "x.dll" -> "libx.so"; any other name is kept.
    static std::string NativeFileName(std::string_view fileName);

private:
    std::string programFolder_;
};

}  // namespace morix::platform
