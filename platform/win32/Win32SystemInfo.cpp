#include "platform/win32/Win32SystemInfo.h"

#include "platform/win32/Wide.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

namespace morix::platform::win32 {

namespace {

// The thread's error mode while it lives: no system box for a drive without
// a medium.
class QuietDriveErrors {
public:
    QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
    ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

private:
    DWORD previous_ = 0;
};

// The drives and their kinds, asked for at every opening of the balloon:
// each question goes to the mount manager, a few milliseconds under Wine,
// for an answer that changes only when a drive comes or goes. Kept until the
// system broadcasts a device change, and for half a minute at most (a
// drive mapped or substituted without a broadcast). The windows' thread
// alone asks.
constexpr ULONGLONG DriveMapLifeMs = 30000;
std::atomic<unsigned> deviceChanges{0};

struct DriveMap {
    bool known = false;
    unsigned changes = 0;
    ULONGLONG askedAt = 0;
    std::wstring roots;
    std::map<std::wstring, UINT> kinds;
};

DriveMap& CurrentDriveMap() {
    static DriveMap map;
    const ULONGLONG now = GetTickCount64();
    const unsigned changes = deviceChanges.load();
    if (map.known && (map.changes != changes || now - map.askedAt >= DriveMapLifeMs)) map = DriveMap{};
    if (!map.known) {
        map.known = true;
        map.changes = changes;
        map.askedAt = now;
    }
    return map;
}

std::wstring AskLogicalDriveStrings() {
    // Room for all 26 drives at the first call.
    DWORD size = 26 * 4;
    for (;;) {
        if (size == 0) return {};
        std::wstring roots(size + 1, L'\0');
        const DWORD n = GetLogicalDriveStringsW(size + 1, roots.data());
        if (n == 0) return {};
        if (n <= size) {
            // The zero after each root stays; the list's own last one not.
            roots.resize(n);
            return roots;
        }
        size = n;  // a drive came meanwhile
    }
}

SYSTEM_POWER_STATUS PowerStatus() {
    SYSTEM_POWER_STATUS status{};
    if (!GetSystemPowerStatus(&status)) {
        status.ACLineStatus = 255;
        status.BatteryFlag = 255;
        status.BatteryLifePercent = 255;
    }
    return status;
}

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback) {
    wchar_t buffer[16] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 16) <= 0) return fallback;
    return buffer;
}

UINT LocaleNumber(LCTYPE type, UINT fallback) {
    DWORD value = 0;
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type | LOCALE_RETURN_NUMBER, reinterpret_cast<wchar_t*>(&value),
                        sizeof value / sizeof(wchar_t)) <= 0)
        return fallback;
    return value;
}

// "1862.645149" to 2 digits: "1862.65". Rounded here, half away from zero,
// on the decimal digits: the system's own rounding forgets the grouping of a
// digit the carry adds (999.995 came out as "1000.00").
std::string RoundedDigits(const std::string& digits, int decimals) {
    const std::size_t point = digits.find('.');
    if (point == std::string::npos) return decimals > 0 ? digits + "." + std::string(decimals, '0') : digits;
    std::string kept = digits.substr(0, point + 1 + static_cast<std::size_t>(decimals));
    const std::size_t next = point + 1 + static_cast<std::size_t>(decimals);
    if (next < digits.size() && digits[next] >= '5') {
        std::size_t i = kept.size();
        for (;;) {
            if (i == 0) {
                kept.insert(0, 1, '1');  // 9.99 -> 10.00
                break;
            }
            char& digit = kept[--i];
            if (digit == '.') continue;
            if (digit == '-') {
                kept.insert(i + 1, 1, '1');  // -9.99 -> -10.00
                break;
            }
            if (digit != '9') {
                ++digit;
                break;
            }
            digit = '0';
        }
    }
    if (decimals == 0) kept.pop_back();  // the point
    return kept;
}

