// The generated program folder against the real Windows components under
// Wine: every clip in the animation control (SysAnimate32) down to the pixels
// of its last frame, the face pictures through LoadImage, the balloon
// pictures through OleLoadPicture, the sample memo through RichEdit, and the
// face and balloons shaped on screen. The folder is the one the native build
// writes (dist/Morix above the build tree, or MORIX_DIST_DIR).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "base/Scale.h"
#include "tools/assetgen/SampleMemo.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr COLORREF kMask = RGB(192, 192, 192);

std::wstring Widen(std::string_view utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring w(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), w.data(), n);
    return w;
}

bool IsFile(const std::wstring& p) {
    const DWORD a = GetFileAttributesW(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ProgramFolder() {
    wchar_t buf[MAX_PATH * 2];
    if (DWORD n = GetEnvironmentVariableW(L"MORIX_DIST_DIR", buf, MAX_PATH * 2); n > 0 && n < MAX_PATH * 2)
        return buf;
    GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
    std::wstring dir = buf;
    for (;;) {
        const auto cut = dir.find_last_of(L"\\/");
        if (cut == std::wstring::npos) return L"";
        dir.resize(cut);
        if (IsFile(dir + L"\\dist\\Morix\\Sample.rtf")) return dir + L"\\dist\\Morix";
    }
}

const std::wstring& Folder() {
    static const std::wstring f = ProgramFolder();
    return f;
}

std::vector<std::wstring> SubFolders(const std::wstring& dir) {
    std::vector<std::wstring> out;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && fd.cFileName[0] != L'.') out.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
}

Bytes ReadAll(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    Bytes b(GetFileSize(h, nullptr));
    DWORD got = 0;
    ReadFile(h, b.data(), DWORD(b.size()), &got, nullptr);
    CloseHandle(h);
    b.resize(got);
    return b;
}

std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return b.at(at) | (b.at(at + 1) << 8) | (b.at(at + 2) << 16) | (std::uint32_t(b.at(at + 3)) << 24);
}

// The last frame of one of our clips as the file holds it: the header
// fields at their fixed places (the writer's layout), the palette from
// 'strf', the frame from the last 'movi' chunk, decoded from RLE8.
struct Frame {
    int width = 0, height = 0, count = 0;
    std::vector<COLORREF> pixels;  // top-down
};

Frame LastFrame(const Bytes& avi) {
    Frame f;
    std::size_t at = 12;
    std::size_t strf = 0, lastChunk = 0, lastSize = 0;
    // Walk the top level and the lists to find strf and the movi chunks.
    std::vector<std::pair<std::size_t, std::size_t>> lists{{12, avi.size()}};
    while (!lists.empty()) {
        auto [from, to] = lists.back();
        lists.pop_back();
        for (at = from; at + 8 <= to;) {
            const std::string id(avi.begin() + long(at), avi.begin() + long(at + 4));
            const std::uint32_t size = Le32(avi, at + 4);
            if (id == "LIST") lists.push_back({at + 12, at + 8 + size});
            if (id == "avih") f.count = int(Le32(avi, at + 8 + 16));
            if (id == "strf") strf = at + 8;
            if (id == "00dc") lastChunk = at + 8, lastSize = size;
            at += 8 + size + (size & 1);
        }
    }
    f.width = int(Le32(avi, strf + 4));
    f.height = int(Le32(avi, strf + 8));
    const std::uint32_t colours = Le32(avi, strf + 32);
    std::vector<COLORREF> pal;
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::size_t p = strf + 40 + 4 * i;
        pal.push_back(RGB(avi[p + 2], avi[p + 1], avi[p]));
    }
    f.pixels.assign(std::size_t(f.width) * f.height, 0);
    int x = 0, row = 0;
    for (std::size_t i = lastChunk; i + 1 < lastChunk + lastSize;) {
        const int n = avi[i], v = avi[i + 1];
        i += 2;
        auto put = [&](int idx) {
            if (x < f.width && row < f.height) f.pixels[std::size_t(f.height - 1 - row) * f.width + x] = pal.at(idx);
            ++x;
        };
        if (n) {
            for (int k = 0; k < n; ++k) put(v);
        } else if (v == 0) {
            x = 0, ++row;
        } else if (v == 1) {
            break;
        } else {
            for (int k = 0; k < v; ++k) put(avi[i + k]);
            i += v + (v & 1);
        }
    }
    return f;
}

