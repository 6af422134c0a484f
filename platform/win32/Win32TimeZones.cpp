#include "platform/win32/Win32TimeZones.h"

#include "platform/win32/Wide.h"

#include <windows.h>

#include <algorithm>

namespace morix::platform::win32 {

namespace {

// A zone's TZI value (REG_TZI_FORMAT, which MinGW's headers lack).
struct ZoneTzi {
    LONG Bias;
    LONG StandardBias;
    LONG DaylightBias;
    SYSTEMTIME StandardDate;
    SYSTEMTIME DaylightDate;
};

constexpr const wchar_t* ZonesKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";

class RegKey {
public:
    RegKey(HKEY root, const std::wstring& path) {
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~RegKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY get() const { return key_; }

    std::wstring String(const wchar_t* name) const {
        wchar_t buffer[256] = {};
        DWORD size = sizeof buffer - sizeof(wchar_t), type = 0;
        if (key_ == nullptr ||
            RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return {};
        return buffer;
    }
    DWORD Number(const wchar_t* name) const {
        DWORD value = 0, size = sizeof value, type = 0;
        if (key_ == nullptr ||
            RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
            type != REG_DWORD)
            return 0;
        return value;
    }
    // The standard bias of a zone's TZI value (minutes, UTC = local + bias).
    LONG Bias() const {
        ZoneTzi tzi{};
        DWORD size = sizeof tzi;
        if (key_ == nullptr || RegQueryValueExW(key_, L"TZI", nullptr, nullptr, reinterpret_cast<BYTE*>(&tzi), &size) !=
                                   ERROR_SUCCESS)
            return 0;
        return tzi.Bias;
    }

private:
    HKEY key_ = nullptr;
};

using EnumZonesFn = DWORD(WINAPI*)(DWORD, PDYNAMIC_TIME_ZONE_INFORMATION);
using LoadMuiFn = LONG(WINAPI*)(HKEY, LPCWSTR, LPWSTR, DWORD, LPDWORD, DWORD, LPCWSTR);

template <typename F>
F Bound(const wchar_t* module, const char* name) {
    HMODULE m = GetModuleHandleW(module);
    if (m == nullptr) m = LoadLibraryW(module);  // kept for the life of the process
    return m == nullptr ? nullptr : reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

std::vector<std::wstring> ZoneKeys() {
    std::vector<std::wstring> keys;
    if (auto enumZones = Bound<EnumZonesFn>(L"advapi32.dll", "EnumDynamicTimeZoneInformation")) {
        DYNAMIC_TIME_ZONE_INFORMATION zone{};
        for (DWORD i = 0; enumZones(i, &zone) == ERROR_SUCCESS; ++i) keys.emplace_back(zone.TimeZoneKeyName);
        if (!keys.empty()) return keys;
    }
    RegKey zones(HKEY_LOCAL_MACHINE, ZonesKey);
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (zones.get() == nullptr || RegEnumKeyExW(zones.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                                          ERROR_SUCCESS)
            break;
        keys.emplace_back(name, length);
    }
    return keys;
}

std::wstring DisplayName(const RegKey& zone) {
    static const auto loadMui = Bound<LoadMuiFn>(L"advapi32.dll", "RegLoadMUIStringW");
    if (loadMui != nullptr && zone.get() != nullptr) {
        wchar_t buffer[256] = {};
        DWORD size = 0;
        if (loadMui(zone.get(), L"MUI_Display", buffer, sizeof buffer - sizeof(wchar_t), &size, 0, nullptr) ==
                ERROR_SUCCESS &&
            buffer[0] != 0)
            return buffer;
    }
    return zone.String(L"Display");
}

class Win32Zone final : public TimeZone {
public:
    explicit Win32Zone(std::wstring key) {
        key.resize(std::min<std::size_t>(key.size(), 127));
        std::copy(key.begin(), key.end(), zone_.TimeZoneKeyName);
    }
    LocalTime At(UtcSeconds instant) const override {
        // FILETIME counts 100 ns from 1601; 11644473600 s lie before 1970.
        const ULONGLONG ticks = static_cast<ULONGLONG>(instant + 11644473600LL) * 10000000ULL;
        FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        SYSTEMTIME utc{}, local{};
        FileTimeToSystemTime(&file, &utc);
        local = utc;
        // The rules of the zone's own year: the year the instant has there,
        // which differs from the UTC year only around the new year.
        if (Convert(utc.wYear, utc, local) && local.wYear != utc.wYear) Convert(local.wYear, utc, local);
        return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
    }
    bool Known() const {
        TIME_ZONE_INFORMATION rules{};
        DYNAMIC_TIME_ZONE_INFORMATION zone = zone_;
        SYSTEMTIME now{};
        GetSystemTime(&now);
        return GetTimeZoneInformationForYear(now.wYear, &zone, &rules) != FALSE;
    }

private:
    bool Convert(WORD year, const SYSTEMTIME& utc, SYSTEMTIME& local) const {
        TIME_ZONE_INFORMATION rules{};
        DYNAMIC_TIME_ZONE_INFORMATION zone = zone_;
        return GetTimeZoneInformationForYear(year, &zone, &rules) &&
               SystemTimeToTzSpecificLocalTime(&rules, &utc, &local);
    }
    DYNAMIC_TIME_ZONE_INFORMATION zone_{};
};

}  // namespace

std::vector<ZoneName> Win32TimeZones::List() const {
    struct Entry {
        LONG bias;
        ZoneName name;
    };
    std::vector<Entry> entries;
    for (const std::wstring& key : ZoneKeys()) {
        RegKey zone(HKEY_LOCAL_MACHINE, std::wstring(ZonesKey) + L"\\" + key);
        const std::wstring display = DisplayName(zone);
        entries.push_back({zone.Bias(), {Narrow(key), Narrow(display.empty() ? key : display)}});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.bias != b.bias ? a.bias > b.bias : a.name.displayName < b.name.displayName;
    });
    std::vector<ZoneName> names;
    for (Entry& e : entries) names.push_back(std::move(e.name));
    return names;
}

std::unique_ptr<TimeZone> Win32TimeZones::Find(std::string_view key) const {
    if (key.empty() || key.size() > 127) return nullptr;
    auto zone = std::make_unique<Win32Zone>(Widen(key));
    if (!zone->Known()) return nullptr;
    return zone;
}

UtcSeconds Win32TimeZones::Now() const {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<UtcSeconds>(ticks / 10000000ULL) - 11644473600LL;
}

std::vector<AdditionalClock> Win32TimeZones::AdditionalClocks() const {
    std::vector<AdditionalClock> clocks;
    for (const wchar_t* n : {L"1", L"2"}) {
        RegKey clock(HKEY_CURRENT_USER, std::wstring(L"Control Panel\\TimeDate\\AdditionalClocks\\") + n);
        if (clock.get() == nullptr || clock.Number(L"Enable") != 1) continue;
        const std::wstring key = clock.String(L"TzRegKeyName");
        if (key.empty()) continue;
        clocks.push_back({Narrow(key), Narrow(clock.String(L"DisplayName"))});
    }
    return clocks;
}

}  // namespace morix::platform::win32
