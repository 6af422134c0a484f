// Implements platform::TimeZones over the system's zone data. The list is
// EnumDynamicTimeZoneInformation's (advapi32, bound at run time: Windows 7
// lacks it), or the subkeys of HKLM\...\Time Zones where it is missing; each
// zone's display name is its key's MUI_Display (RegLoadMUIStringW, so a
// Japanese Windows gives Japanese names), else its Display value; the order
// is by the standard offset in its TZI value, then by display name, as the
// system's own settings list them. A zone's time is
// GetTimeZoneInformationForYear (the zone's rules for that year, its
// "Dynamic DST" entries included) and SystemTimeToTzSpecificLocalTime: the
// same result as SystemTimeToTzSpecificLocalTimeEx, which Wine leaves a stub.
// The additional clocks are HKCU\Control Panel\TimeDate\AdditionalClocks\1
// and \2 (Enable, TzRegKeyName, DisplayName).
#pragma once

#include "platform/TimeZones.h"

namespace morix::platform::win32 {

class Win32TimeZones final : public TimeZones {
public:
    std::vector<ZoneName> List() const override;
    std::unique_ptr<TimeZone> Find(std::string_view key) const override;
    UtcSeconds Now() const override;
    std::vector<AdditionalClock> AdditionalClocks() const override;
};

}  // namespace morix::platform::win32