// Pixels of a window's client area, read through its DC.
std::vector<COLORREF> Capture(HWND hwnd, HDC source, int x0, int y0, int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(source);
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, source, x0, y0, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> out(std::size_t(w) * h);
    const auto* p = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    (void)hwnd;
    return out;
}

void Pump(DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    do {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(5);
    } while (int(until - GetTickCount()) > 0);
}

// ------------------------------------------------------------ windows

struct Painted {
    HBITMAP bitmap = nullptr;
    COLORREF fill = 0;
};

LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* p = reinterpret_cast<Painted*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_ERASEBKGND) return 1;
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        if (p && p->bitmap) {
            HDC mem = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(mem, p->bitmap);
            BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
        } else if (p) {
            HBRUSH b = CreateSolidBrush(p->fill);
            FillRect(dc, &rc, b);
            DeleteObject(b);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_COMMAND && HIWORD(wp) == ACN_STOP) {
        SetPropW(hwnd, L"stopped", HANDLE(1));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

const wchar_t* PictureClass() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_ANIMATE_CLASS};
        InitCommonControlsEx(&icc);
        WNDCLASSW wc{};
        wc.lpfnWndProc = PictureProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MorixAssetsTest";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        return RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return L"MorixAssetsTest";
}

HWND PictureWindow(Painted* p, int x, int y, int w, int h) {
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, PictureClass(), L"", WS_POPUP, x, y, w, h, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, LONG_PTR(p));
    return hwnd;
}

// The outline: every pixel not of the mask colour belongs to the window.
HRGN RegionFromMask(HBITMAP picture) {
    BITMAP bm{};
    GetObjectW(picture, sizeof bm, &bm);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, picture);
    const auto px = Capture(nullptr, mem, 0, 0, bm.bmWidth, bm.bmHeight);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth;) {
            if (px[std::size_t(y) * bm.bmWidth + x] == kMask) {
                ++x;
                continue;
            }
            int end = x;
            while (end < bm.bmWidth && px[std::size_t(y) * bm.bmWidth + end] != kMask) ++end;
            HRGN run = CreateRectRgn(x, y, end, y + 1);
            CombineRgn(rgn, rgn, run, RGN_OR);
            DeleteObject(run);
            x = end;
        }
    return rgn;
}

HBITMAP LoadBmp(const std::wstring& path) {
    return HBITMAP(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

struct OlePicture {
    IPicture* picture = nullptr;
    ~OlePicture() {
        if (picture) picture->Release();
    }
    HBITMAP Bitmap() const {
        OLE_HANDLE h = 0;
        if (picture) picture->get_Handle(&h);
        return HBITMAP(UINT_PTR(h));
    }
};

bool LoadOlePicture(const std::wstring& path, OlePicture& out) {
    const Bytes data = ReadAll(path);
    if (data.empty()) return false;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, data.size());
    std::memcpy(GlobalLock(mem), data.data(), data.size());
    GlobalUnlock(mem);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(mem, TRUE, &stream))) return false;
    const HRESULT hr = OleLoadPicture(stream, LONG(data.size()), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(&out.picture));
    stream->Release();
    return SUCCEEDED(hr) && out.picture;
}

struct ComInit {
    ComInit() { CoInitialize(nullptr); }
    ~ComInit() { CoUninitialize(); }
};

std::wstring TwoDigits(int n) {
    wchar_t b[8];
    swprintf(b, 8, L"%02d", n);
    return b;
}

