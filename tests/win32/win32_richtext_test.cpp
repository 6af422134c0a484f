// The rich-text box under Wine: Japanese RTF (\ansicpg932) loaded and saved
// back, plain-text and empty files, the run-time errors of LoadFile and of
// SaveFile (each leaving the old file whole and no temporary file behind),
// the text in and out, the font, read-only, the right margin, and the text
// read by another thread as another program would.
#include "Win32TestSupport.h"

#include "base/RuntimeError.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32RichTextBox.h"
#include "platform/win32/Win32Ui.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <algorithm>
#include <thread>

namespace morix::win32test {
namespace {

using platform::ControlSpec;
using platform::win32::SaveErrorNumber;
using platform::win32::Win32RichTextBox;
using platform::win32::Win32Ui;

struct Failure {
    int number = 0;
    std::string description;
};

Failure FailureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return {e.Number(), e.Description()};
    }
    return {};
}

std::string Cp932(const std::wstring& text) {
    const int n = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// An RTF file as Japanese word processors write it: code page 932, the
// double-byte characters as \'xx escapes.
std::string JapaneseRtf(const std::vector<std::wstring>& lines) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 ";
    auto escaped = [](const std::wstring& text) {
        std::string out;
        char hex[8];
        for (unsigned char b : Cp932(text)) {
            if (b < 0x80 && b != '\\' && b != '{' && b != '}') {
                out.push_back(static_cast<char>(b));
            } else {
                std::snprintf(hex, sizeof hex, "\\'%02x", b);
                out += hex;
            }
        }
        return out;
    };
    rtf += escaped(L"ＭＳ ゴシック") + ";}}\r\n\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs18 ";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) rtf += "\\par\r\n";
        rtf += escaped(lines[i]);
    }
    return rtf + "\r\n}\r\n";
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<none>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

class Win32RichTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->Move(400, 300, 300, 160);
        window->ShowTopmostInactive();
        PumpFor(50);
    }
    HWND Box() const { return static_cast<Win32RichTextBox&>(*box).Hwnd(); }
    HWND Window() const { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(window->Handle())); }

    TempFolder folder;
    TestProcess process;
    Win32Ui ui{process};
    std::unique_ptr<platform::Window> window = ui.NewWindow(platform::WindowKind::Borderless);
    std::unique_ptr<platform::RichTextBox> box = ui.NewRichTextBox(*window, ControlSpec{"RichTextBox1", {10, 10, 160, 150}, ""});
};

TEST_F(Win32RichTextTest, JapaneseRtfLoadsAndSavesBackTheSameText) {
    const std::string source = folder.Write(L"20261207.rtf", JapaneseRtf({L"今日の予定", L"十時 会議（第二会議室）", L"Morix ～ ①"}));
    box->LoadFile(source);
    EXPECT_EQ(box->FileName(), source);
    EXPECT_EQ(box->Text(), "今日の予定\r\n十時 会議（第二会議室）\r\nMorix ～ ①");

    const std::string copy = folder.Utf8File(L"copy.rtf");
    box->SaveFile(copy);
    const std::string saved = ReadBytes(folder.File(L"copy.rtf"));
    EXPECT_EQ(saved.rfind("{\\rtf", 0), 0u);
    ASSERT_FALSE(saved.empty());
    EXPECT_NE(saved.back(), '\0') << "the saved file ends in the control's NUL";
    EXPECT_EQ(saved.find('\0'), std::string::npos);
    EXPECT_TRUE(platform::HasOwnRtfMark(saved)) << "marked as this program's own";
    EXPECT_EQ(box->FileName(), source) << "saving is no loading";

    // The mark is skipped as the reader skips destinations it does not know,
    // and a second save does not mark twice.
    auto other = ui.NewRichTextBox(*window, ControlSpec{"RichTextBox2", {170, 10, 290, 150}, ""});
    other->LoadFile(copy);
    EXPECT_EQ(other->Text(), box->Text());
    other->SaveFile(copy);
    const std::string again = ReadBytes(folder.File(L"copy.rtf"));
    EXPECT_EQ(again.find(platform::OwnRtfMark), again.rfind(platform::OwnRtfMark));
}

