// libFuzzer target for the settings reader and writer: any bytes as the file.
// Checked: nothing crashes; decoding and encoding give back the same bytes; a
// written value reads back; a write keeps the section's other keys readable.
#include "platform/Files.h"
#include "platform/posix/PosixCodePage.h"
#include "settings/IniText.h"
#include "settings/SettingsFile.h"

#include <cstdint>
#include <cstdlib>
#include <map>

namespace {

class MemoryFiles final : public morix::platform::Files {
public:
    std::optional<std::string> ReadAll(std::string_view p) const override {
        auto it = files.find(std::string(p));
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    morix::platform::ReplaceResult TryReplace(std::string_view p, std::string_view b) override {
        files[std::string(p)] = std::string(b);
        return morix::platform::ReplaceResult::Done;
    }
    bool FileExists(std::string_view p) const override { return files.count(std::string(p)) > 0; }
    bool CanWrite(std::string_view p) const override { return FileExists(p); }
    std::optional<morix::platform::FileStamp> Stamp(std::string_view p) const override {
        auto it = files.find(std::string(p));
        if (it == files.end()) return std::nullopt;
        return morix::platform::FileStamp{it->second.size(), 0};
    }
    bool FolderExists(std::string_view) const override { return true; }
    std::vector<std::string> ListFiles(std::string_view, std::string_view) const override { return {}; }
    std::vector<std::string> ListFolders(std::string_view) const override { return {}; }
    bool CreateFolder(std::string_view) override { return true; }
    bool RemoveFile(std::string_view p) override { return files.erase(std::string(p)) > 0; }
    std::map<std::string, std::string> files;
};

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static morix::platform::PosixCodePage cp;
    std::string raw(reinterpret_cast<const char*>(data), size);
    Check(morix::IniText::Decode(raw).Encode() == raw);

    MemoryFiles files;
    files.files["M.ini"] = raw;
    morix::SettingsFile settings{files, cp, "M.ini"};
    (void)settings.ReadInt(morix::keys::ChimeMode);
    (void)settings.ReadString(morix::keys::MemoText);
    int before = settings.ReadInt(morix::keys::AutoShowMemo);
    std::string design = settings.ReadString(morix::keys::DesignName);

    settings.WriteValue(morix::keys::ExitDate, "20261208");
    Check(settings.ReadInt(morix::keys::ExitDate) == 20261208);
    settings.WriteValue(morix::keys::MemoText, "予定 A");
    Check(settings.ReadString(morix::keys::MemoText) == "予定 A" ||
          morix::IniText::Decode(raw).encoding != morix::IniEncoding::Ansi);
    Check(settings.ReadInt(morix::keys::AutoShowMemo) == before);
    Check(settings.ReadString(morix::keys::DesignName) == design);
    return 0;
}