int Px(int pixels, int percent) { return morix::ScaledPixels(pixels, percent); }

// Where a folder keeps its pictures for a scale: 100 % in the folder itself.
std::wstring SetFolder(int percent) { return percent == 100 ? L"" : L"\\" + std::to_wstring(percent); }

class Assets : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Folder().empty()) << "no program folder: build the native target `assets` first "
                                          "(or set MORIX_DIST_DIR)";
        designs_ = SubFolders(Folder() + L"\\Design");
        frames_ = SubFolders(Folder() + L"\\Frame");
        ASSERT_GE(designs_.size(), 2u);
        ASSERT_GE(frames_.size(), 2u);
    }
    std::vector<std::wstring> designs_, frames_;
};

TEST_F(Assets, EveryClipOpensInTheAnimationControlAndShowsItsLastFrame) {
    Painted face{nullptr, RGB(40, 40, 40)};
    HWND parent = PictureWindow(&face, 60, 60, Px(66, 200), Px(22, 200));  // room for the largest clip
    HWND anim = CreateWindowExW(0, ANIMATE_CLASSW, L"", WS_CHILD | WS_VISIBLE, 5, 0, 0, 0, parent, HMENU(1),
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(anim);
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    Pump(50);
    int opened = 0;
    for (const auto& design : designs_)
        for (int percent : morix::kScaleSets)
            for (int n = 0; n < 60; ++n) {
                const std::wstring path =
                    Folder() + L"\\Design\\" + design + SetFolder(percent) + L"\\" + TwoDigits(n) + L".avi";
                SCOPED_TRACE(testing::Message() << std::string(path.begin(), path.end()));
                const Frame expected = LastFrame(ReadAll(path));
                ASSERT_GT(expected.count, 1);
                ASSERT_TRUE(Animate_Open(anim, path.c_str())) << "the animation control refuses the clip";
                ++opened;
                RECT rc;
                GetWindowRect(anim, &rc);
                EXPECT_EQ(rc.right - rc.left, expected.width);
                EXPECT_EQ(rc.bottom - rc.top, expected.height);
                // The control knows exactly as many frames as the file holds.
                EXPECT_FALSE(Animate_Seek(anim, expected.count));
                ASSERT_TRUE(Animate_Seek(anim, expected.count - 1));
                HDC dc = GetDC(anim);
                const auto shown = Capture(anim, dc, 0, 0, expected.width, expected.height);
                ReleaseDC(anim, dc);
                int differ = 0;
                for (std::size_t i = 0; i < shown.size(); ++i) differ += shown[i] != expected.pixels[i];
                EXPECT_EQ(differ, 0) << "pixels of the last frame shown otherwise";
                Animate_Close(anim);
            }
    EXPECT_EQ(opened, 60 * int(designs_.size() * morix::kScaleSets.size()));
    DestroyWindow(parent);
}

TEST_F(Assets, ClipPlayedOnceKeepsItsLastFrameThroughARepaint) {
    Painted face{nullptr, RGB(40, 40, 40)};
    HWND parent = PictureWindow(&face, 60, 100, 66, 22);
    HWND anim = CreateWindowExW(0, ANIMATE_CLASSW, L"", WS_CHILD | WS_VISIBLE, 36, 0, 0, 0, parent, HMENU(2),
                                GetModuleHandleW(nullptr), nullptr);
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    const std::wstring path = Folder() + L"\\Design\\Tidewalk\\37.avi";
    const Frame expected = LastFrame(ReadAll(path));
    ASSERT_TRUE(Animate_Open(anim, path.c_str()));
    ASSERT_TRUE(Animate_Play(anim, 0, -1, 1));
    // The end is reported with ACN_STOP; the wait is a guard, not a measure.
    for (int i = 0; i < 1000 && !GetPropW(parent, L"stopped"); ++i) Pump(10);
    ASSERT_TRUE(GetPropW(parent, L"stopped")) << "the clip never finished";
    RemovePropW(parent, L"stopped");
    InvalidateRect(parent, nullptr, TRUE);
    UpdateWindow(parent);
    Pump(50);
    HDC dc = GetDC(anim);
    const auto shown = Capture(anim, dc, 0, 0, expected.width, expected.height);
    ReleaseDC(anim, dc);
    int differ = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) differ += shown[i] != expected.pixels[i];
    EXPECT_EQ(differ, 0);
    Animate_Stop(anim);
    Animate_Close(anim);
    DestroyWindow(parent);
}