TEST_F(Win32RichTextTest, PlainTextAndEmptyFilesLoadAsTheirText) {
    struct Case {
        const wchar_t* name;
        std::string bytes;
        std::string text;
    };
    // A long text goes into the control in pieces that end at line ends,
    // each read of the control's never ending between a CR and its LF.
    const std::string atRead = std::string(2047, 'a') + "\r\nb";  // the CR ends the control's first read
    std::string lines, lineFeeds;
    for (int i = 0; i < 3000; ++i) lines += "行" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 90), 'x') + "\r\n";
    const std::string longLine = std::string(9000, 'y');  // longer than a piece
    const Case cases[] = {
        {L"sjis.txt", Cp932(L"買い物\r\n牛乳と卵"), "買い物\r\n牛乳と卵"},
        {L"atread.txt", atRead, atRead},
        {L"lines.txt", Cp932(platform::win32::Widen(lines + longLine + "\r\n終わり")), lines + longLine + "\r\n終わり"},
        {L"lf.txt", "a\nb\n" + longLine + "\nc", "a\r\nb\r\n" + longLine + "\r\nc"},
        {L"utf8.txt", "\xEF\xBB\xBF" "予定なし", "予定なし"},
        {L"rtfish.txt", " {\\rtf1 not at the start}", " {\\rtf1 not at the start}"},
        {L"empty.rtf", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::win32::Narrow(c.name));
        box->SetText("前の内容");
        const std::string path = folder.Write(c.name, c.bytes);
        box->LoadFile(path);
        EXPECT_EQ(box->Text(), c.text);
        EXPECT_EQ(box->FileName(), path);
        EXPECT_FALSE(box->Modified());
        EXPECT_FALSE(SendMessageW(Box(), EM_CANUNDO, 0, 0)) << "a loaded file is no step to undo";
        DWORD start = 1, end = 1;
        SendMessageW(Box(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 0u);
    }
}

