// The pop-up menu and the message box under Wine, and the event guard that
// turns an error no procedure handled into the run-time's standard message.
#include "Win32TestSupport.h"

#include "base/RuntimeError.h"
#include "platform/EventGuard.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32Ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <thread>

namespace morix::win32test {
namespace {

using platform::MenuItem;
using platform::win32::Win32Ui;

HWND HwndOf(const platform::Window& w) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(w.Handle())); }

// What a watcher saw of a message box of this process before pressing one of
// its buttons.
struct SeenBox {
    HWND window = nullptr;
    std::wstring title, text;
    bool hasYes = false, hasNo = false, hasOk = false;
};

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
    auto* seen = reinterpret_cast<SeenBox*>(param);
    wchar_t cls[32] = {}, text[512] = {};
    GetClassNameW(child, cls, 32);
    GetWindowTextW(child, text, 512);
    int id = GetDlgCtrlID(child);
    if (lstrcmpiW(cls, L"Static") == 0 && text[0] != 0 && seen->text.size() < wcslen(text)) seen->text = text;
    if (lstrcmpiW(cls, L"Button") == 0) {
        if (id == IDYES) seen->hasYes = true;
        if (id == IDNO) seen->hasNo = true;
        if (id == IDOK) seen->hasOk = true;
    }
    return TRUE;
}

struct FindBox {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    auto* find = reinterpret_cast<FindBox*>(param);
    wchar_t cls[16] = {};
    GetClassNameW(window, cls, 16);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == find->process && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(window)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

// Waits on another thread for a message box of this process, records it,
// hands it to `beforeAnswer` and presses `answer`.
class BoxWatcher {
public:
    explicit BoxWatcher(int answer, std::function<void(const SeenBox&)> beforeAnswer = {})
        : beforeAnswer_(std::move(beforeAnswer)), thread_([this, answer] { Watch(answer); }) {}
    ~BoxWatcher() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    // Waits until the box was answered (or the watcher gave up).
    SeenBox Seen() {
        if (thread_.joinable()) thread_.join();
        return seen_;
    }
    bool Found() const { return found_; }

private:
    void Watch(int answer) {
        for (int i = 0; i < 1000 && !stop_; ++i) {
            FindBox find{GetCurrentProcessId()};
            EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&find));
            if (find.found != nullptr) {
                Sleep(100);  // let it finish laying out
                wchar_t title[128] = {};
                GetWindowTextW(find.found, title, 128);
                seen_.title = title;
                seen_.window = find.found;
                EnumChildWindows(find.found, CollectStatic, reinterpret_cast<LPARAM>(&seen_));
                found_ = true;
                if (beforeAnswer_) beforeAnswer_(seen_);
                PostMessageW(find.found, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
                return;
            }
            Sleep(20);
        }
    }
    SeenBox seen_;
    std::function<void(const SeenBox&)> beforeAnswer_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> found_{false};
    std::thread thread_;
};

class Win32MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->Move(500, 400, 66, 22);
        window->ShowTopmostInactive();
        PumpFor(50);
        SetCursorPos(520, 410);
    }
    // Keys for the menu's own modal loop, sent from a timer that runs inside it.
    int TrackWithKeys(const std::vector<MenuItem>& items, std::vector<WORD> keys) {
        keys_ = std::move(keys);
        next_ = 0;
        current_ = this;
        UINT_PTR timer = SetTimer(nullptr, 0, 80, &KeyTimer);
        int chosen = ui.TrackPopupMenu(*window, items);
        KillTimer(nullptr, timer);
        current_ = nullptr;
        return chosen;
    }
    static void CALLBACK KeyTimer(HWND, UINT, UINT_PTR, DWORD) {
        Win32MenuTest* self = current_;
        if (self == nullptr) return;
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (self->next_ == 0 && menu != nullptr) self->menuState_ = DescribeMenu(menu);
        if (self->next_ >= self->keys_.size()) {
            EndMenu();
            return;
        }
        WORD key = self->keys_[self->next_++];
        if (key == 0) return;  // a pause: the menu stays open meanwhile
        HWND target = menu != nullptr ? menu : GetFocus();
        PostMessageW(target, WM_KEYDOWN, key, 0);
        PostMessageW(target, WM_KEYUP, key, 0xC0000000);
    }
    // The open menu as its items' flags and captions, read through the
    // menu window's own HMENU.
    static std::wstring DescribeMenu(HWND menuWindow) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
        std::wstring out;
        int n = GetMenuItemCount(menu);
        for (int i = 0; i < n; ++i) {
            UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            wchar_t text[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            if (state & MF_SEPARATOR) out += L"[-]";
            else {
                out += L"[";
                out += text;
                if (state & MF_GRAYED) out += L":grayed";
                if (GetSubMenu(menu, i) != nullptr) out += L":sub" + std::to_wstring(GetMenuItemCount(GetSubMenu(menu, i)));
                out += L"]";
            }
        }
        return out;
    }

    TestProcess process;
    Win32Ui ui{process};
    std::unique_ptr<platform::Window> window = ui.NewWindow(platform::WindowKind::Borderless);
    RecordingWindowEvents events{*window};
    std::vector<WORD> keys_;
    std::size_t next_ = 0;
    std::wstring menuState_;
    static Win32MenuTest* current_;
};
Win32MenuTest* Win32MenuTest::current_ = nullptr;