TEST_F(Assets, FacePicturesLoadAndTheOutlineIsCutInTheMaskColour) {
    ComInit com;
    for (const auto& design : designs_)
        for (int percent : morix::kScaleSets) {
            SCOPED_TRACE(testing::Message() << std::string(design.begin(), design.end()) << " " << percent);
            const std::wstring dir = Folder() + L"\\Design\\" + design + SetFolder(percent);
            HBITMAP back = LoadBmp(dir + L"\\Back.bmp"), tp = LoadBmp(dir + L"\\TP.bmp");
            ASSERT_TRUE(back);
            ASSERT_TRUE(tp);
            const int w = Px(66, percent), h = Px(22, percent);
            BITMAP bm{};
            GetObjectW(back, sizeof bm, &bm);
            EXPECT_EQ(bm.bmWidth, w);
            EXPECT_EQ(bm.bmHeight, h);
            GetObjectW(tp, sizeof bm, &bm);
            ASSERT_EQ(bm.bmWidth, w);
            ASSERT_EQ(bm.bmHeight, h);
            HRGN rgn = RegionFromMask(tp);
            RECT box;
            EXPECT_EQ(GetRgnBox(rgn, &box), COMPLEXREGION) << "the outline is a plain rectangle";
            EXPECT_FALSE(PtInRegion(rgn, 0, 0));
            EXPECT_FALSE(PtInRegion(rgn, w - 1, h - 1));
            EXPECT_TRUE(PtInRegion(rgn, w / 2, h / 2));
            EXPECT_TRUE(PtInRegion(rgn, Px(5, percent), 0)) << "the hour clip's corner is cut away";
            EXPECT_TRUE(PtInRegion(rgn, Px(36, percent) + Px(25, percent) - 1, h - 1))
                << "the minute clip's corner is cut away";
            DeleteObject(rgn);
            OlePicture ole;
            EXPECT_TRUE(LoadOlePicture(dir + L"\\Back.bmp", ole)) << "OleLoadPicture refuses Back.bmp";
            DeleteObject(back);
            DeleteObject(tp);
        }
}

TEST_F(Assets, BalloonPicturesLoadThroughOleLoadPictureWithTheirPointers) {
    ComInit com;
    const std::array<const wchar_t*, 4> names = {L"MsgLU.gif", L"MsgLD.gif", L"MsgRU.gif", L"MsgRD.gif"};
    for (const auto& frame : frames_)
        for (int percent : morix::kScaleSets)
            for (const wchar_t* name : names) {
                const std::wstring path = Folder() + L"\\Frame\\" + frame + SetFolder(percent) + L"\\" + name;
                SCOPED_TRACE(testing::Message() << std::string(path.begin(), path.end()));
                OlePicture pic;
                ASSERT_TRUE(LoadOlePicture(path, pic));
                short type = 0;
                pic.picture->get_Type(&type);
                EXPECT_EQ(type, PICTYPE_BITMAP);
                OLE_XSIZE_HIMETRIC w = 0;
                OLE_YSIZE_HIMETRIC h = 0;
                pic.picture->get_Width(&w);
                pic.picture->get_Height(&h);
                EXPECT_EQ(MulDiv(w, 96, 2540), Px(280, percent));
                EXPECT_EQ(MulDiv(h, 96, 2540), Px(140, percent));
                HRGN rgn = RegionFromMask(pic.Bitmap());
                const bool left = name[3] == L'L', up = name[4] == L'U';
                const int side = left ? Px(280, percent) - 1 : 0, opposite = left ? 0 : Px(280, percent) - 1;
                const int clockRow = Px(up ? 129 : 9, percent), otherRow = Px(up ? 9 : 129, percent);
                int reach = 0;
                for (int dx = 0; dx < Px(6, percent); ++dx) reach += PtInRegion(rgn, left ? side - dx : side + dx, clockRow);
                EXPECT_GT(reach, 0) << "the pointer does not reach the clock's side";
                EXPECT_FALSE(PtInRegion(rgn, side, otherRow));
                EXPECT_FALSE(PtInRegion(rgn, opposite, clockRow));
                const int textLeft = Px(60, percent), textTop = Px(35, percent);
                RECT text{textLeft, textTop, textLeft + Px(160, percent), textTop + Px(80, percent)};
                for (int y = text.top; y < text.bottom; y += 5)
                    for (int x = text.left; x < text.right; x += 5) ASSERT_TRUE(PtInRegion(rgn, x, y)) << x << "," << y;
                DeleteObject(rgn);
            }
}

