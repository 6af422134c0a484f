// The program's binding to the measurement library vitalink: the three
// functions the information lines call, bound by name from the library file
// "vitalink.dll" when they are first called, as a declared DLL function is.
//
// Nothing is loaded when the binding is made. The first call loads the
// library (the platform looks in the program folder, then on the system's
// search path) and each function is looked up by name at its own first call.
// A failure is raised in the calling procedure, and the next call tries again:
// - the library cannot be loaded: error 53 (file not found), naming the file;
// - the library has no such function: error 453, naming the entry point;
// - the library reports that its resource source cannot be opened: the
//   library's own message, "Can't load USER.EXE!" (error 48) or
//   "Can't get address of GetFreeSystemResources!" (error 453).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/DynamicLibrary.h"

namespace morix {

inline constexpr std::string_view VitalinkFileName = "vitalink.dll";

class Vitalink {
public:
    explicit Vitalink(platform::DynamicLibraries& libraries);
    ~Vitalink();
    Vitalink(const Vitalink&) = delete;
    Vitalink& operator=(const Vitalink&) = delete;

    // Stores the free system, GDI and USER resources (percent) in that order
    // and returns the USER percentage.
    std::int16_t GetVitalink(std::int16_t& system, std::int16_t& gdi, std::int16_t& user);
    void GetCpuStart();
    std::int16_t GetCpuUsage();

private:
    void* Bind(void*& slot, std::string_view name);

    platform::DynamicLibraries& libraries_;
    std::unique_ptr<platform::LoadedLibrary> library_;
    void* getVitalink_ = nullptr;
    void* getCpuStart_ = nullptr;
    void* getCpuUsage_ = nullptr;
};

}  // namespace morix