const std::vector<MenuItem> ClockMenu = {
    {0, "備忘録", true, {{11, "新規・開く", true, {}}, {12, "削除", false, {}}}},
    {0, "-", true, {}},
    {21, "日付と時刻の変更", false, {}},
    {0, "-", true, {}},
    {31, "ドラッグモード", true, {}},
    {0, "-", true, {}},
    {41, "終了", true, {}},
};

TEST_F(Win32MenuTest, TheTreeIsBuiltWithSeparatorsGrayedItemsAndSubmenus) {
    int chosen = TrackWithKeys(ClockMenu, {VK_ESCAPE});
    EXPECT_EQ(chosen, 0);
    EXPECT_EQ(menuState_, L"[備忘録:sub2][-][日付と時刻の変更:grayed][-][ドラッグモード][-][終了]");
}

TEST_F(Win32MenuTest, TheChosenItemsIdIsReturned) {
    // Up from the top wraps to the last item, "終了".
    EXPECT_EQ(TrackWithKeys(ClockMenu, {VK_UP, VK_RETURN}), 41);
    // Down skips the separators: 備忘録, 日付と時刻の変更 (grayed), ドラッグモード.
    EXPECT_EQ(TrackWithKeys(ClockMenu, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}), 31);
    // Into the submenu.
    EXPECT_EQ(TrackWithKeys(ClockMenu, {VK_DOWN, VK_RIGHT, VK_RETURN}), 11);
    EXPECT_TRUE(events.mouseUps.empty());
}

TEST_F(Win32MenuTest, AGrayedItemCannotBeChosen) {
    EXPECT_EQ(TrackWithKeys(ClockMenu, {VK_DOWN, VK_DOWN, VK_RETURN}), 0);
}

TEST_F(Win32MenuTest, TimersGoOnWhileTheMenuIsOpen) {
    auto timer = ui.NewTimer(*window);
    TickCounter ticks(*timer);
    timer->SetInterval(15);
    timer->SetEnabled(true);
    int before = ticks.count;
    TrackWithKeys(ClockMenu, {VK_DOWN, VK_UP, VK_DOWN, VK_UP, VK_ESCAPE});
    EXPECT_GT(ticks.count, before);
}

TEST_F(Win32MenuTest, AMenuOpenedByAClickStaysOpenWhileTheTickRaisesTheWindow) {
    // The clock's tick raises its window every second, also while the menu
    // is open; the click that opens the menu activates the window. (Wine's
    // X11 driver once closed the first such menu at once when the click came
    // through the X server, as xdotool's does; input sent with SendInput
    // does not bring that about, so this checks the menu and the raising
    // together, not that quirk.)
    auto timer = ui.NewTimer(*window);
    timer->OnTimer([this] { window->ShowTopmostInactive(); });
    timer->SetInterval(40);
    timer->SetEnabled(true);
    int chosen = -1;
    events.onMouseUp = [&] { chosen = TrackWithKeys(ClockMenu, {0, 0, 0, VK_UP, VK_RETURN}); };
    ClickAt(520, 410, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([&] { return chosen != -1; }, 5000));
    EXPECT_EQ(chosen, 41);
}

TEST_F(Win32MenuTest, MessageBoxShowsTextTitleButtonsAndReturnsTheAnswer) {
    {
        BoxWatcher watcher(IDNO);
        platform::MessageAnswer answer = ui.ShowMessageBox("ファイルが見つかりません。\r\n続けますか？", "Morix",
                                                           platform::MessageButtons::YesNo,
                                                           platform::MessageIcon::Question);
        SeenBox seen = watcher.Seen();
        ASSERT_TRUE(watcher.Found());
        EXPECT_EQ(answer, platform::MessageAnswer::No);
        EXPECT_EQ(seen.title, L"Morix");
        EXPECT_NE(seen.text.find(L"ファイルが見つかりません。"), std::wstring::npos);
        EXPECT_NE(seen.text.find(L"続けますか？"), std::wstring::npos);
        EXPECT_TRUE(seen.hasYes && seen.hasNo);
        EXPECT_FALSE(seen.hasOk);
    }
    {
        BoxWatcher watcher(IDYES);
        EXPECT_EQ(ui.ShowMessageBox("x", "Morix", platform::MessageButtons::YesNo, platform::MessageIcon::Question),
                  platform::MessageAnswer::Yes);
    }
}