TEST_F(Win32RichTextTest, AfterALoadTheBoxHasTheScrollBarsItsTextNeeds) {
    // Set as the memo window sets it: a line is wider than the box before it wraps.
    box->SetRightMargin(1024);
    std::string narrow;
    for (int i = 0; i < 2000; ++i) narrow += "a\r\n";
    // Files longer than the text they hold: the reader skips a destination it does not know.
    auto padded = [](const std::string& text) {
        return "{\\rtf1\\ansi{\\*\\padding " + std::string(5000, 'p') + "}" + text + "}";
    };
    const struct {
        const wchar_t* name;
        std::string bytes;
        bool vertical, horizontal;
    } cases[] = {
        {L"narrow.txt", narrow, true, false},
        {L"short.rtf", padded("short"), false, false},
        {L"oneline.rtf", padded(std::string(100, 'x')), false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(platform::win32::Narrow(c.name));
        box->SetText("");
        box->LoadFile(folder.Write(c.name, c.bytes));
        PumpFor(50);
        const LONG style = GetWindowLongW(Box(), GWL_STYLE);
        EXPECT_EQ((style & WS_VSCROLL) != 0, c.vertical);
        EXPECT_EQ((style & WS_HSCROLL) != 0, c.horizontal);
        if (!c.vertical && !c.horizontal) EXPECT_EQ(box->Text(), "short");
    }
}

TEST_F(Win32RichTextTest, LoadFileRaisesTheFileErrorsAndLeavesTheBoxAsItWas) {
    const std::string loaded = folder.Write(L"a.rtf", JapaneseRtf({L"元の文"}));
    box->LoadFile(loaded);
    CreateDirectoryW(folder.File(L"sub.rtf").c_str(), nullptr);
    struct Case {
        const char* what;
        std::string path;
        int number;
    };
    const Case cases[] = {
        {"no folder", folder.Utf8File(L"none\\b.rtf"), err::PathNotFound},
        {"no file", folder.Utf8File(L"b.rtf"), err::FileNotFound},
        {"a folder", folder.Utf8File(L"sub.rtf"), err::PathFileAccess},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Failure failure = FailureOf([&] { box->LoadFile(c.path); });
        EXPECT_EQ(failure.number, c.number);
        EXPECT_NE(failure.description.find(c.path), std::string::npos) << failure.description;
        EXPECT_EQ(box->Text(), "元の文");
        EXPECT_EQ(box->FileName(), loaded);
    }
    RemoveDirectoryW(folder.File(L"sub.rtf").c_str());
}

TEST_F(Win32RichTextTest, SaveFileRaisesByCauseAndLeavesTheOldFileWhole) {
    box->SetText("新しい内容");
    const std::string old = JapaneseRtf({L"古い内容"});
    folder.Write(L"locked.rtf", old);
    SetFileAttributesW(folder.File(L"locked.rtf").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryW(folder.File(L"dir.rtf").c_str(), nullptr);
    struct Case {
        const char* what;
        std::wstring name;
        int number;
    };
    const Case cases[] = {
        {"no folder", L"none\\c.rtf", err::PathNotFound},
        {"a folder of that name", L"dir.rtf", err::PathFileAccess},
        {"a read-only file", L"locked.rtf", err::PathFileAccess},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.Utf8File(c.name);
        const Failure failure = FailureOf([&] { box->SaveFile(path); });
        EXPECT_EQ(failure.number, c.number);
        EXPECT_NE(failure.description.find(path), std::string::npos) << failure.description;
        EXPECT_GT(failure.description.size(), StandardDescription(c.number).size() + path.size() + 4)
            << "no reason given: " << failure.description;
    }
    EXPECT_EQ(ReadBytes(folder.File(L"locked.rtf")), old);
    EXPECT_EQ(GetFileAttributesW(folder.File(L"dir.rtf").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(NamesIn(folder.File(L"")), (std::vector<std::wstring>{L"dir.rtf", L"locked.rtf"}))
        << "a temporary file was left behind";
    SetFileAttributesW(folder.File(L"locked.rtf").c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.File(L"dir.rtf").c_str());
}

TEST_F(Win32RichTextTest, SaveFileReplacesTheOldFileAndLeavesNothingElse) {
    folder.Write(L"memo.rtf", "old bytes");
    box->SetText("一回目");
    box->SaveFile(folder.Utf8File(L"memo.rtf"));
    box->SetText("二回目");
    box->SaveFile(folder.Utf8File(L"memo.rtf"));
    EXPECT_EQ(NamesIn(folder.File(L"")), (std::vector<std::wstring>{L"memo.rtf"}));
    box->SetText("");
    box->LoadFile(folder.Utf8File(L"memo.rtf"));
    EXPECT_EQ(box->Text(), "二回目");
}

TEST(Win32RichTextSaveErrors, EachSystemErrorHasItsRunTimeNumber) {
    const std::pair<DWORD, int> cases[] = {
        {ERROR_PATH_NOT_FOUND, err::PathNotFound}, {ERROR_INVALID_DRIVE, err::PathNotFound},
        {ERROR_ACCESS_DENIED, err::PathFileAccess}, {ERROR_SHARING_VIOLATION, err::PathFileAccess},
        {ERROR_LOCK_VIOLATION, err::PathFileAccess}, {ERROR_WRITE_PROTECT, err::PathFileAccess},
        {ERROR_DISK_FULL, err::DiskFull},           {ERROR_HANDLE_DISK_FULL, err::DiskFull},
        {ERROR_INVALID_NAME, err::DeviceIo},        {ERROR_GEN_FAILURE, err::DeviceIo},
    };
    for (const auto& [system, number] : cases) EXPECT_EQ(SaveErrorNumber(system), number) << "system error " << system;
}

TEST_F(Win32RichTextTest, TextGoesInAndOutWithItsLineBreaksAndStaysText) {
    wchar_t name[32] = {};
    GetClassNameW(Box(), name, 32);
    EXPECT_EQ(_wcsicmp(name, Win32RichTextBox::ClassName()), 0) << name;
    EXPECT_EQ(box->Text(), "");
    const char* texts[] = {"一行目\r\n二行目\r\n\r\n四行目", "{\\rtf1 これは文字}", "tab\there", ""};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        box->SetText(text);
        EXPECT_EQ(box->Text(), text);
    }
}

// Each row: the text shown, then the text updated to; the box reads the new
// text back, in the font it had, whatever part changed.
TEST_F(Win32RichTextTest, UpdateTextRewritesOnlyWhatChangedAndReadsBackTheNewText) {
    box->SetFont({"ＭＳ ゴシック", 9, true});
    const struct {
        const char* before;
        const char* after;
    } rows[] = {
        {"[CPU稼働率]  7%\r\n[メモ]  あ", "[CPU稼働率]  73%\r\n[メモ]  あ"},   // a figure grows
        {"[CPU稼働率]  73%\r\n[メモ]  あ", "[CPU稼働率]  8%\r\n[メモ]  あ"},   // and shrinks
        {"a\r\nb", "a\r\nb"},                                                // nothing changes
        {"a\r\nb", "a\r\nb\r\nc"},                                         // a line more
        {"a\r\nb\r\nc", "c"},                                                // lines fewer
        {"", "一行目"},                                                       // from empty
        {"一行目", ""},                                                       // to empty
        {"x\xF0\x9F\x98\x80y", "x\xF0\x9F\x98\x81y"},                 // a character of two units
        {"a\nb", "a\nc"},                                                   // a lone line feed
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.before) + " -> " + row.after);
        const std::string expected = [&] {
            box->SetText(row.after);  // what a whole new text reads back as
            return box->Text();
        }();
        box->SetText(row.before);
        box->UpdateText(row.after);
        EXPECT_EQ(box->Text(), expected);
        EXPECT_FALSE(box->Modified());
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        SendMessageW(Box(), EM_SETSEL, 0, -1);
        SendMessageW(Box(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        EXPECT_EQ(std::wstring(format.szFaceName), L"ＭＳ ゴシック");
    }
    // Typed into since: the whole text is set.
    box->SetText("abc");
    SendMessageW(Box(), EM_SETSEL, 3, 3);
    SendMessageW(Box(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"d"));
    SendMessageW(Box(), EM_SETMODIFY, TRUE, 0);
    box->UpdateText("abx");
    EXPECT_EQ(box->Text(), "abx");
}

TEST_F(Win32RichTextTest, TheFontAppliesToTheTextAndToWhatIsTypedNext) {
    box->SetText("既存の文");
    box->SetFont({"ＭＳ 明朝", 12, true});
    for (WPARAM which : {static_cast<WPARAM>(SCF_DEFAULT), static_cast<WPARAM>(SCF_SELECTION)}) {
        SCOPED_TRACE(which);
        SendMessageW(Box(), EM_SETSEL, 0, -1);
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        SendMessageW(Box(), EM_GETCHARFORMAT, which, reinterpret_cast<LPARAM>(&format));
        EXPECT_EQ(std::wstring(format.szFaceName), L"ＭＳ 明朝");
        EXPECT_EQ(format.yHeight, 12 * 20);
        EXPECT_EQ(format.bCharSet, SHIFTJIS_CHARSET);
    }
    box->SetFont({"Arial", 10, false});
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(Box(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(std::wstring(format.szFaceName), L"Arial");
    EXPECT_NE(format.bCharSet, SHIFTJIS_CHARSET);
}

TEST_F(Win32RichTextTest, AReadOnlyBoxTakesNoTypingAndNoFront) {
    // A window of another program in front, as notepad is under the memo.
    platform::win32::UniqueWindow frontWindow(CreateWindowExW(0, L"STATIC", L"メモ帳", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                                              20, 20, 300, 200, nullptr, nullptr,
                                                              GetModuleHandleW(nullptr), nullptr));
    HWND front = frontWindow.Get();
    SetForegroundWindow(front);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == front; }, 3000));
    box->SetText("読むだけ");
    box->SetReadOnly(true);
    EXPECT_TRUE(SendMessageW(Box(), EM_GETOPTIONS, 0, 0) & ECO_READONLY);
    RECT r{};
    GetWindowRect(Box(), &r);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    PumpFor(200);
    EXPECT_EQ(GetForegroundWindow(), front) << "a click into a read-only box took the front";
    PostMessageW(Box(), WM_CHAR, L'x', 1);
    PumpFor(50);
    EXPECT_EQ(box->Text(), "読むだけ");

    box->SetReadOnly(false);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == Window(); }, 3000));
    EXPECT_EQ(GetFocus(), Box());
    SendMessageW(Box(), EM_SETSEL, -1, -1);
    PostMessageW(Box(), WM_CHAR, L'！', 1);
    PumpFor(50);
    EXPECT_EQ(box->Text(), "読むだけ！");
    window->SetVisible(false);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == front; }, 3000)) << "the front was not given back";
}

