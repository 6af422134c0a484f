// The figures of the information balloon that come from the system: memory
// load, the power state, the drives and their free space, and the standard
// number format of the user's locale. Every call reads afresh.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morix::platform {

enum class DriveKind { Unknown = 0, NoRoot = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // The memory load, percent (0..100).
    virtual int MemoryLoad() const = 0;
    // 0 on battery, 1 on mains, 255 not known.
    virtual int ACStatus() const = 0;
    // Bit flags 1 high, 2 low, 4 critical, 8 charging; 128 no battery; 255 not known.
    virtual int BatteryStatus() const = 0;
    // 0..100, 255 not known.
    virtual int BatteryLifePercent() const = 0;
    // The root paths of the drives in the system's order, each followed by a
    // zero character ("A:\" "\0" "C:\" "\0"), as GetLogicalDriveStrings gives them.
    virtual std::string LogicalDriveStrings() const = 0;
    virtual DriveKind DriveType(std::string_view root) const = 0;
    // The bytes free for the user on the drive, or nothing when it cannot be
    // read (no medium, a drive that went away); never asks the user to
    // insert a disk.
    virtual std::optional<std::uint64_t> FreeBytes(std::string_view root) const = 0;
    // The number in the user's standard format: the locale's thousands
    // separator and decimal point, `decimals` digits after it.
    virtual std::string FormatNumber(double value, int decimals) const = 0;
};

}  // namespace morix::platform
