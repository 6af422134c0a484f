// The system's figures under Wine (memory load, power, drives, free space),
// a drive that is not there (no figure and no box asking for a disk), the
// number format of the user's locale, the clock setter refusing a date or a
// time the system does not take (no valid one is ever set here: under Wine
// as root it would move this machine's clock), and the folder operations.
#include "Win32TestSupport.h"

#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32Ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace morix::win32test {
namespace {

using platform::DriveKind;
using platform::SetTimeResult;
using platform::win32::Narrow;
using platform::win32::Win32Ui;
using platform::win32::Win32Clock;
using platform::win32::Win32Files;
using platform::win32::Win32SystemInfo;

std::vector<std::string> Roots(const std::string& list) {
    std::vector<std::string> roots;
    std::size_t start = 0;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == '\0') {
            roots.push_back(list.substr(start, i - start));
            start = i + 1;
        }
    return roots;
}

std::string SystemRoot() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return Narrow(std::wstring(windows, 3));  // "C:\"
}

TEST(Win32SystemInfo, TheFiguresAreTheSystemsAndInRange) {
    Win32SystemInfo info;
    const int load = info.MemoryLoad();
    EXPECT_GE(load, 0);
    EXPECT_LE(load, 100);
    SYSTEM_POWER_STATUS power{};
    ASSERT_TRUE(GetSystemPowerStatus(&power));
    EXPECT_EQ(info.ACStatus(), power.ACLineStatus);
    EXPECT_EQ(info.BatteryStatus(), power.BatteryFlag);
    EXPECT_EQ(info.BatteryLifePercent(), power.BatteryLifePercent);
    EXPECT_TRUE(info.ACStatus() == 0 || info.ACStatus() == 1 || info.ACStatus() == 255);
    EXPECT_TRUE(info.BatteryLifePercent() <= 100 || info.BatteryLifePercent() == 255);
    EXPECT_TRUE(info.BatteryStatus() == 255 || (info.BatteryStatus() & ~(1 | 2 | 4 | 8 | 128)) == 0);
}

TEST(Win32SystemInfo, TheDrivesAreListedWithTheSystemDriveFixedAndItsFreeSpace) {
    Win32SystemInfo info;
    const std::string list = info.LogicalDriveStrings();
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.back(), '\0') << "each root ends in a zero";
    wchar_t own[512] = {};
    const DWORD n = GetLogicalDriveStringsW(512, own);
    EXPECT_EQ(list, Narrow(std::wstring(own, n)));
    const std::vector<std::string> roots = Roots(list);
    for (const std::string& root : roots) {
        EXPECT_EQ(root.size(), 3u) << root;
        EXPECT_EQ(root.substr(1), ":\\") << root;
    }
    const std::string system = SystemRoot();
    EXPECT_NE(std::find(roots.begin(), roots.end(), system), roots.end()) << system;
    EXPECT_EQ(info.DriveType(system), DriveKind::Fixed);
    const std::optional<std::uint64_t> free = info.FreeBytes(system);
    ASSERT_TRUE(free.has_value());
    EXPECT_GT(*free, 0u);
}

// A drive that comes (substituted for a folder) and goes, each time with
// the broadcast the system sends its windows: the list and the kind follow.
TEST(Win32SystemInfo, ADriveThatComesOrGoesIsListedAfterTheDeviceBroadcast) {
    TestProcess process;
    Win32Ui ui{process};
    std::unique_ptr<platform::Window> window = ui.NewWindow(platform::WindowKind::Borderless);
    const HWND hwnd = reinterpret_cast<HWND>(static_cast<std::intptr_t>(window->Handle()));
    Win32SystemInfo info;
    const DWORD used = GetLogicalDrives();
    wchar_t letter = L'Q';
    while (letter <= L'Y' && (used & (1u << (letter - L'A'))) != 0) ++letter;
    ASSERT_LE(letter, L'Y');
    const std::wstring device{letter, L':'};
    const std::string root = Narrow(device) + "\\";
    const auto listed = [&] {
        const std::vector<std::string> roots = Roots(info.LogicalDriveStrings());
        return std::find(roots.begin(), roots.end(), root) != roots.end();
    };
    EXPECT_FALSE(listed());
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    ASSERT_TRUE(DefineDosDeviceW(0, device.c_str(), windows));
    SendMessageW(hwnd, WM_DEVICECHANGE, 0x0007 /* DBT_DEVNODES_CHANGED */, 0);
    EXPECT_TRUE(listed());
    ASSERT_TRUE(DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr));
    SendMessageW(hwnd, WM_DEVICECHANGE, 0x0007, 0);
    EXPECT_FALSE(listed());
}

