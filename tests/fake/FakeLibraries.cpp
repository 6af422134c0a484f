#include "tests/fake/FakeLibraries.h"

#include "vitalink/vitalink.h"

namespace morix::test {

FakeVitalinkFigures& VitalinkFigures() {
    static FakeVitalinkFigures figures;
    return figures;
}

namespace {

std::int16_t VITALINK_CALL FakeGetVitalink(std::int16_t* system, std::int16_t* gdi, std::int16_t* user) {
    FakeVitalinkFigures& f = VitalinkFigures();
    ++f.resourceReadings;
    if (f.result < 0) return f.result;
    *system = f.systemFree, *gdi = f.gdiFree, *user = f.userFree;
    return f.result;
}
void VITALINK_CALL FakeGetCpuStart() { ++VitalinkFigures().cpuStarts; }
std::int16_t VITALINK_CALL FakeGetCpuUsage() {
    ++VitalinkFigures().cpuReadings;
    return VitalinkFigures().cpuUsage;
}

class FakeVitalink final : public platform::LoadedLibrary {
public:
    explicit FakeVitalink(const std::set<std::string>& missing) : missing_(missing) {}
    void* Symbol(std::string_view name) const override {
        if (missing_.count(std::string(name))) return nullptr;
        if (name == "GetVitalink") return reinterpret_cast<void*>(&FakeGetVitalink);
        if (name == "GetCpuStart") return reinterpret_cast<void*>(&FakeGetCpuStart);
        if (name == "GetCpuUsage") return reinterpret_cast<void*>(&FakeGetCpuUsage);
        return nullptr;
    }

private:
    std::set<std::string> missing_;
};

}  // namespace

FakeLibraries::FakeLibraries(std::string programFolder) : real_(std::move(programFolder)) {}

std::unique_ptr<platform::LoadedLibrary> FakeLibraries::Load(std::string_view fileName) {
    if (fileName != "vitalink.dll") return real_.Load(fileName);
    if (vitalinkMissing) return nullptr;
    ++vitalinkLoads;
    return std::make_unique<FakeVitalink>(missingFunctions);
}

}  // namespace morix::test
