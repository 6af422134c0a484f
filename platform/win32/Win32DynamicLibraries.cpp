// Implements Win32DynamicLibraries: LoadLibraryExW, LoadLibraryW,
// GetProcAddress, FreeLibrary, SetThreadErrorMode, GetModuleFileNameW.
#include "platform/win32/Win32DynamicLibraries.h"

#include <windows.h>

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Process.h"

namespace morix::platform::win32 {

namespace {

class Win32LoadedLibrary final : public LoadedLibrary {
public:
    explicit Win32LoadedLibrary(HMODULE module) : module_(module) {}
    ~Win32LoadedLibrary() override { FreeLibrary(module_); }
    Win32LoadedLibrary(const Win32LoadedLibrary&) = delete;
    Win32LoadedLibrary& operator=(const Win32LoadedLibrary&) = delete;

    void* Symbol(std::string_view name) const override {
        return reinterpret_cast<void*>(GetProcAddress(module_, std::string(name).c_str()));
    }

private:
    HMODULE module_;
};


// No "insert a disk" or "bad image" box while loading.
class QuietErrors {
public:
    QuietErrors() { set_ = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_); }
    ~QuietErrors() {
        if (set_) SetThreadErrorMode(old_, nullptr);
    }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    DWORD old_ = 0;
    BOOL set_ = FALSE;
};

}  // namespace

Win32DynamicLibraries::Win32DynamicLibraries(std::string programFolder)
    : programFolder_(programFolder.empty() ? ExecutableFolder() : Widen(programFolder)) {}

std::unique_ptr<LoadedLibrary> Win32DynamicLibraries::Load(std::string_view fileName) {
    std::wstring name = Widen(fileName);
    if (name.empty()) return nullptr;
    QuietErrors quiet;
    HMODULE module = nullptr;
    bool isPath = name.find_first_of(L"\\/:") != std::wstring::npos;
    if (!isPath && !programFolder_.empty()) {
        std::wstring inFolder = programFolder_;
        if (inFolder.back() != L'\\' && inFolder.back() != L'/') inFolder += L'\\';
        inFolder += name;
        // The library's own dependencies are then looked for beside it too.
        module = LoadLibraryExW(inFolder.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    if (module == nullptr) module = LoadLibraryW(name.c_str());
    return module ? std::make_unique<Win32LoadedLibrary>(module) : nullptr;
}

}  // namespace morix::platform::win32