TEST(Win32SystemInfo, ADriveThatIsNotThereGivesNoFigureAndNoBox) {
    const DWORD present = GetLogicalDrives();
    char letter = 0;
    for (char c = 'Y'; c >= 'D'; --c)
        if (!(present & (1u << (c - 'A')))) {
            letter = c;
            break;
        }
    ASSERT_NE(letter, 0) << "every drive letter is taken";
    const std::string root = std::string(1, letter) + ":\\";
    std::atomic<bool> stop{false}, boxSeen{false};
    std::thread watcher([&] {
        while (!stop) {
            HWND box = FindWindowW(L"#32770", nullptr);
            DWORD pid = 0;
            if (box != nullptr) GetWindowThreadProcessId(box, &pid);
            if (box != nullptr && pid == GetCurrentProcessId()) {
                boxSeen = true;
                PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            }
            Sleep(20);
        }
    });
    Win32SystemInfo info;
    const UINT modeBefore = GetThreadErrorMode();
    EXPECT_FALSE(info.FreeBytes(root).has_value());
    EXPECT_EQ(GetThreadErrorMode(), modeBefore) << "the error mode was not put back";
    EXPECT_EQ(info.DriveType(root), DriveKind::NoRoot);
    PumpFor(200);
    stop = true;
    watcher.join();
    EXPECT_FALSE(boxSeen);
}

TEST(Win32SystemInfo, NumbersTakeTheLocalesSeparatorsAndTheDigitsAsked) {
    wchar_t thousand[8] = {}, point[8] = {};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, thousand, 8);
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, point, 8);
    if (std::wstring(thousand) != L"," || std::wstring(point) != L".")
        GTEST_SKIP() << "these figures are written for a locale of \",\" and \".\" (wine-env.sh sets ja_JP)";
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {2000000000000.0 / (1024.0 * 1024.0 * 1024.0), 2, "1,862.65"},  // 2 TB in gigabytes
        {1234567.891, 1, "1,234,567.9"},
        {999.995, 2, "1,000.00"},
        {2.675, 2, "2.68"},  // the decimal figure, not the binary one below it
        {0.25, 2, "0.25"},
        {1000, 0, "1,000"},
        {12, 3, "12.000"},
        {-1234.5, 2, "-1,234.50"},
        {-9.996, 2, "-10.00"},
        {-0.001, 2, "0.00"},
        {0.5, 0, "1"},
        {99999.5, 0, "100,000"},
    };
    Win32SystemInfo info;
    for (const Case& c : cases) EXPECT_EQ(info.FormatNumber(c.value, c.decimals), c.text) << c.value;
}

// ---- the clock setter ----

long long MinutesNow() {
    SYSTEMTIME now{};
    GetSystemTime(&now);
    FILETIME f{};
    SystemTimeToFileTime(&now, &f);
    ULARGE_INTEGER u{};
    u.LowPart = f.dwLowDateTime;
    u.HighPart = f.dwHighDateTime;
    return static_cast<long long>(u.QuadPart / 600000000ULL);
}

// Whether the process token has the right to set the time enabled.
bool SystemTimeRightEnabled() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    LUID luid{};
    LookupPrivilegeValueW(nullptr, SE_SYSTEMTIME_NAME, &luid);
    PRIVILEGE_SET set{};
    set.PrivilegeCount = 1;
    set.Privilege[0].Luid = luid;
    BOOL enabled = FALSE;
    PrivilegeCheck(token, &set, &enabled);
    CloseHandle(token);
    return enabled != FALSE;
}

TEST(Win32ClockSetter, ADateOrTimeTheSystemRefusesFailsAndChangesNothing) {
    Win32Clock clock;
    const long long before = MinutesNow();
    const bool rightBefore = SystemTimeRightEnabled();
    struct Case {
        const char* what;
        std::function<SetTimeResult()> set;
    };
    // Only values no calendar has: nothing here may set a real time.
    const Case cases[] = {
        {"month 13", [&] { return clock.SetDate(2026, 13, 1); }},
        {"30 February", [&] { return clock.SetDate(2026, 2, 30); }},
        {"day 0", [&] { return clock.SetDate(2026, 5, 0); }},
        {"a negative year", [&] { return clock.SetDate(-1, 1, 1); }},
        {"hour 25", [&] { return clock.SetTimeOfDay(25, 0, 0); }},
        {"minute 61", [&] { return clock.SetTimeOfDay(12, 61, 0); }},
        {"second 60", [&] { return clock.SetTimeOfDay(12, 0, 60); }},
    };
    for (const Case& c : cases) EXPECT_EQ(c.set(), SetTimeResult::Failed) << c.what;
    EXPECT_LE(std::llabs(MinutesNow() - before), 1) << "the clock moved";
    EXPECT_EQ(SystemTimeRightEnabled(), rightBefore) << "the right to set the time was left changed";
}

