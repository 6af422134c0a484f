// Every form of the program over the real controls, opened as the program
// opens it: each shown, enabled control is what a click at its centre
// reaches (the control itself or a part of it), so that no container or
// other control lies over it; the memo window's drag corner is shown.
// tests/native/forms_test.cpp makes the same check over the simulated
// desktop, which must agree with this one.
#include "Win32TestSupport.h"

#include "app/Program.h"
#include "clock/Module1.h"
#include "platform/Platform.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/Win32Platform.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <functional>
#include <string>
#include <vector>

namespace morix::win32test {
namespace {

using namespace platform::win32;

// A copy of the program folder in the temporary folder, removed afterwards.
class ProgramFolderCopy {
public:
    ProgramFolderCopy() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = std::wstring(base) + L"morix_reach_" + std::to_wstring(GetCurrentProcessId());
        const std::wstring from = DistFolder() + L"\\*" + std::wstring(1, L'\0');
        const std::wstring to = path_ + std::wstring(1, L'\0');
        CreateDirectoryW(path_.c_str(), nullptr);
        SHFILEOPSTRUCTW copy{};
        copy.wFunc = FO_COPY;
        copy.pFrom = from.c_str();
        copy.pTo = to.c_str();
        copy.fFlags = FOF_NO_UI;
        ok_ = !DistFolder().empty() && SHFileOperationW(&copy) == 0;
    }
    ~ProgramFolderCopy() {
        const std::wstring gone = path_ + std::wstring(1, L'\0');
        SHFILEOPSTRUCTW remove{};
        remove.wFunc = FO_DELETE;
        remove.pFrom = gone.c_str();
        remove.fFlags = FOF_NO_UI;
        SHFileOperationW(&remove);
    }
    bool Ok() const { return ok_; }
    std::string Path() const { return Narrow(path_); }

private:
    std::wstring path_;
    bool ok_ = false;
};

class FolderProcess final : public platform::Process {
public:
    explicit FolderProcess(std::string folder) : folder_(std::move(folder)) {}
    std::string ProgramFolder() const override { return folder_; }
    std::string ExecutablePath() const override { return folder_ + "\\Morix.exe"; }
    std::string LocalDataFolder() const override { return {}; }
    std::string RoamingDataFolder() const override { return {}; }
    bool AnotherInstanceRunning() override { return false; }
    void RegisterForRestart() override {}
    bool NormalRunMayWrite(std::string_view) const override { return true; }
    [[noreturn]] void Exit(int code) override { throw ExitCalled{code}; }

private:
    std::string folder_;
};

HWND ThreadWindowTitled(const std::wstring& title) {
    struct Find {
        std::wstring title;
        HWND found = nullptr;
        static BOOL CALLBACK Visit(HWND h, LPARAM p) {
            auto* f = reinterpret_cast<Find*>(p);
            wchar_t text[128] = {};
            GetWindowTextW(h, text, 128);
            if (IsWindowVisible(h) && f->title == text) f->found = h;
            return f->found == nullptr;
        }
    } find{title};
    EnumThreadWindows(GetCurrentThreadId(), Find::Visit, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

bool ShownAndEnabled(HWND h) {
    if (!IsWindowVisible(h)) return false;
    for (HWND w = h; w != nullptr && (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD); w = GetParent(w))
        if (!IsWindowEnabled(w)) return false;
    return true;
}

// The form's controls: its children, and the children of its containers.
void CollectControls(HWND parent, std::vector<HWND>& out) {
    for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        out.push_back(c);
        ControlTarget* target = ControlTargetOf(c);
        if (target != nullptr && target->StacksBelowControls()) CollectControls(c, out);
    }
}

// The deepest shown child window under the screen point, walked down from
// the top-level window by the system's own stacking.
HWND DeepestAt(HWND top, POINT screen) {
    HWND at = top;
    for (;;) {
        POINT client = screen;
        ScreenToClient(at, &client);
        HWND child = ChildWindowFromPointEx(at, client, CWP_SKIPINVISIBLE);
        if (child == nullptr || child == at) return at;
        at = child;
    }
}

// Where a user aims at the control: its centre, or, where the window's
// outline cuts the centre away (the memo window's drag corner lies partly
// outside the balloon), the point of the control inside the outline nearest
// to its centre.
POINT AimPoint(HWND top, const RECT& r) {
    POINT best{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(top, region) == ERROR) {
        DeleteObject(region);
        return best;
    }
    RECT outer{};
    GetWindowRect(top, &outer);
    auto inside = [&](POINT p) { return PtInRegion(region, p.x - outer.left, p.y - outer.top) != FALSE; };
    if (!inside(best)) {
        const POINT centre = best;
        long nearest = -1;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const long d = (x - centre.x) * (x - centre.x) + (y - centre.y) * (y - centre.y);
                if (inside({x, y}) && (nearest < 0 || d < nearest)) nearest = d, best = {x, y};
            }
    }
    DeleteObject(region);
    return best;
}

// A control of the form's own: named by the form, a clip, or the drag
// surface (the only transparent child); not the parts a control is made of.
bool IsFormControl(HWND h) {
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    return !ControlNameOf(h).empty() || (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT) ||
           std::wstring(cls) == L"SysAnimate32";
}

std::string Describe(HWND h) {
    const std::string name = ControlNameOf(h);
    if (!name.empty()) return name;
    if (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT) return "ysTransForm1";
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    return "(" + Narrow(cls) + ")";
}

struct FormCase {
    const char* form;
    const wchar_t* title;
    std::function<void(Program&)> open, close;
};

// The program started over the Win32 services in a copy of the program
// folder, each form opened as the program opens it and shown, handed to
// `check` with its window, then closed.
void ForEachForm(const std::function<void(const char* form, HWND top)>& check) {
    ProgramFolderCopy folder;
    ASSERT_TRUE(folder.Ok()) << "no program folder to copy (build the native preset first)";
    Win32CodePage codePage;
    {
        // The sample not yet seen, so that the memo window opens at the
        // start; following on and the memo line chosen, so that every box
        // of the extended options can be used. No window of another program
        // is in front: the clock stays home.
        HANDLE f = CreateFileW(Widen(folder.Path() + "\\Morix.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        const std::string ini = codePage.ToAnsi("[Morix]\r\nアクティブウインドウへの移動=1\r\nメモの表示=1\r\n");
        DWORD wrote = 0;
        WriteFile(f, ini.data(), static_cast<DWORD>(ini.size()), &wrote, nullptr);
        CloseHandle(f);
    }
    SetCursorPos(5, 5);
    FolderProcess process(folder.Path());
    Win32Files files;
    Win32DynamicLibraries libraries{folder.Path()};
    Win32Pictures pictures;
    Win32Ui ui{process};
    Win32Desktop desktop;
    Win32Clock clock;
    Win32SystemInfo systemInfo;
    Win32LogonStart logonStart;
    Win32TimeZones timeZones;
    platform::Platform services{codePage, files, libraries, pictures, ui, desktop, clock, process, systemInfo,
                                logonStart, timeZones};
    Program program(services);
    program.Main();
    ASSERT_NE(program.module().form1(), nullptr);

    const std::vector<FormCase> forms{
        {"Form7", L"Morix - 備忘録", [](Program&) {}, [](Program& p) { p.memos().CloseMemoWindow(); }},
        {"Form2", L"備忘録（新規・開く）", [](Program& p) { p.memos().OpenMemoPicker(); },
         [](Program& p) { p.memos().ClosePicker(); }},
        {"Form3", L"オプション", [](Program& p) { p.options().OpenBasicOptions(); },
         [](Program& p) { p.options().CloseBasicOptions(); }},
        {"Form4", L"拡張オプション", [](Program& p) { p.options().OpenExtendedOptions(); },
         [](Program& p) { p.options().CloseExtendedOptions(); }},
        {"Form5", L"日付と日時の変更", [](Program& p) { p.dateTime().OpenDateTime(); },
         [](Program& p) { p.dateTime().CloseDateTime(); }},
        {"Form10", L"アラーム", [](Program& p) { p.alarms().OpenAlarmDialog(); },
         [](Program& p) { p.alarms().CloseAlarmDialog(); }},
        {"Form8", L"Morix - 情報", [](Program& p) { p.infoBalloon().Show(); },
         [](Program& p) { p.infoBalloon().Unload(); }},
        {"Form11", L"他の地域の時刻",
         [](Program& p) {
             p.options().OpenExtendedOptions();
             p.options().form4()->cmdZones_Click();
         },
         [](Program& p) { p.options().CloseExtendedOptions(); }},
    };
    for (const FormCase& form : forms) {
        form.open(program);
        PumpFor(300);
        HWND top = ThreadWindowTitled(form.title);
        EXPECT_NE(top, nullptr) << form.form << " is not shown";
        if (top != nullptr) check(form.form, top);
        form.close(program);
        PumpFor(100);
    }
    program.module().UnloadForm1();
}

TEST(Win32FormsReach, EveryShownControlOfEveryFormIsWhatAClickAtItsCentreReaches) {
    ForEachForm([](const char* name, HWND top) {
        const std::string form = name;
        std::vector<HWND> controls;
        CollectControls(top, controls);
        std::string listed;
        int checked = 0;
        for (HWND c : controls) {
            if (!IsFormControl(c) || !ShownAndEnabled(c)) continue;
            RECT r{};
            GetWindowRect(c, &r);
            if (r.right <= r.left || r.bottom <= r.top) continue;
            const POINT centre = AimPoint(top, r);
            const HWND hit = DeepestAt(top, centre);
            const bool reached = hit == c || IsChild(c, hit);
            EXPECT_TRUE(reached) << form << ": a click at the centre of " << Describe(c) << " reaches "
                                 << Describe(hit);
            EXPECT_EQ(GetAncestor(WindowFromPoint(centre), GA_ROOT), top)
                << form << ": another window lies over " << Describe(c);
            listed += " " + Describe(c);
            ++checked;
        }
        std::printf("%s (%d reachable):%s\n", name, checked, listed.c_str());
        EXPECT_GT(checked, 0) << form;
        if (form == "Form7") {
            // The corner by which the memo window is dragged.
            bool corner = false;
            for (HWND c : controls) {
                RECT r{};
                GetWindowRect(c, &r);
                MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
                corner |= IsWindowVisible(c) && (GetWindowLongPtrW(c, GWL_EXSTYLE) & WS_EX_TRANSPARENT) && r.left == 1 &&
                          r.top == 1 && r.right == 81 && r.bottom == 34;
            }
            EXPECT_TRUE(corner) << "the memo window's drag corner is not shown";
        }
    });
}

// The face the system draws a control's font in.
std::wstring FaceOf(HWND control) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (font == nullptr) return {};
    HDC dc = GetDC(control);
    const HGDIOBJ before = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, before);
    ReleaseDC(control, dc);
    return face;
}

// Every shown caption of every form, measured in the font its control's
// window has, fits that window, and its container does not cut it off.
// MORIX_DIALOG_FACE, when set, names the face the prefix maps the dialogs'
// font to: every control must be drawn in it (a mapping to a face that is
// not installed falls back to another without a word). In IPA P Gothic, the
// font the tables were drawn for, the option dialogs keep their tables'
// sizes to the pixel.
TEST(Win32FormsCaptions, EveryShownCaptionOfEveryFormIsWholeInItsControlsFont) {
    const char* expectedFace = std::getenv("MORIX_DIALOG_FACE");
    ForEachForm([&](const char* name, HWND top) {
        const std::string form = name;
        std::vector<HWND> controls;
        CollectControls(top, controls);
        std::wstring face;
        std::string tight;  // the captions with less than 4 pixels to spare: needed / has
        int checked = 0;
        for (HWND c : controls) {
            ControlTarget* target = ControlTargetOf(c);
            if (target == nullptr || !IsWindowVisible(c)) continue;
            const int needs = target->CaptionWidth();
            if (needs == 0) continue;
            RECT r{};
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
            RECT container{};
            GetClientRect(GetParent(c), &container);
            EXPECT_LE(needs, r.right - r.left) << form << ": " << Describe(c) << " cuts its caption";
            EXPECT_LE(target->CaptionHeight(), r.bottom - r.top) << form << ": " << Describe(c) << " cuts a line";
            EXPECT_LE(r.left + needs, container.right) << form << ": the container of " << Describe(c) << " cuts it";
            if (r.right - r.left - needs < 4)
                tight += " " + Describe(c) + " " + std::to_string(needs) + "/" + std::to_string(r.right - r.left);
            if (face.empty()) face = FaceOf(c);
            if (expectedFace != nullptr && !FaceOf(c).empty()) {
                EXPECT_EQ(Narrow(FaceOf(c)), expectedFace) << form << ": " << Describe(c);
            }
            ++checked;
        }
        RECT client{};
        GetClientRect(top, &client);
        std::printf("%s: %d captions whole in %s, client area %ld x %ld; tightest:%s\n", name, checked,
                    Narrow(face).c_str(), client.right, client.bottom, tight.c_str());
        if (form == "Form7" || form == "Form8") return;
        EXPECT_GT(checked, 0) << form;
        const int dpi = WindowDpi(top);
        const std::map<std::string, std::pair<int, int>> tables{{"Form3", {7005, 5475}}, {"Form4", {6915, 5955}}};
        const auto table = tables.find(form);
        if (table != tables.end() && (face == L"IPAPGothic" || face == L"IPA Pゴシック")) {
            EXPECT_EQ(client.right, MulDiv(table->second.first, dpi, 1440)) << form;
            EXPECT_EQ(client.bottom, MulDiv(table->second.second, dpi, 1440)) << form;
        }
    });
}

}  // namespace
}  // namespace morix::win32test