DWORD CALLBACK StreamFromBytes(DWORD_PTR cookie, LPBYTE buf, LONG want, LONG* got) {
    auto* src = reinterpret_cast<std::pair<const Bytes*, std::size_t>*>(cookie);
    const std::size_t n = std::min<std::size_t>(std::size_t(want), src->first->size() - src->second);
    std::memcpy(buf, src->first->data() + src->second, n);
    src->second += n;
    *got = LONG(n);
    return 0;
}

TEST_F(Assets, SampleMemoLoadsIntoRichEditAsTheJapaneseText) {
    HMODULE lib = LoadLibraryW(L"msftedit.dll");
    const wchar_t* cls = MSFTEDIT_CLASS;
    if (!lib) {
        lib = LoadLibraryW(L"riched20.dll");
        cls = RICHEDIT_CLASSW;
    }
    ASSERT_TRUE(lib);
    HWND edit = CreateWindowExW(0, cls, L"", WS_POPUP | ES_MULTILINE, 0, 0, 160, 80, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(edit);
    const Bytes rtf = ReadAll(Folder() + L"\\Sample.rtf");
    ASSERT_FALSE(rtf.empty());
    std::pair<const Bytes*, std::size_t> cookie{&rtf, 0};
    EDITSTREAM es{DWORD_PTR(&cookie), 0, StreamFromBytes};
    const LRESULT chars = SendMessageW(edit, EM_STREAMIN, SF_RTF, LPARAM(&es));
    EXPECT_EQ(es.dwError, 0u);
    EXPECT_GT(chars, 0);
    std::wstring text(std::size_t(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(edit, text.data(), int(text.size()))));
    std::wstring got;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') {
            got += L'\n';
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            got += text[i];
        }
    }
    while (!got.empty() && got.back() == L'\n') got.pop_back();
    std::string expected(assetgen::kSampleMemoTitle);
    for (auto line : assetgen::kSampleMemoBody) expected += "\n" + std::string(line);
    EXPECT_TRUE(got == Widen(expected)) << "RichEdit reads another text";
    // The body's characters carry the Japanese character set.
    SendMessageW(edit, EM_SETSEL, 30, 31);
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_CHARSET | CFM_FACE;
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
    EXPECT_EQ(cf.bCharSet, SHIFTJIS_CHARSET);
    DestroyWindow(edit);
}