// LOCALE_SGROUPING ("3;0", "3;2;0", "3") as NUMBERFMTW::Grouping (3, 32, 30).
unsigned GroupingFromLocale(const wchar_t* grouping) {
    // "3;0": threes all the way; "3;2;0": 3 then twos; "3": one group of
    // three, then none.
    unsigned value = 0;
    bool repeats = false;
    for (const wchar_t* p = grouping; *p != L'\0'; ++p) {
        if (*p < L'0' || *p > L'9') continue;
        if (*p == L'0' && p[1] == L'\0') {
            repeats = true;
            break;
        }
        value = value * 10 + static_cast<unsigned>(*p - L'0');
    }
    return repeats ? value : value * 10;
}

}  // namespace

int Win32SystemInfo::MemoryLoad() const {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return 0;
    return static_cast<int>(status.dwMemoryLoad);
}

int Win32SystemInfo::ACStatus() const { return PowerStatus().ACLineStatus; }

int Win32SystemInfo::BatteryStatus() const { return PowerStatus().BatteryFlag; }

int Win32SystemInfo::BatteryLifePercent() const { return PowerStatus().BatteryLifePercent; }

void NoteDeviceChange() { deviceChanges.fetch_add(1); }

std::string Win32SystemInfo::LogicalDriveStrings() const {
    DriveMap& map = CurrentDriveMap();
    if (map.roots.empty()) map.roots = AskLogicalDriveStrings();
    return Narrow(map.roots);
}

DriveKind Win32SystemInfo::DriveType(std::string_view root) const {
    DriveMap& map = CurrentDriveMap();
    const std::wstring wide = Widen(root);
    auto known = map.kinds.find(wide);
    if (known == map.kinds.end()) known = map.kinds.emplace(wide, GetDriveTypeW(wide.c_str())).first;
    const UINT type = known->second;
    return type <= DRIVE_RAMDISK ? static_cast<DriveKind>(type) : DriveKind::Unknown;
}

std::optional<std::uint64_t> Win32SystemInfo::FreeBytes(std::string_view root) const {
    ULARGE_INTEGER available{};
    BOOL ok = FALSE;
    {
        QuietDriveErrors quiet;
        ok = GetDiskFreeSpaceExW(Widen(root).c_str(), &available, nullptr, nullptr);
    }
    if (!ok) return std::nullopt;
    return available.QuadPart;
}

std::string Win32SystemInfo::FormatNumber(double value, int decimals) const {
    if (!std::isfinite(value)) return {};
    decimals = std::clamp(decimals, 0, 9);
    // More digits than shown, so that the decimal figure is rounded (2.675
    // to 2.68) rather than the binary one just below it.
    char digits[400] = {};
    std::snprintf(digits, sizeof digits, "%.*f", std::min(decimals + 6, 15), value);
    std::string rounded = RoundedDigits(digits, decimals);
    if (rounded.find_first_not_of("-0.") == std::string::npos && rounded[0] == '-') rounded.erase(0, 1);  // no "-0.00"
    const std::wstring input = Widen(rounded);

    std::wstring decimalSeparator = LocaleText(LOCALE_SDECIMAL, L".");
    std::wstring thousandSeparator = LocaleText(LOCALE_STHOUSAND, L",");
    NUMBERFMTW format{};
    format.NumDigits = static_cast<UINT>(decimals);
    format.LeadingZero = LocaleNumber(LOCALE_ILZERO, 1);
    format.Grouping = GroupingFromLocale(LocaleText(LOCALE_SGROUPING, L"3;0").c_str());
    format.lpDecimalSep = decimalSeparator.data();
    format.lpThousandSep = thousandSeparator.data();
    format.NegativeOrder = LocaleNumber(LOCALE_INEGNUMBER, 1);

    const int n = GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, input.c_str(), &format, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, input.c_str(), &format, out.data(), n);
    out.resize(static_cast<std::size_t>(n - 1));
    return Narrow(out);
}

}  // namespace morix::platform::win32
