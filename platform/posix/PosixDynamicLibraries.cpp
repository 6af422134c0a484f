#include "platform/posix/PosixDynamicLibraries.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>

namespace morix::platform {

namespace {

class PosixLoadedLibrary final : public LoadedLibrary {
public:
    explicit PosixLoadedLibrary(void* handle) : handle_(handle) {}
    ~PosixLoadedLibrary() override { dlclose(handle_); }
    PosixLoadedLibrary(const PosixLoadedLibrary&) = delete;
    PosixLoadedLibrary& operator=(const PosixLoadedLibrary&) = delete;

    void* Symbol(std::string_view name) const override {
        return dlsym(handle_, std::string(name).c_str());
    }

private:
    void* handle_;
};

std::string ExecutableFolder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    std::string path(buf, static_cast<std::size_t>(n));
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool EndsWithDll(std::string_view name) {
    if (name.size() < 4) return false;
    std::string_view ext = name.substr(name.size() - 4);
    return std::equal(ext.begin(), ext.end(), ".dll", [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

}  // namespace

PosixDynamicLibraries::PosixDynamicLibraries(std::string programFolder)
    : programFolder_(programFolder.empty() ? ExecutableFolder() : std::move(programFolder)) {}

std::string PosixDynamicLibraries::NativeFileName(std::string_view fileName) {
    if (!EndsWithDll(fileName) || fileName.size() == 4) return std::string(fileName);
    return "lib" + std::string(fileName.substr(0, fileName.size() - 4)) + ".so";
}

std::unique_ptr<LoadedLibrary> PosixDynamicLibraries::Load(std::string_view fileName) {
    std::string name = NativeFileName(fileName);
    if (name.find('/') != std::string::npos) {
        // A path names one file; nothing else is searched.
        void* h = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
        return h ? std::make_unique<PosixLoadedLibrary>(h) : nullptr;
    }
    if (!programFolder_.empty()) {
        std::string inFolder = programFolder_ + "/" + name;
        if (void* h = dlopen(inFolder.c_str(), RTLD_NOW | RTLD_LOCAL))
            return std::make_unique<PosixLoadedLibrary>(h);
    }
    // A bare name makes dlopen search the system's library path.
    void* h = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    return h ? std::make_unique<PosixLoadedLibrary>(h) : nullptr;
}

}  // namespace morix::platform
