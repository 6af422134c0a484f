// Implements platform::LogonStart on the value "Morix" of
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run
// (RegOpenKeyExW, RegQueryValueExW, RegSetValueExW as REG_SZ,
// RegDeleteValueW), the key Windows reads at this user's logon, and on the
// REG_BINARY value "Morix" of ...\CurrentVersion\Explorer\StartupApproved\Run,
// Windows' own switch for it.
#pragma once

#include "platform/LogonStart.h"

namespace morix::platform::win32 {

class Win32LogonStart final : public LogonStart {
public:
    static constexpr wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr wchar_t ValueName[] = L"Morix";
    static constexpr wchar_t SwitchKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

    std::optional<std::string> Command() const override;
    bool SetCommand(std::string_view command) override;
    bool Remove() override;
    std::optional<std::string> Switch() const override;
    bool SetSwitch(std::string_view value) override;
};

}  // namespace morix::platform::win32
