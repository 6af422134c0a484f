// Dynamic libraries of the simulated system: "vitalink.dll" is a stand-in
// whose figures the tests set (or that is missing, or lacks a function);
// every other library is loaded for real.
#pragma once

#include "platform/posix/PosixDynamicLibraries.h"

#include <cstdint>
#include <set>
#include <string>

namespace morix::test {

// The figures the stand-in returns; one set for the process, as the
// library's functions are plain C functions.
struct FakeVitalinkFigures {
    std::int16_t systemFree = 73, gdiFree = 80, userFree = 73;
    std::int16_t result = 73;  // GetVitalink's result (a VITALINK_SOURCE_* code makes it fail)
    std::int16_t cpuUsage = 12;
    int cpuStarts = 0, cpuReadings = 0, resourceReadings = 0;
};
FakeVitalinkFigures& VitalinkFigures();

class FakeLibraries final : public platform::DynamicLibraries {
public:
    explicit FakeLibraries(std::string programFolder);
    std::unique_ptr<platform::LoadedLibrary> Load(std::string_view fileName) override;

    bool vitalinkMissing = false;
    std::set<std::string> missingFunctions;
    int vitalinkLoads = 0;

private:
    platform::PosixDynamicLibraries real_;
};

}  // namespace morix::test