// ---- folders ----

TEST(Win32Folders, OnlyVisibleSubFoldersAreListed) {
    TempFolder folder;
    for (const wchar_t* name : {L"Tidewalk", L"夕凪", L"hidden", L"system"}) CreateDirectoryW(folder.File(name).c_str(), nullptr);
    SetFileAttributesW(folder.File(L"hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    SetFileAttributesW(folder.File(L"system").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY);
    folder.Write(L"file.txt", "x");
    Win32Files files;
    std::vector<std::string> names = files.ListFolders(folder.Utf8File(L""));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Tidewalk", "夕凪"}));
    EXPECT_TRUE(files.ListFolders(folder.Utf8File(L"none")).empty());
    for (const wchar_t* name : {L"Tidewalk", L"夕凪", L"hidden", L"system"}) {
        SetFileAttributesW(folder.File(name).c_str(), FILE_ATTRIBUTE_DIRECTORY);
        RemoveDirectoryW(folder.File(name).c_str());
    }
}

TEST(Win32Folders, CreateFolderNeedsItsParentAndTakesAnExistingFolder) {
    TempFolder folder;
    Win32Files files;
    folder.Write(L"taken", "x");
    struct Case {
        const wchar_t* name;
        bool made;
    };
    const Case cases[] = {{L"Tickdata", true}, {L"Tickdata", true}, {L"no\\such", false}, {L"taken", false}};
    for (const Case& c : cases)
        EXPECT_EQ(files.CreateFolder(folder.Utf8File(c.name)), c.made) << Narrow(c.name);
    EXPECT_TRUE(files.FolderExists(folder.Utf8File(L"Tickdata")));
    RemoveDirectoryW(folder.File(L"Tickdata").c_str());
}

TEST(Win32Folders, AnEmptySuffixListsEveryOrdinaryFile) {
    TempFolder folder;
    folder.Write(L"a.rtf", "x");
    folder.Write(L"b.txt", "x");
    folder.Write(L"noext", "x");
    folder.Write(L"secret.rtf", "x");
    SetFileAttributesW(folder.File(L"secret.rtf").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryW(folder.File(L"sub").c_str(), nullptr);
    Win32Files files;
    std::vector<std::string> all = files.ListFiles(folder.Utf8File(L""), "");
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<std::string>{"a.rtf", "b.txt", "noext"}));
    EXPECT_EQ(files.ListFiles(folder.Utf8File(L""), ".RTF"), (std::vector<std::string>{"a.rtf"}));
    SetFileAttributesW(folder.File(L"secret.rtf").c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.File(L"sub").c_str());
}

// The watch on the program folder: each way another program may change the
// settings file there is a change, a file moved in from another folder too.
TEST(Win32Folders, TheWatchSeesEachWayTheSettingsFileIsChanged) {
    struct Case {
        const char* how;
        bool renamed, elsewhere;  // renamed from a file written in another folder
    };
    for (const Case c : {Case{"written in place", false, false}, Case{"renamed over the file", true, false},
                         Case{"written in another folder, moved over the file", true, true}}) {
        TempFolder folder, other;
        folder.Write(L"Morix.ini", "[Morix]\r\n");
        std::string path = folder.Utf8File(L"");
        path.pop_back();
        Win32Files files;
        const auto watch = files.WatchFolder(path);
        ASSERT_NE(watch, nullptr) << c.how;
        const TempFolder& writtenIn = c.elsewhere ? other : folder;
        writtenIn.Write(c.renamed ? L"edited.tmp" : L"Morix.ini", "[Morix]\r\nA=1\r\n");
        if (c.renamed)
            ASSERT_TRUE(MoveFileExW(writtenIn.File(L"edited.tmp").c_str(), folder.File(L"Morix.ini").c_str(),
                                    MOVEFILE_REPLACE_EXISTING)) << c.how;
        // The watch's thread raises the flag; the limit only guards against a hang.
        EXPECT_TRUE(PumpUntil([&] { return watch->Changed(); }, 5000)) << c.how;
    }
}

}  // namespace
}  // namespace morix::win32test
