// The six lines of the information balloon. Each procedure measures, formats
// and leaves its line in its variable; the balloon and its refresh only read
// them. A failure (the measurement library missing, say) is raised to the
// caller.
#pragma once

#include "info/ZoneLines.h"

#include <cstdint>
#include <string>

namespace morix {

class Module1;
class Vitalink;
namespace platform {
class ListBox;
class SystemInfo;
}  // namespace platform

// The size text of a drive's free bytes: thresholds in powers of ten,
// divisors in powers of 1024, the user's standard number format with two
// decimals ("0.93GB", "953.67MB", "976.56KB"); "0" for no free byte.
std::string FreeSpaceText(std::uint64_t freeBytes, const platform::SystemInfo& system);

class InfoLines {
public:
    InfoLines(Module1& module, Vitalink& vitalink);

    void BuildCpuLine();
    void BuildResourceLine();
    void BuildMemoryLine();
    void BuildPowerLine();
    // Lists the drives to measure in `drives` (the balloon's List1), then
    // measures each; drives that cannot be read give no item.
    void BuildDiskLine(platform::ListBox& drives);
    void BuildMemoLine();
    // The other zones: looked up when the balloon opens, their lines built
    // again at every refresh.
    void LoadZoneLines();
    void BuildZoneLines();
    // Empties every line, as the balloon's closing does.
    void Clear();

    std::string CpuLine;
    std::string ResourceLine;
    std::string MemoryLine;
    std::string PowerLine;
    std::string DiskLine;
    std::string MemoLine;
    ZoneLines Zones;

private:
    Module1& m;
    Vitalink& vitalink_;
};

}  // namespace morix
