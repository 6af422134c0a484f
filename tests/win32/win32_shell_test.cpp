// The open-file dialog and the delete to the recycle bin under Wine, each
// driven from a second thread as the user would answer it: a file name typed
// into the dialog and Enter (the filter's types listed, the starting folder
// searched), the dialog cancelled, the shell's confirmation answered yes. Wine's recycle bin lies in the build tree (wine-env.sh points
// HOME and XDG_DATA_HOME there).
#include "Win32TestSupport.h"

#include "platform/win32/Win32Ui.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace morix::win32test {
namespace {

using platform::win32::Narrow;
using platform::win32::Widen;
using platform::win32::Win32Ui;

struct Found {
    DWORD process;
    HWND dialog = nullptr;
};

BOOL CALLBACK FindOwnDialog(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    wchar_t cls[16] = {};
    GetClassNameW(window, cls, 16);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == found->process && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(window)) {
        found->dialog = window;
        return FALSE;
    }
    return TRUE;
}

// Waits up to `limitMs` for a dialog of this process (a guard, not a measurement).
HWND WaitForDialog(DWORD limitMs = 20000) {
    for (DWORD waited = 0; waited < limitMs; waited += 50) {
        Found found{GetCurrentProcessId()};
        EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&found));
        if (found.dialog != nullptr) return found.dialog;
        Sleep(50);
    }
    return nullptr;
}

// The items of the dialog's file-type list.
std::vector<std::wstring> FileTypes(HWND dialog) {
    std::vector<std::wstring> types;
    HWND list = GetDlgItem(dialog, cmb1);
    const LRESULT n = list != nullptr ? SendMessageW(list, CB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < n; ++i) {
        wchar_t text[128] = {};
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        types.emplace_back(text);
    }
    return types;
}

// Types `name` into the dialog's file name box and presses Enter.
void ChooseFile(HWND dialog, const std::wstring& name) {
    HWND box = GetDlgItem(dialog, edt1);
    if (box == nullptr) box = GetDlgItem(dialog, cmb13);
    SetWindowTextW(box, name.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

class Win32ShellTest : public ::testing::Test {
protected:
    TempFolder folder;
    TestProcess process;
    Win32Ui ui{process};
};

TEST_F(Win32ShellTest, TheFileDialogStartsInTheFolderGivenAndReturnsTheChosenFile) {
    folder.Write(L"20261207.rtf", "{\\rtf1 x}");
    folder.Write(L"other.txt", "x");
    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    std::vector<std::wstring> types;
    std::thread user([&] {
        HWND dialog = WaitForDialog();
        if (dialog == nullptr) return;
        Sleep(300);  // let it fill its lists
        types = FileTypes(dialog);
        ChooseFile(dialog, L"20261207.rtf");  // a bare name: it is looked for in the starting folder
    });
    std::optional<std::string> chosen = ui.ShowOpenFileDialog(nullptr, "備忘録 (*.rtf)|*.rtf|すべてのファイル (*.*)|*.*",
                                                              folder.Utf8File(L""));
    user.join();
    ASSERT_TRUE(chosen.has_value()) << "the dialog was cancelled or never seen";
    EXPECT_EQ(_wcsicmp(Widen(*chosen).c_str(), folder.File(L"20261207.rtf").c_str()), 0) << *chosen;
    EXPECT_EQ(types, (std::vector<std::wstring>{L"備忘録 (*.rtf)", L"すべてのファイル (*.*)"}));
    wchar_t after[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_STREQ(after, before) << "the dialog changed the current folder";
}

TEST_F(Win32ShellTest, ACancelledFileDialogReturnsNothing) {
    std::atomic<bool> seen{false};
    std::thread user([&] {
        HWND dialog = WaitForDialog();
        if (dialog == nullptr) return;
        seen = true;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    auto window = ui.NewWindow(platform::WindowKind::Dialog);
    std::optional<std::string> chosen = ui.ShowOpenFileDialog(window.get(), "*.rtf|*.rtf", folder.Utf8File(L""));
    user.join();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(chosen.has_value());
}

TEST_F(Win32ShellTest, DeleteToRecycleBinMovesTheFileOutOfItsFolderIntoTheBin) {
    const std::wstring name = L"20200101-" + std::to_wstring(GetTickCount()) + L".rtf";
    const std::string path = folder.Write(name, "{\\rtf1 old memo}");
    std::atomic<bool> stop{false};
    std::atomic<int> answered{0};
    // The shell asks before it moves the file (and again should it fall
    // back to deleting for good): every question is answered yes.
    std::thread user([&] {
        while (!stop) {
            Found found{GetCurrentProcessId()};
            EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&found));
            if (found.dialog != nullptr) {
                PostMessageW(found.dialog, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
                ++answered;
                Sleep(300);
            }
            Sleep(30);
        }
    });
    ui.DeleteToRecycleBin(nullptr, path);
    stop = true;
    user.join();
    EXPECT_GE(answered, 1) << "the shell did not ask";
    EXPECT_EQ(GetFileAttributesW(folder.File(name).c_str()), INVALID_FILE_ATTRIBUTES) << "the file is still there";

    // Wine's bin is the freedesktop one under XDG_DATA_HOME.
    wchar_t data[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"XDG_DATA_HOME", data, MAX_PATH) > 0) {
        std::wstring bin = std::wstring(L"Z:") + data + L"/Trash/files/" + name;
        for (wchar_t& c : bin)
            if (c == L'/') c = L'\\';
        EXPECT_NE(GetFileAttributesW(bin.c_str()), INVALID_FILE_ATTRIBUTES) << "not in the bin: " << Narrow(bin);
        DeleteFileW(bin.c_str());
    }
}

}  // namespace
}  // namespace morix::win32test