TEST_F(Win32RichTextTest, ARightMarginKeepsALongLineWholeAndTheBoxScrollsSideways) {
    box->SetText("この行は箱の幅よりずっと長いので、右余白がなければ何行にも折り返されます。");
    PumpFor(50);
    const LRESULT wrapped = SendMessageW(Box(), EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(wrapped, 1) << "the line does not wrap at the box's width";
    box->SetRightMargin(3000);
    PumpFor(50);
    EXPECT_EQ(SendMessageW(Box(), EM_GETLINECOUNT, 0, 0), 1);
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_RANGE | SIF_PAGE;
    ASSERT_TRUE(GetScrollInfo(Box(), SB_HORZ, &scroll));
    EXPECT_GT(scroll.nMax - scroll.nMin + 1, static_cast<int>(scroll.nPage)) << "no room to scroll sideways";
    box->SetRightMargin(0);
    PumpFor(50);
    EXPECT_EQ(SendMessageW(Box(), EM_GETLINECOUNT, 0, 0), wrapped);
}

TEST_F(Win32RichTextTest, AnotherThreadReadsTheTextThroughWmGetText) {
    box->SetText("外から読む\r\n二行目");
    std::wstring seen;
    bool done = false;
    std::thread reader([&] {
        wchar_t buffer[128] = {};
        SendMessageW(Box(), WM_GETTEXT, 128, reinterpret_cast<LPARAM>(buffer));
        seen = buffer;
        done = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return done; }, 5000));
    reader.join();
    EXPECT_NE(seen.find(L"外から読む"), std::wstring::npos);
    EXPECT_NE(seen.find(L"二行目"), std::wstring::npos);
}

}  // namespace
}  // namespace morix::win32test