// Faces and balloons shown shaped on the screen, as the clock shows them,
// at a scale: a face of `percent` is its set's Back.bmp cut by its TP.bmp
// with the last frames of two clips at the scale's places.
class Preview {
public:
    struct Face {
        Painted paint;
        HWND hwnd;
        HWND clips[2];
        int x, y, percent;
    };
    explicit Preview(int width, int height) {
        backdrop_ = PictureWindow(&desk, 0, 0, width, height);
        SetWindowPos(backdrop_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(backdrop_, SW_SHOWNOACTIVATE);
    }
    ~Preview() {
        for (auto& f : faces) {
            for (HWND c : f->clips) Animate_Close(c);
            DestroyWindow(f->hwnd);
            DeleteObject(f->paint.bitmap);
        }
        for (auto& b : balloons_) DestroyWindow(b->hwnd);
        DestroyWindow(backdrop_);
    }
    void AddFace(const std::wstring& design, int percent, int hour, int minute, int x, int y) {
        auto f = std::make_unique<Face>();
        const std::wstring dir = Folder() + L"\\Design\\" + design + SetFolder(percent);
        f->paint.bitmap = LoadBmp(dir + L"\\Back.bmp");
        f->x = x, f->y = y, f->percent = percent;
        f->hwnd = PictureWindow(&f->paint, x, y, Px(66, percent), Px(22, percent));
        HBITMAP tp = LoadBmp(dir + L"\\TP.bmp");
        SetWindowRgn(f->hwnd, RegionFromMask(tp), FALSE);
        DeleteObject(tp);
        const int lefts[2] = {Px(5, percent), Px(36, percent)}, numbers[2] = {hour, minute};
        for (int i = 0; i < 2; ++i) {
            f->clips[i] = CreateWindowExW(0, ANIMATE_CLASSW, L"", WS_CHILD | WS_VISIBLE, lefts[i], 0, 0, 0, f->hwnd,
                                          HMENU(INT_PTR(10 + i)), GetModuleHandleW(nullptr), nullptr);
            const std::wstring clip = dir + L"\\" + TwoDigits(numbers[i]) + L".avi";
            EXPECT_TRUE(Animate_Open(f->clips[i], clip.c_str()));
            Animate_Seek(f->clips[i], LastFrame(ReadAll(clip)).count - 1);
        }
        ShowWindow(f->hwnd, SW_SHOWNOACTIVATE);
        faces.push_back(std::move(f));
    }
    bool AddBalloon(const std::wstring& frame, int percent, const wchar_t* name, int x, int y) {
        auto b = std::make_unique<Balloon>();
        if (!LoadOlePicture(Folder() + L"\\Frame\\" + frame + SetFolder(percent) + L"\\" + name, b->picture))
            return false;
        b->paint.bitmap = b->picture.Bitmap();
        b->hwnd = PictureWindow(&b->paint, x, y, Px(280, percent), Px(140, percent));
        SetWindowRgn(b->hwnd, RegionFromMask(b->paint.bitmap), FALSE);
        ShowWindow(b->hwnd, SW_SHOWNOACTIVATE);
        balloons_.push_back(std::move(b));
        return true;
    }
    // Seen on the screen: the desktop through the cut corners, the face
    // inside, and each face's hour clip as its last frame.
    void ExpectShownAsDrawn(const std::wstring& design, int hour) {
        Pump(300);
        for (auto& f : faces)
            for (HWND c : f->clips) InvalidateRect(c, nullptr, FALSE);
        Pump(200);
        HDC screen = GetDC(nullptr);
        for (auto& f : faces) {
            const int w = Px(66, f->percent), h = Px(22, f->percent);
            EXPECT_EQ(GetPixel(screen, f->x, f->y), desk.fill) << "corner not cut at " << f->x << "," << f->y;
            EXPECT_EQ(GetPixel(screen, f->x + w - 1, f->y + h - 1), desk.fill);
            EXPECT_NE(GetPixel(screen, f->x + w / 2, f->y + h / 2), desk.fill);
        }
        const Face& sample = *faces.back();
        const std::wstring dir = Folder() + L"\\Design\\" + design + SetFolder(sample.percent);
        const Frame last = LastFrame(ReadAll(dir + L"\\" + TwoDigits(hour) + L".avi"));
        const int clipLeft = sample.x + Px(5, sample.percent);
        const auto shown = Capture(nullptr, screen, clipLeft, sample.y, last.width, last.height);
        int differ = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) differ += shown[i] != last.pixels[i];
        EXPECT_EQ(differ, 0) << "the hour clip on the screen is not its last frame";
        ReleaseDC(nullptr, screen);
        // With MORIX_PREVIEW_HOLD_SECONDS set the windows stay up that long,
        // so that a screenshot of the display can be taken from outside.
        wchar_t hold[16];
        if (GetEnvironmentVariableW(L"MORIX_PREVIEW_HOLD_SECONDS", hold, 16)) Pump(DWORD(_wtoi(hold)) * 1000);
    }

