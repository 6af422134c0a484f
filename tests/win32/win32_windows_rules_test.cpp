// What Windows does and Wine follows in part: a settings file another
// program holds open without delete sharing, and Windows' own switch for the
// logon entry, written as the system writes it.
#include "Win32TestSupport.h"

#include "platform/HeldFile.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32LogonStart.h"
#include "platform/win32/Win32Process.h"
#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

namespace morix::win32test {
namespace {

using platform::ReplaceResult;
using platform::win32::Win32Clock;
using platform::win32::Win32Files;
using platform::win32::Win32LogonStart;

// Another program's handle on the file, open for reading without delete
// sharing, as a scanner opens what it looks at.
HANDLE HoldOpen(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

TEST(Win32HeldFile, ARenameOverAHeldFileIsHeldAndGoesThroughOnceItIsLetGo) {
    TempFolder dir;
    const std::string path = dir.Write(L"Morix.ini", "[Morix]\r\nA=1\r\n");
    Win32Files files;
    HANDLE holder = HoldOpen(dir.File(L"Morix.ini"));
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(files.TryReplace(path, "[Morix]\r\nA=2\r\n"), ReplaceResult::Held);
    EXPECT_EQ(files.ReadAll(path), "[Morix]\r\nA=1\r\n") << "the old file stays whole";
    EXPECT_FALSE(files.FileExists(path + ".new")) << "no temporary file left";
    CloseHandle(holder);
    EXPECT_EQ(files.TryReplace(path, "[Morix]\r\nA=2\r\n"), ReplaceResult::Done);
    EXPECT_EQ(files.ReadAll(path), "[Morix]\r\nA=2\r\n");
}

TEST(Win32HeldFile, TheSettingsWriteWaitsOutAHolderOf300Ms) {
    TempFolder dir;
    const std::string path = dir.Write(L"Morix.ini", "[Morix]\r\nA=1\r\n");
    Win32Files files;
    Win32Clock clock;
    platform::win32::Win32CodePage codePage;
    int failures = 0;
    const SettingsFile::WriteFailureHandler failed = [&](const std::string&) { ++failures; };
    SettingsFile settings{files, codePage, path, nullptr, &failed, &clock};
    HANDLE holder = HoldOpen(dir.File(L"Morix.ini"));
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::thread release([holder] {
        Sleep(300);
        CloseHandle(holder);
    });
    const ULONGLONG start = GetTickCount64();
    settings.WriteValues({{"A", "2"}, {"B", "3"}});
    const ULONGLONG took = GetTickCount64() - start;
    release.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(settings.ReadInt("A", 0), 2);
    EXPECT_EQ(settings.ReadInt("B", 0), 3);
    EXPECT_GE(took, 250u);
    EXPECT_LT(took, platform::HeldFileWaitMs);

    // Held past the bound: the write fails and the file is as it was.
    holder = HoldOpen(dir.File(L"Morix.ini"));
    settings.WriteValue("A", "4");
    CloseHandle(holder);
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(settings.ReadInt("A", 0), 2);
}

// The switch's key, emptied of this program's value before and after.
struct SwitchValue {
    SwitchValue() { Clear(); }
    ~SwitchValue() { Clear(); }
    static void Clear() {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, Win32LogonStart::SwitchKey, Win32LogonStart::ValueName);
    }
    static void Put(const std::string& bytes) {
        RegSetKeyValueW(HKEY_CURRENT_USER, Win32LogonStart::SwitchKey, Win32LogonStart::ValueName, REG_BINARY,
                        bytes.data(), static_cast<DWORD>(bytes.size()));
    }
};

TEST(Win32LogonSwitch, TheSystemsOffIsReadAndTurnedOnAsTheSystemTurnsItOn) {
    SwitchValue clean;
    Win32LogonStart logon;
    EXPECT_EQ(logon.Switch(), std::nullopt);
    // Task Manager's "無効にする": state 03 and the time it was turned off.
    const std::string off = std::string("\x03\0\0\0\xd4\x0d\x43\x8d\xc8\x3b\xd9\x01", 12);
    SwitchValue::Put(off);
    EXPECT_EQ(logon.Switch(), off);
    EXPECT_TRUE(platform::SwitchedOff(logon.Switch()));
    ASSERT_TRUE(logon.SetSwitch(platform::SwitchedOnValue()));
    BYTE stored[32] = {};
    DWORD type = 0, size = sizeof stored;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, Win32LogonStart::SwitchKey, Win32LogonStart::ValueName, RRF_RT_ANY, &type,
                           stored, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(stored), size), std::string("\x02", 1) + std::string(11, '\0'));
    EXPECT_FALSE(platform::SwitchedOff(logon.Switch()));
}

}  // namespace
}  // namespace morix::win32test

namespace morix::win32test {
namespace {

// Wine runs every program with the rights it asks for and no split token:
// the user's normal run may write what this process may (a folder of the
// user's), and a folder this process cannot write is no concern of the
// question. On Windows an elevated run gets the answer of its linked token.
TEST(Win32ElevatedRun, TheNormalRunMayWriteTheUsersOwnFolder) {
    TempFolder dir;
    platform::win32::Win32Process process;
    std::string folder = platform::win32::Narrow(dir.File(L""));
    folder.pop_back();  // the separator File puts before a name
    EXPECT_TRUE(process.NormalRunMayWrite(folder));
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size);
    CloseHandle(token);
    std::printf("token elevation type: %d\n", static_cast<int>(type));
}

}  // namespace
}  // namespace morix::win32test
