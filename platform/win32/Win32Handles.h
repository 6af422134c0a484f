// Owners for the user32/gdi32/kernel32 handles of the Win32 components:
// windows, menus, bitmaps, regions, brushes, fonts, memory DCs, loaded
// modules, file searches, hooks, window DCs and objects selected into a DC. Each frees its handle
// exactly once; none is copyable.
#pragma once

#include <windows.h>

#include <utility>

namespace morix::platform::win32 {

template <typename H, typename Free>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) Reset(std::exchange(o.h_, nullptr));
        return *this;
    }

    H Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    // Gives the handle to a new owner (SetWindowRgn, a parent menu).
    H Release() { return std::exchange(h_, nullptr); }
    void Reset(H h = nullptr) {
        if (h_ != nullptr) Free{}(h_);
        h_ = h;
    }

private:
    H h_ = nullptr;
};

struct DestroyWindowFree {
    void operator()(HWND h) const { DestroyWindow(h); }
};
struct DestroyMenuFree {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct DeleteObjectFree {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DeleteDcFree {
    void operator()(HDC h) const { DeleteDC(h); }
};
struct FreeLibraryFree {
    void operator()(HMODULE h) const { FreeLibrary(h); }
};
struct FindCloseFree {
    void operator()(HANDLE h) const { FindClose(h); }
};
struct UnhookFree {
    void operator()(HHOOK h) const { UnhookWindowsHookEx(h); }
};

using UniqueWindow = UniqueHandle<HWND, DestroyWindowFree>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenuFree>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObjectFree>;
using UniqueRegion = UniqueHandle<HRGN, DeleteObjectFree>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteObjectFree>;
using UniqueFont = UniqueHandle<HFONT, DeleteObjectFree>;
using UniqueMemoryDc = UniqueHandle<HDC, DeleteDcFree>;
using UniqueModule = UniqueHandle<HMODULE, FreeLibraryFree>;
// A FindFirstFileW search; wrap only a handle other than INVALID_HANDLE_VALUE.
using UniqueFind = UniqueHandle<HANDLE, FindCloseFree>;
using UniqueHook = UniqueHandle<HHOOK, UnhookFree>;

// GetDC / ReleaseDC of one window (nullptr: the screen).
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace morix::platform::win32
