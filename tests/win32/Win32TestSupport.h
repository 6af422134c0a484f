// Helpers of the Win32 component tests: message pumping with a hang guard,
// temporary folders, small BMP/GIF/MIDI files written by the tests
// themselves, real mouse input, reading pixels back, and recorders of the
// events of windows, clips and shaping controls.
#pragma once

#include <windows.h>

#include "base/RuntimeError.h"
#include "platform/Process.h"
#include "platform/Ui.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Wide.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace morix::win32test {

// The run-time error number an action raises, 0 for none.
inline int ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

// Pumps this thread's messages as the program's loop does (a registered
// dialog's go through IsDialogMessageW) until `done` holds; false when it
// still does not after `limitMs` (a guard against a test hanging, not a
// measurement).
inline bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 15000) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (platform::win32::PassToDialog(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start > limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Pumps messages for a while: lets posted and queued work arrive.
inline void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

// A fresh folder under the temporary folder, removed with its files.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        static int counter = 0;
        path_ = std::wstring(base) + L"morix_w32_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = data.cFileName;
                if (name != L"." && name != L"..") DeleteFileW((path_ + L"\\" + name).c_str());
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(path_.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::string Utf8File(const std::wstring& name) const { return platform::win32::Narrow(File(name)); }
    std::string Write(const std::wstring& name, const std::string& bytes) const {
        HANDLE h = CreateFileW(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write a test file");
        DWORD wrote = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
        CloseHandle(h);
        return Utf8File(name);
    }

private:
    std::wstring path_;
};

inline void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A 24-bit BMP whose pixel (x, y) is colour(x, y) (a COLORREF).
inline std::string BmpBytes(int width, int height, const std::function<COLORREF(int, int)>& colour) {
    const int stride = (width * 3 + 3) & ~3;
    std::string out = "BM";
    PutLe(out, static_cast<std::uint32_t>(54 + stride * height), 4);
    PutLe(out, 0, 4);
    PutLe(out, 54, 4);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<std::uint32_t>(width), 4);
    PutLe(out, static_cast<std::uint32_t>(height), 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);
    PutLe(out, static_cast<std::uint32_t>(stride * height), 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            COLORREF c = colour(x, y);
            row.push_back(static_cast<char>(GetBValue(c)));
            row.push_back(static_cast<char>(GetGValue(c)));
            row.push_back(static_cast<char>(GetRValue(c)));
        }
        row.resize(static_cast<std::size_t>(stride), '\0');
        out += row;
    }
    return out;
}

// A GIF89a of four palette colours; `index(x, y)` picks each pixel's colour.
// `transparent` (0-3, or -1) marks a colour as transparent. The LZW stream
// sends a clear code before every pixel, so the code width stays 3 bits.
inline std::string GifBytes(int width, int height, const COLORREF (&palette)[4],
                            const std::function<int(int, int)>& index, int transparent = -1) {
    std::string out = "GIF89a";
    PutLe(out, static_cast<std::uint32_t>(width), 2);
    PutLe(out, static_cast<std::uint32_t>(height), 2);
    out.push_back(static_cast<char>(0x91));  // global table of 4 colours
    out.push_back(0);
    out.push_back(0);
    for (COLORREF c : palette) {
        out.push_back(static_cast<char>(GetRValue(c)));
        out.push_back(static_cast<char>(GetGValue(c)));
        out.push_back(static_cast<char>(GetBValue(c)));
    }
    if (transparent >= 0) {
        out += std::string("\x21\xF9\x04\x01\x00\x00", 6);
        out.push_back(static_cast<char>(transparent));
        out.push_back(0);
    }
    out.push_back(0x2C);
    PutLe(out, 0, 2);
    PutLe(out, 0, 2);
    PutLe(out, static_cast<std::uint32_t>(width), 2);
    PutLe(out, static_cast<std::uint32_t>(height), 2);
    out.push_back(0);
    out.push_back(2);  // minimum code size
    std::vector<unsigned char> data;
    std::uint32_t bits = 0;
    int count = 0;
    auto emit = [&](unsigned code) {
        bits |= code << count;
        count += 3;
        while (count >= 8) {
            data.push_back(static_cast<unsigned char>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            emit(4);
            emit(static_cast<unsigned>(index(x, y)));
        }
    emit(5);
    if (count > 0) data.push_back(static_cast<unsigned char>(bits & 0xFF));
    for (std::size_t i = 0; i < data.size(); i += 255) {
        std::size_t n = data.size() - i < 255 ? data.size() - i : 255;
        out.push_back(static_cast<char>(n));
        out.append(reinterpret_cast<const char*>(data.data() + i), n);
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

// A standard MIDI file (format 0, 480 ticks a beat at 120 beats a minute)
// with one note held for `seconds`.
inline std::string MidiBytes(int seconds) {
    std::string track;
    auto varLen = [&](std::uint32_t v) {
        unsigned char buf[5];
        int n = 0;
        buf[n++] = static_cast<unsigned char>(v & 0x7F);
        while (v >>= 7) buf[n++] = static_cast<unsigned char>(0x80 | (v & 0x7F));
        while (n > 0) track.push_back(static_cast<char>(buf[--n]));
    };
    varLen(0);
    track += std::string("\x90\x48\x60", 3);  // note on, C5
    varLen(static_cast<std::uint32_t>(960 * seconds));
    track += std::string("\x80\x48\x00", 3);
    varLen(0);
    track += std::string("\xFF\x2F\x00", 3);  // end of track
    std::string out = "MThd";
    out += std::string("\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 10);
    out += "MTrk";
    std::uint32_t n = static_cast<std::uint32_t>(track.size());
    out.push_back(static_cast<char>(n >> 24));
    out.push_back(static_cast<char>(n >> 16));
    out.push_back(static_cast<char>(n >> 8));
    out.push_back(static_cast<char>(n));
    return out + track;
}

// The program folder built by the asset generator, as a Windows path
// (Wine shows the Unix root as drive Z:); empty when it is not there.
inline std::wstring DistFolder() {
#ifdef MORIX_DIST_DIR
    std::wstring dir = platform::win32::Widen(MORIX_DIST_DIR);
    if (!dir.empty() && dir[0] == L'/') {
        for (wchar_t& c : dir)
            if (c == L'/') c = L'\\';
        dir = L"Z:" + dir;
    }
    DWORD a = GetFileAttributesW(dir.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) return dir;
#endif
    return {};
}

// Real input: the pointer to a screen point, then buttons.
inline void MoveCursor(int x, int y) {
    SetCursorPos(x, y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((x * 65535.0) / (GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
    in.mi.dy = static_cast<LONG>((y * 65535.0) / (GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

inline void Button(DWORD flag) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    SendInput(1, &in, sizeof in);
}

inline void ClickAt(int x, int y, DWORD down, DWORD up) {
    MoveCursor(x, y);
    PumpFor(30);
    Button(down);
    PumpFor(30);
    Button(up);
    PumpFor(100);
}

// The pixels of a window's client area as 0x00RRGGBB, top-down.
inline std::vector<std::uint32_t> Capture(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(r.right * r.bottom));
    if (pixels.empty()) return pixels;
    HDC dc = GetDC(window);
    HDC mem = CreateCompatibleDC(dc);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = r.right;
    bi.bmiHeader.biHeight = -r.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = p[i] & 0xFFFFFFu;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(window, dc);
    return pixels;
}

inline COLORREF ToColorref(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// Ends "the process" by unwinding to the test instead.
struct ExitCalled {
    int code;
};

class TestProcess final : public platform::Process {
public:
    std::string ProgramFolder() const override { return {}; }
    std::string ExecutablePath() const override { return {}; }
    std::string LocalDataFolder() const override { return {}; }
    std::string RoamingDataFolder() const override { return {}; }
    bool AnotherInstanceRunning() override { return false; }
    void RegisterForRestart() override {}
    bool NormalRunMayWrite(std::string_view) const override { return true; }
    [[noreturn]] void Exit(int code) override { throw ExitCalled{code}; }
};

// Records what a window's handlers were called with.
class RecordingWindowEvents final {
public:
    explicit RecordingWindowEvents(platform::Window& window) {
        window.OnMouseUp([this](platform::MouseButton button) {
            mouseUps.push_back(button);
            if (onMouseUp) onMouseUp();
        });
        window.OnCloseRequest([this] {
            ++closeRequests;
            if (onClose) onClose();
        });
        window.OnEndSession([this] { ++endSessions; });
    }
    std::vector<platform::MouseButton> mouseUps;
    int closeRequests = 0;
    int endSessions = 0;
    std::function<void()> onClose;
    std::function<void()> onMouseUp;
};

class RecordingAnimationEvents final {
public:
    explicit RecordingAnimationEvents(platform::Animation& clip) {
        clip.OnMouseUp([this](platform::MouseButton button) { buttons.push_back(button); });
    }
    std::vector<platform::MouseButton> buttons;
};

class RecordingShaperEvents final {
public:
    explicit RecordingShaperEvents(platform::Shaper& shaper) {
        shaper.OnRightClick([this] { ++rightClicks; });
    }
    int rightClicks = 0;
};

// Counts a timer's ticks.
class TickCounter final {
public:
    explicit TickCounter(platform::Timer& timer) {
        timer.OnTimer([this] {
            ++count;
            if (onTick) onTick();
        });
    }
    int count = 0;
    std::function<void()> onTick;
};

// The path of this test program, to start it again as a second process.
inline std::wstring ThisProgram() {
    wchar_t path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return std::wstring(path, n);
}

// Runs this program again with `arguments`; its exit code, or -1.
inline int RunSelf(const std::wstring& arguments, DWORD limitMs = 60000) {
    std::wstring command = L"\"" + ThisProgram() + L"\" " + arguments;
    // The child's own report would only clutter this program's output.
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = nul;
    si.hStdError = nul;
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    if (!started) return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, limitMs) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    else TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

}  // namespace morix::win32test
