// Under Wine (or Windows): how long the memo window takes to open a large
// memo over the real controls, RTF and plain text, by size. The program is
// built over the Win32 services as Morix.exe builds it and started; for each
// size and kind a memo file is written and opened (ShowMemoWindow, then the
// first paint), then closed unedited; the median of the runs is printed, as
// is what the window did with a memo above the size it opens.
//
// Run it from a copy of the program folder (bench/large-memo.sh does that).
//   bench_large_memo_wine [runs=3] [largest size in kB=4096] [step in kB, default: doubling]
// Target: a memo of 1 MB, RTF or plain text, opens in at most 1 s.
#include "app/Program.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace morix::platform::win32;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

// Everything queued for this thread but the timer's messages: no tick opens
// or closes a window behind the harness's back.
void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
           PeekMessageW(&msg, nullptr, WM_TIMER + 1, UINT_MAX, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

BOOL CALLBACK Repaint(HWND h, LPARAM) {
    if (IsWindowVisible(h)) RedrawWindow(h, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}

// The kinds of memo timed: RTF with \'xx escapes, and plain text in code
// page 932 in short lines, in ASCII lines, as one Japanese line without a
// break, as one line of ASCII words, and as one word of ASCII letters (at
// an eighth of each size: the box wraps a long word in quadratic time).
enum class Kind { Rtf, Text, Ascii, OneLine, Words, Letters };
const char* NameOf(Kind k) {
    return k == Kind::Rtf ? "rtf" : k == Kind::Text ? "text" : k == Kind::Ascii ? "ascii" : k == Kind::OneLine ? "line"
         : k == Kind::Words ? "words" : "letters";
}

std::string Memo(std::size_t bytes, Kind kind) {
    if (kind == Kind::Letters) return std::string(bytes / 8, 'a');
    const bool ascii = kind == Kind::Ascii || kind == Kind::Words;
    const std::wstring line = ascii ? L"Meeting at ten in room two; the papers are on the share."
                                                  : L"午前十時から第二会議室で週次の打ち合わせ。資料は共有フォルダーにあります。";
    const int n = WideCharToMultiByte(932, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(932, 0, line.data(), static_cast<int>(line.size()), ansi.data(), n, nullptr, nullptr);
    std::string escaped;
    static const char hex[] = "0123456789abcdef";
    for (unsigned char b : ansi) escaped += b >= 0x80 ? std::string{'\\', '\'', hex[b >> 4], hex[b & 15]} : std::string(1, static_cast<char>(b));
    const bool rtf = kind == Kind::Rtf;
    const std::string head = rtf ? "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 MS UI Gothic;}}\\f0\\fs18 " : "";
    const std::string each = rtf ? escaped + "\\par\r\n" : kind == Kind::OneLine ? ansi : kind == Kind::Words ? ansi + " " : ansi + "\r\n";
    std::string out = head;
    while (out.size() + each.size() + 1 < bytes) out += each;
    return rtf ? out + "}" : out;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::size_t largestKb = argc > 2 ? static_cast<std::size_t>(std::max(0, std::atoi(argv[2]))) : 4096;
    const std::size_t stepKb = argc > 3 ? static_cast<std::size_t>(std::max(0, std::atoi(argv[3]))) : 0;
    Win32Platform services;
    const std::string folder = services.process.ProgramFolder();
    if (!WriteAll(folder + "\\Morix.ini",
                  "[Morix]\r\n" + services.codePage.ToAnsi("起動時のSample.rtf=1\r\nアクティブウインドウへの移動=0\r\n"))) {
        std::fprintf(stderr, "cannot write %s\\Morix.ini\n", folder.c_str());
        return 1;
    }
    SetCursorPos(5, 5);
    morix::Program program(services.platform);
    morix::Module1& m = program.module();
    program.Main();
    if (m.form1() == nullptr) return 1;
    CreateDirectoryW(Widen(folder + "\\Tickdata").c_str(), nullptr);
    m.MemoPath = folder + "\\Tickdata\\" + m.TodayStamp() + ".rtf";

    std::printf("%-6s %10s %12s %12s  %s\n", "kind", "bytes", "open (ms)", "+paint (ms)", "window");
    for (const Kind kind : {Kind::Rtf, Kind::Text, Kind::Ascii, Kind::OneLine, Kind::Words, Kind::Letters}) {
        for (std::size_t kb = 128; largestKb > 0 && kb <= largestKb; kb = stepKb > 0 ? kb + stepKb : kb * 2) {
            const std::string bytes = Memo(kb * 1024, kind);
            std::vector<double> open, paint;
            bool shown = false;
            for (int i = 0; i < runs; ++i) {
                if (!WriteAll(m.MemoPath, bytes)) return 1;
                m.ErrNo = 0;
                const auto t = Clock::now();
                program.memos().ShowMemoWindow();
                open.push_back(MsSince(t));
                EnumThreadWindows(GetCurrentThreadId(), Repaint, 0);
                paint.push_back(MsSince(t));
                shown = m.MemoWindowOpen;
                Pump();
                program.memos().CloseMemoWindow();
                Pump();
            }
            std::sort(open.begin(), open.end());
            std::sort(paint.begin(), paint.end());
            // A memo refused as too large waits only for the user's answer to
            // the message: no time of the box's to print.
            if (shown)
                std::printf("%-6s %10zu %12.1f %12.1f  opened\n", NameOf(kind), bytes.size(), open[open.size() / 2],
                            paint[paint.size() / 2]);
            else
                std::printf("%-6s %10zu %12s %12s  not opened: %s\n", NameOf(kind), bytes.size(), "-", "-",
                            m.ErrNo != 0 ? ("error " + std::to_string(m.ErrNo)).c_str() : "said too large");
            std::fflush(stdout);
        }
    }
    // The rich-text box alone on a hidden window, 1 MB of each kind, with the
    // memo window's right margin of 1024 pixels: the control's own share.
    {
        auto holder = services.ui.NewWindow(morix::platform::WindowKind::Borderless);
        auto box = services.ui.NewRichTextBox(*holder, {"txtMsg", {60, 35, 220, 115}, "", nullptr});
        box->SetFont({"ＭＳ Ｐゴシック", 9, true});
        box->SetRightMargin(1024);
        for (const Kind kind : {Kind::Rtf, Kind::Text}) {
            if (!WriteAll(m.MemoPath, Memo(1024 * 1024, kind))) return 1;
            const auto t = Clock::now();
            box->LoadFile(m.MemoPath);
            std::printf("box alone, %s, 1 MB: LoadFile %.1f ms\n", NameOf(kind), MsSince(t));
            std::fflush(stdout);
            box->SetText("");
        }
    }
    std::printf("target: a memo of 1 MB (RTF or plain text) opens in at most 1000 ms\n");
    ExitProcess(0);
}
