// What Windows does and Wine follows in part: a file another program holds
// open without delete sharing, Windows' own switch for the logon entry,
// written as the system writes it, and an elevated run's everyday rights.
// (The settings write that waits out a holder is the end-to-end case of a
// held Morix.ini.)
#include "Win32TestSupport.h"

#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32LogonStart.h"
#include "platform/win32/Win32Process.h"

#include <gtest/gtest.h>


namespace morix::win32test {
namespace {

using platform::ReplaceResult;
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

// Wine gives every program an administrator's full token with a linked
// everyday one, as an elevated run on Windows has: the everyday token's
// rights on a folder of the user's are asked, and they may write there.
TEST(Win32ElevatedRun, TheNormalRunMayWriteTheUsersOwnFolder) {
    TempFolder dir;
    platform::win32::Win32Process process;
    std::string folder = platform::win32::Narrow(dir.File(L""));
    folder.pop_back();  // the separator File puts before a name
    EXPECT_TRUE(process.NormalRunMayWrite(folder));
}

}  // namespace
}  // namespace morix::win32test