    Painted desk{nullptr, RGB(58, 110, 165)};
    std::vector<std::unique_ptr<Face>> faces;

private:
    struct Balloon {
        OlePicture picture;
        Painted paint;
        HWND hwnd;
    };
    HWND backdrop_;
    std::vector<std::unique_ptr<Balloon>> balloons_;
};

// The face and balloons as the user sees them at 100 %.
TEST_F(Assets, PreviewShowsShapedFacesAndBalloonsOnTheScreen) {
    ComInit com;
    Preview preview(780, 730);
    std::vector<std::wstring> designs = designs_;
    std::sort(designs.begin(), designs.end(), [](auto& a, auto& b) { return (a == L"Tidewalk") > (b == L"Tidewalk"); });
    const int times[][2] = {{12, 34}, {9, 58}, {23, 59}, {0, 0}, {7, 41}};
    for (std::size_t d = 0; d < designs.size() && d < 2; ++d)
        for (int t = 0; t < 5; ++t)
            preview.AddFace(designs[d], 100, times[t][0], times[t][1], 20 + t * 76 + int(d) * 380, 16);

    std::vector<std::wstring> frames = frames_;
    std::sort(frames.begin(), frames.end(), [](auto& a, auto& b) { return (a == L"Ellip01") > (b == L"Ellip01"); });
    for (std::size_t fr = 0; fr < frames.size() && fr < 2; ++fr) {
        const int oy = 60 + int(fr) * 335;
        struct Cell {
            const wchar_t* name;
            int ox, oy, clockX, clockY, balloonX, balloonY;
        };
        const Cell cells[4] = {
            {L"MsgRD.gif", 20, oy, 0, 0, 66, 0},
            {L"MsgLD.gif", 406, oy, 280, 0, 0, 0},
            {L"MsgRU.gif", 20, oy + 165, 0, 120, 66, 0},
            {L"MsgLU.gif", 406, oy + 165, 280, 120, 0, 0},
        };
        for (const Cell& c : cells) {
            preview.AddFace(L"Tidewalk", 100, 10, 25, c.ox + c.clockX, c.oy + c.clockY);
            ASSERT_TRUE(preview.AddBalloon(frames[fr], 100, c.name, c.ox + c.balloonX, c.oy + c.balloonY));
        }
    }
    preview.ExpectShownAsDrawn(L"Tidewalk", 10);
}

// The same face and balloon at each scale, side by side: each drawn for its
// size, none enlarged from another.
TEST_F(Assets, PreviewShowsEachScaleSideBySide) {
    ComInit com;
    Preview preview(1260, 580);
    int lanternX = 20;
    for (int percent : morix::kScaleSets) {
        preview.AddFace(L"Lantern", percent, 12, 34, lanternX, 16);
        lanternX += Px(66, percent) + 24;
    }
    // 100 and 125 % in the first row, 150 and 200 % in the second.
    const struct {
        int percent, x, y;
    } cells[] = {{100, 20, 80}, {125, 390, 80}, {150, 20, 280}, {200, 563, 280}};
    for (auto c : cells) {
        preview.AddFace(L"Tidewalk", c.percent, 10, 25, c.x, c.y);
        ASSERT_TRUE(preview.AddBalloon(L"Ellip01", c.percent, L"MsgRD.gif", c.x + Px(66, c.percent), c.y));
    }
    preview.ExpectShownAsDrawn(L"Tidewalk", 10);
}

}  // namespace
