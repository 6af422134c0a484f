#include "info/InfoLines.h"

#include "clock/Module1.h"
#include "info/Vitalink.h"
#include "platform/ListBox.h"
#include "platform/SystemInfo.h"

#include <cctype>

namespace morix {

std::string FreeSpaceText(std::uint64_t b, const platform::SystemInfo& system) {
    constexpr double K = 1024.0;
    if (b >= 1000000000ull) return system.FormatNumber(static_cast<double>(b) / (K * K * K), 2) + "GB";
    if (b >= 1000000ull) return system.FormatNumber(static_cast<double>(b) / (K * K), 2) + "MB";
    if (b > 0) return system.FormatNumber(static_cast<double>(b) / K, 2) + "KB";
    return "0";
}

InfoLines::InfoLines(Module1& module, Vitalink& vitalink) : m(module), vitalink_(vitalink) {}

void InfoLines::BuildCpuLine() {
    vitalink_.GetCpuStart();
    // The low byte, unsigned: a load outside 0..100 is shown as it comes.
    const unsigned load = static_cast<std::uint16_t>(vitalink_.GetCpuUsage()) & 0xFF;
    CpuLine = "[CPU稼働率]  " + std::to_string(load) + "%";
}

void InfoLines::BuildResourceLine() {
    std::int16_t system = 0, gdi = 0, user = 0;
    vitalink_.GetVitalink(system, gdi, user);
    const int freePercent = static_cast<std::uint16_t>(system) & 0xFF;
    // In 16 bits: a free figure above 100 gives a negative use, with its sign.
    const std::int16_t use = ToInt16(100 - freePercent);
    ResourceLine = "[ｼｽﾃﾑﾘｿｰｽ使用率]  " + std::to_string(use) + "%";
}

void InfoLines::BuildMemoryLine() {
    MemoryLine = "[メモリー使用率]  " + std::to_string(m.platform.systemInfo.MemoryLoad()) + "%";
}

void InfoLines::BuildPowerLine() {
    const platform::SystemInfo& power = m.platform.systemInfo;
    // Each figure is read only where the line needs it, in this order.
    const int ac = power.ACStatus();
    if (ac == 0) {
        const int percent = power.BatteryLifePercent();
        PowerLine = percent == 255 ? "[バッテリー残量]  不明" : "[バッテリー残量]  " + std::to_string(percent) + "%";
    } else if (ac == 1) {
        const int battery = power.BatteryStatus();
        if (battery == 128) PowerLine = "[AC電源]  バッテリーなし";
        else if (battery > 12) PowerLine = "[AC電源]";
        else PowerLine = "[AC電源]  " + std::to_string(power.BatteryLifePercent()) + "% 充電終了";
    } else {
        PowerLine = "[電源 不明]";
    }
}

void InfoLines::BuildDiskLine(platform::ListBox& drives) {
    const platform::SystemInfo& system = m.platform.systemInfo;
    const std::string roots = system.LogicalDriveStrings();
    // Every ":\" starts one character after a root path's first character.
    for (std::size_t i = 1; i + 1 < roots.size(); ++i) {
        if (roots[i] != ':' || roots[i + 1] != '\\') continue;
        const std::string root = roots.substr(i - 1, 3);
        const platform::DriveKind kind = system.DriveType(root);
        const SettingsFile settings = m.Settings();
        const bool removable = settings.ReadInt(keys::ShowRemovable) == 1;
        const bool fixed = settings.ReadInt(keys::ShowFixed) == 1;
        const bool cd = settings.ReadInt(keys::ShowCd) == 1;
        if ((kind == platform::DriveKind::Removable && removable) || (kind == platform::DriveKind::Fixed && fixed) ||
            (kind == platform::DriveKind::CdRom && cd))
            drives.AddItem(root);
    }
    for (int i = 0; i < drives.Count(); ++i) {
        const std::string root = drives.Item(i);
        const std::optional<std::uint64_t> freeBytes = system.FreeBytes(root);
        if (!freeBytes) continue;
        const std::string item = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])))) +
                                 "=" + FreeSpaceText(*freeBytes, system);
        // Ten spaces put each further drive under the first, past the label.
        DiskLine = DiskLine.empty() ? item : DiskLine + "\r\n" + std::string(10, ' ') + item;
    }
    if (!DiskLine.empty()) DiskLine = "[空容量]  " + DiskLine;
}

void InfoLines::BuildMemoLine() { MemoLine = "[メモ]  " + m.Settings().ReadString(keys::MemoText); }

void InfoLines::LoadZoneLines() { Zones.Load(ReadOtherZones(m.Settings(), m.platform.timeZones), m.platform.timeZones); }

void InfoLines::BuildZoneLines() { Zones.Build(m.platform.codePage, m.platform.timeZones.Now()); }

void InfoLines::Clear() {
    CpuLine.clear();
    ResourceLine.clear();
    MemoryLine.clear();
    PowerLine.clear();
    DiskLine.clear();
    MemoLine.clear();
    Zones.Clear();
}

}  // namespace morix
