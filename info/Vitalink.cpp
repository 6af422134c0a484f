#include "info/Vitalink.h"

#include "base/RuntimeError.h"
#include "vitalink/vitalink.h"

namespace morix {

namespace {

// The library's messages for a resource source it cannot open.
constexpr const char* kCannotLoadUser = "Can't load USER.EXE!";
constexpr const char* kNoFreeSystemResources = "Can't get address of GetFreeSystemResources!";

void RaiseIfSourceFailed(std::int16_t result) {
    if (result == VITALINK_SOURCE_NOT_LOADED) throw RuntimeError(err::DllLoad, kCannotLoadUser, 0);
    if (result == VITALINK_SOURCE_NO_PROCEDURE)
        throw RuntimeError(err::DllEntryNotFound, kNoFreeSystemResources, 0);
}

template <typename Proc>
Proc As(void* address) {
    return reinterpret_cast<Proc>(address);
}

}  // namespace

Vitalink::Vitalink(platform::DynamicLibraries& libraries) : libraries_(libraries) {}

Vitalink::~Vitalink() = default;

void* Vitalink::Bind(void*& slot, std::string_view name) {
    if (slot != nullptr) return slot;
    if (library_ == nullptr) {
        library_ = libraries_.Load(VitalinkFileName);
        if (library_ == nullptr) Raise(err::FileNotFound, VitalinkFileName);
    }
    slot = library_->Symbol(name);
    if (slot == nullptr) Raise(err::DllEntryNotFound, name);
    return slot;
}

std::int16_t Vitalink::GetVitalink(std::int16_t& system, std::int16_t& gdi, std::int16_t& user) {
    auto proc = As<GetVitalinkProc>(Bind(getVitalink_, "GetVitalink"));
    // The library writes only on success; the caller's variables keep their
    // values when it fails.
    std::int16_t s = system, g = gdi, u = user;
    std::int16_t result = proc(&s, &g, &u);
    RaiseIfSourceFailed(result);
    system = s;
    gdi = g;
    user = u;
    return result;
}

void Vitalink::GetCpuStart() { As<GetCpuStartProc>(Bind(getCpuStart_, "GetCpuStart"))(); }

std::int16_t Vitalink::GetCpuUsage() { return As<PercentProc>(Bind(getCpuUsage_, "GetCpuUsage"))(); }

}  // namespace morix
