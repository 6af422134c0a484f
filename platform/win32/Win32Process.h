// Implements platform::Process: the executable and its folder from
// GetModuleFileNameW, the user's data folders from SHGetKnownFolderPath
// (FOLDERID_LocalAppData, FOLDERID_RoamingAppData),
// the single-instance test through the named mutex
// "Local\Morix.SingleInstance" (CreateMutexW, ERROR_ALREADY_EXISTS; the
// mutex is held until the process ends), RegisterApplicationRestart (no
// command line; RESTART_NO_CRASH | RESTART_NO_HANG), ExitProcess, and for an
// elevated process (TokenElevationType full) the user's everyday rights on a
// folder: AccessCheck of FILE_ADD_FILE with its linked token against the
// folder's security (GetFileSecurityW).
#pragma once

#include "platform/Process.h"
#include "platform/win32/Wide.h"

#include <optional>

namespace morix::platform::win32 {

// The executable's full path, and the folder that holds it without a
// trailing separator.
std::wstring ExecutableFile();
std::wstring ExecutableFolder();

class Win32Process final : public Process {
public:
    static constexpr wchar_t MutexName[] = L"Local\\Morix.SingleInstance";

    std::string ProgramFolder() const override;
    std::string ExecutablePath() const override;
    std::string LocalDataFolder() const override;
    std::string RoamingDataFolder() const override;
    bool AnotherInstanceRunning() override;
    void RegisterForRestart() override;
    bool NormalRunMayWrite(std::string_view folder) const override;
    [[noreturn]] void Exit(int code) override;

private:
    std::optional<Handle> mutex_;  // held for the life of the process
    std::optional<bool> another_;
};

}  // namespace morix::platform::win32
