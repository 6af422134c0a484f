#include "platform/win32/Win32Pictures.h"

#include "base/RuntimeError.h"
#include "platform/FileErrors.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Picture.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace morix::platform::win32 {

namespace {

// Releases a COM interface once.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_ != nullptr) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }

private:
    T* p_ = nullptr;
};

bool StartsWith(const std::string& bytes, const char* magic) {
    std::size_t n = std::strlen(magic);
    return bytes.size() >= n && bytes.compare(0, n, magic) == 0;
}

std::shared_ptr<Picture> LoadBitmapFile(const std::wstring& path) {
    HANDLE image = LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (image == nullptr) Raise(err::InvalidPicture);
    return std::make_shared<Win32Picture>(static_cast<HBITMAP>(image));
}

// The picture's bytes as a stream the OLE loader reads from.
bool StreamOver(const std::string& bytes, IStream** stream) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory == nullptr) return false;
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    // The stream frees the memory when it is released.
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, stream))) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

// The size in pixels of the loaded picture: exact from its bitmap handle.
bool PixelSize(IPicture* picture, int& width, int& height) {
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle)) || handle == 0) return false;
    BITMAP info{};
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(handle));
    if (GetObjectW(bitmap, sizeof info, &info) != sizeof info) return false;
    width = info.bmWidth;
    height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    return width > 0 && height > 0;
}

// An empty 32-bit top-down DIB section of the size, and its bits.
UniqueBitmap NewDib(int width, int height, void** bits) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    WindowDc screen(nullptr);
    UniqueBitmap dib(CreateDIBSection(screen.Get(), &format, DIB_RGB_COLORS, bits, nullptr, 0));
    if (!dib) Raise(err::OutOfMemory);
    return dib;
}

std::shared_ptr<Picture> LoadGifBytes(const std::string& bytes) {
    ComPtr<IStream> stream;
    if (!StreamOver(bytes, stream.Out())) Raise(err::OutOfMemory);
    ComPtr<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(bytes.size()), FALSE, __uuidof(IPicture),
                              reinterpret_cast<void**>(picture.Out()))) ||
        picture.Get() == nullptr)
        Raise(err::InvalidPicture);
    SHORT type = PICTYPE_UNINITIALIZED;
    int width = 0, height = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || !PixelSize(picture.Get(), width, height))
        Raise(err::InvalidPicture);
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    picture->get_Width(&himetricWidth);
    picture->get_Height(&himetricHeight);

    void* bits = nullptr;
    UniqueBitmap target = NewDib(width, height, &bits);
    {
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        SelectedObject selected(dc.Get(), target.Get());
        const std::uint32_t mask = MaskColour;
        UniqueBrush fill(CreateSolidBrush(RGB((mask >> 16) & 0xFF, (mask >> 8) & 0xFF, mask & 0xFF)));
        RECT all{0, 0, width, height};
        FillRect(dc.Get(), &all, fill.Get());
        // HIMETRIC runs bottom-up: start at the bottom edge, go up.
        if (FAILED(picture->Render(dc.Get(), 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight,
                                   nullptr)))
            Raise(err::InvalidPicture);
        GdiFlush();
    }
    return std::make_shared<Win32Picture>(target.Release());
}


}  // namespace

std::shared_ptr<Picture> Win32Pictures::FromPixels(int width, int height, const std::vector<std::uint32_t>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        Raise(err::InvalidPicture);
    void* bits = nullptr;
    UniqueBitmap dib = NewDib(width, height, &bits);
    // 0xRRGGBB is the layout of a 32-bit DIB's pixel as a little-endian word.
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
    GdiFlush();
    return std::make_shared<Win32Picture>(dib.Release());
}

std::shared_ptr<Picture> Win32Pictures::ProgramIcon(int size) {
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    void* bits = nullptr;
    UniqueBitmap dib = NewDib(size, size, &bits);
    {
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        SelectedObject selected(dc.Get(), dib.Get());
        RECT all{0, 0, size, size};
        FillRect(dc.Get(), &all, GetSysColorBrush(COLOR_BTNFACE));
        if (icon != nullptr) DrawIconEx(dc.Get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        GdiFlush();
    }
    if (icon != nullptr) DestroyIcon(icon);
    return std::make_shared<Win32Picture>(dib.Release());
}

Win32Pictures::Win32Pictures() {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comInitialised_ = SUCCEEDED(hr);  // S_FALSE too: it must be balanced
}

Win32Pictures::~Win32Pictures() {
    if (comInitialised_) CoUninitialize();
}

std::shared_ptr<Picture> Win32Pictures::Load(std::string_view path) {
    const std::wstring file = Widen(path);
    Win32Files files;
    RequireExistingFile(files, path);
    std::optional<std::string> bytes = files.ReadAll(path);
    if (!bytes) Raise(err::PathFileAccess, path);
    if (StartsWith(*bytes, "BM")) return LoadBitmapFile(file);
    if (StartsWith(*bytes, "GIF87a") || StartsWith(*bytes, "GIF89a")) return LoadGifBytes(*bytes);
    Raise(err::InvalidPicture);
}

}  // namespace morix::platform::win32