TEST_F(Win32MenuTest, AMessageBoxWithAnOwnerKeepsTheOwnerFromInputWhileItWaits) {
    auto dialog = ui.NewWindow(platform::WindowKind::Dialog);
    HWND owner = HwndOf(*dialog);
    dialog->ShowTopmostInactive();
    bool ownerEnabled = true;
    HWND boxOwner = nullptr;
    BoxWatcher watcher(IDOK, [&](const SeenBox& seen) {
        ownerEnabled = IsWindowEnabled(owner) != FALSE;
        boxOwner = GetWindow(seen.window, GW_OWNER);
    });
    platform::MessageAnswer answer = ui.ShowMessageBox("保存しました。", "Morix", platform::MessageButtons::Ok,
                                                       platform::MessageIcon::Exclamation, dialog.get());
    watcher.Seen();
    ASSERT_TRUE(watcher.Found());
    EXPECT_EQ(answer, platform::MessageAnswer::Ok);
    EXPECT_EQ(boxOwner, owner);
    EXPECT_FALSE(ownerEnabled) << "the owner took input while the box waited";
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST(Win32EventGuard, TheStandardMessageNamesTheNumberAndTheDescription) {
    EXPECT_EQ(platform::RunTimeErrorMessage(6, "オーバーフローしました。"),
              "実行時エラー '6':\r\n\r\nオーバーフローしました。");
    EXPECT_EQ(platform::RunTimeErrorMessage(-1, ""), "実行時エラー '-1':\r\n\r\n");
}

TEST(Win32EventGuard, AnUnhandledErrorShowsTheMessageThenEndsTheProcess) {
    TestProcess process;
    Win32Ui ui(process);
    BoxWatcher watcher(IDOK);
    int exitCode = 0;
    try {
        platform::RunGuarded(ui, process, [] { Raise(err::Overflow); });
    } catch (const ExitCalled& e) {
        exitCode = e.code;
    }
    SeenBox seen = watcher.Seen();
    ASSERT_TRUE(watcher.Found());
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(seen.title, L"Morix");
    EXPECT_EQ(seen.text, L"実行時エラー '6':\r\n\r\nオーバーフローしました。");
    EXPECT_TRUE(seen.hasOk);
    EXPECT_FALSE(seen.hasYes);
}

// Started as a second process by the test below: a window whose close
// handler raises an error nobody handles, closed from outside. The guard
// must show the message and end this process with code 1 through the real
// Win32Process; the box's text goes to the file named on the command line.
TEST(Win32EventGuardChild, DISABLED_CloseHandlerErrorEndsTheProcess) {
    const char* out = std::getenv("MORIX_GUARD_REPORT");
    ASSERT_NE(out, nullptr);
    platform::win32::Win32Process process;
    Win32Ui ui(process);
    auto window = ui.NewWindow(platform::WindowKind::Borderless);
    RecordingWindowEvents events(*window);
    events.onClose = [] { Raise(err::FileNotFound); };
    // The report is written before the answer: the process ends right after.
    auto* watcher = new BoxWatcher(IDOK, [path = std::string(out)](const SeenBox& seen) {
        HANDLE h = CreateFileW(platform::win32::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        std::string text = platform::win32::Narrow(seen.title + L"|" + seen.text);
        DWORD wrote = 0;
        WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
        CloseHandle(h);
    });
    (void)watcher;  // still watching when the process ends
    SendMessageW(HwndOf(*window), WM_CLOSE, 0, 0);
    // Only reached when the guard did not end the process.
    ExitProcess(7);
}

TEST(Win32EventGuard, AnErrorInAWindowHandlerEndsTheRealProcessWithTheMessage) {
    TempFolder folder;
    std::wstring report = folder.File(L"box.txt");
    SetEnvironmentVariableW(L"MORIX_GUARD_REPORT", report.c_str());
    int code = RunSelf(L"--gtest_also_run_disabled_tests --gtest_filter=Win32EventGuardChild.DISABLED_CloseHandlerErrorEndsTheProcess");
    SetEnvironmentVariableW(L"MORIX_GUARD_REPORT", nullptr);
    EXPECT_EQ(code, 1);
    HANDLE h = CreateFileW(report.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << "the child saw no message box";
    char buffer[512] = {};
    DWORD got = 0;
    ReadFile(h, buffer, sizeof buffer - 1, &got, nullptr);
    CloseHandle(h);
    EXPECT_EQ(std::string(buffer, got), "Morix|実行時エラー '53':\r\n\r\nファイルが見つかりません。");
}

}  // namespace
}  // namespace morix::win32test
