// Implements platform::SystemInfo: the memory load from
// GlobalMemoryStatusEx, the power state from GetSystemPowerStatus (read
// afresh on every call), the drives from GetLogicalDriveStringsW and
// GetDriveTypeW, the bytes free for this user from GetDiskFreeSpaceExW (with
// SetThreadErrorMode SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX for the
// call, so an empty card reader or disc drive never asks for a disk), and the
// number format from GetNumberFormatEx with the user's own grouping,
// separators, leading zero and negative order (GetLocaleInfoEx) but the
// digits after the point the program asks for.
#pragma once

#include "platform/SystemInfo.h"

namespace morix::platform::win32 {

// The system broadcast a device change (a drive came or went): the drives
// are asked for again at the next call. The windows call it on
// WM_DEVICECHANGE.
void NoteDeviceChange();

class Win32SystemInfo final : public SystemInfo {
public:
    int MemoryLoad() const override;
    int ACStatus() const override;
    int BatteryStatus() const override;
    int BatteryLifePercent() const override;
    std::string LogicalDriveStrings() const override;
    DriveKind DriveType(std::string_view root) const override;
    std::optional<std::uint64_t> FreeBytes(std::string_view root) const override;
    std::string FormatNumber(double value, int decimals) const override;
};

}  // namespace morix::platform::win32
