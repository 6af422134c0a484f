// The system's zones: each side of the daylight-saving changes from the
// system's own yearly rules, the list with display names, a key the system
// lacks, and the additional clocks of Windows' date and time settings.
#include "platform/win32/Win32TimeZones.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

using morix::platform::LocalTime;
using morix::platform::UtcSeconds;
using morix::platform::win32::Win32TimeZones;

UtcSeconds Utc(int y, int mo, int d, int h, int mi) {
    SYSTEMTIME t{};
    t.wYear = WORD(y), t.wMonth = WORD(mo), t.wDay = WORD(d), t.wHour = WORD(h), t.wMinute = WORD(mi);
    FILETIME f{};
    SystemTimeToFileTime(&t, &f);
    const ULONGLONG ticks = (ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    return UtcSeconds(ticks / 10000000ULL) - 11644473600LL;
}

TEST(Win32TimeZones, EachSideOfTheChangesByTheSystemsRules) {
    struct Row {
        const char* zone;
        UtcSeconds utc;
        LocalTime local;
    };
    const Row rows[] = {
        {"Eastern Standard Time", Utc(2026, 3, 8, 6, 59), {2026, 3, 8, 1, 59, 0}},
        {"Eastern Standard Time", Utc(2026, 3, 8, 7, 0), {2026, 3, 8, 3, 0, 0}},
        {"Eastern Standard Time", Utc(2026, 11, 1, 5, 59), {2026, 11, 1, 1, 59, 0}},
        {"Eastern Standard Time", Utc(2026, 11, 1, 6, 0), {2026, 11, 1, 1, 0, 0}},
        {"W. Europe Standard Time", Utc(2026, 3, 29, 0, 59), {2026, 3, 29, 1, 59, 0}},
        {"W. Europe Standard Time", Utc(2026, 3, 29, 1, 0), {2026, 3, 29, 3, 0, 0}},
        {"W. Europe Standard Time", Utc(2026, 10, 25, 0, 59), {2026, 10, 25, 2, 59, 0}},
        {"W. Europe Standard Time", Utc(2026, 10, 25, 1, 0), {2026, 10, 25, 2, 0, 0}},
        {"AUS Eastern Standard Time", Utc(2026, 4, 4, 15, 59), {2026, 4, 5, 2, 59, 0}},
        {"AUS Eastern Standard Time", Utc(2026, 4, 4, 16, 0), {2026, 4, 5, 2, 0, 0}},
        {"AUS Eastern Standard Time", Utc(2026, 12, 31, 13, 30), {2027, 1, 1, 0, 30, 0}},
        {"India Standard Time", Utc(2026, 12, 9, 2, 36), {2026, 12, 9, 8, 6, 0}},
        {"Nepal Standard Time", Utc(2026, 12, 9, 2, 36), {2026, 12, 9, 8, 21, 0}},
    };
    Win32TimeZones zones;
    for (const Row& row : rows) {
        auto zone = zones.Find(row.zone);
        ASSERT_NE(zone, nullptr) << row.zone;
        EXPECT_EQ(zone->At(row.utc), row.local) << row.zone << " at " << row.utc;
    }
    EXPECT_EQ(zones.Find("No Such Standard Time"), nullptr);
}

TEST(Win32TimeZones, TheListNamesEveryZoneWestToEast) {
    const auto list = Win32TimeZones().List();
    auto at = [&](const char* key) {
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].key == key) return int(i);
        return -1;
    };
    ASSERT_GE(at("Eastern Standard Time"), 0);
    EXPECT_LT(at("Eastern Standard Time"), at("India Standard Time"));
    EXPECT_LT(at("India Standard Time"), at("AUS Eastern Standard Time"));
    for (const auto& zone : list) EXPECT_FALSE(zone.displayName.empty()) << zone.key;
}

TEST(Win32TimeZones, TheAdditionalClocksSwitchedOn) {
    const wchar_t* root = L"Control Panel\\TimeDate\\AdditionalClocks";
    auto put = [&](const wchar_t* n, DWORD enable, const wchar_t* key, const wchar_t* label) {
        HKEY k = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(root) + L"\\" + n).c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(k, L"Enable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof enable);
        RegSetValueExW(k, L"TzRegKeyName", 0, REG_SZ, reinterpret_cast<const BYTE*>(key),
                       DWORD((wcslen(key) + 1) * sizeof(wchar_t)));
        RegSetValueExW(k, L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(label),
                       DWORD((wcslen(label) + 1) * sizeof(wchar_t)));
        RegCloseKey(k);
    };
    put(L"1", 0, L"Tokyo Standard Time", L"東京");
    put(L"2", 1, L"Eastern Standard Time", L"ニューヨーク");
    const auto clocks = Win32TimeZones().AdditionalClocks();
    RegDeleteTreeW(HKEY_CURRENT_USER, root);
    ASSERT_EQ(clocks.size(), 1u);
    EXPECT_EQ(clocks[0].key, "Eastern Standard Time");
    EXPECT_EQ(clocks[0].label, "ニューヨーク");
    EXPECT_TRUE(Win32TimeZones().AdditionalClocks().empty());
}

}  // namespace
