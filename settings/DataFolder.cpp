#include "settings/DataFolder.h"

namespace morix {

namespace {

constexpr std::string_view IniName = "\\Morix.ini";

bool TakesAFile(platform::Files& files, const std::string& folder) {
    const std::string trial = folder + "\\~Morix-write-test.tmp";
    if (!files.ReplaceAtomically(trial, "")) return false;
    return files.RemoveFile(trial);
}

}  // namespace

std::string ChooseDataFolder(platform::Files& files, std::string_view programFolder, std::string_view userFolder,
                             const std::function<bool(std::string_view folder)>& normalRunMayWrite) {
    const std::string program(programFolder);
    const std::string presetIni = program + std::string(IniName);
    const bool hasIni = files.FileExists(presetIni);
    // Asked before the trial file: an elevated run makes none where the
    // normal run could not.
    const bool normalRunTakes = !normalRunMayWrite || normalRunMayWrite(program);
    if (normalRunTakes && (!hasIni || files.CanWrite(presetIni)) && TakesAFile(files, program)) return program;
    if (userFolder.empty()) return program;

    const std::string data = std::string(userFolder) + "\\Morix";
    files.CreateFolder(data);
    const std::string userIni = data + std::string(IniName);
    if (hasIni && !files.FileExists(userIni)) {
        if (std::optional<std::string> preset = files.ReadAll(presetIni)) files.ReplaceAtomically(userIni, *preset);
    }
    return data;
}

}  // namespace morix
