#include "platform/win32/Win32Picture.h"

#include <algorithm>
#include <stdexcept>

namespace morix::platform::win32 {

Win32Picture::Win32Picture(HBITMAP bitmap) : bitmap_(bitmap) {
    BITMAP info{};
    if (bitmap != nullptr && GetObjectW(bitmap, sizeof info, &info) == sizeof info) {
        width_ = info.bmWidth;
        height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
}

void PaintPicture(HDC dc, const RECT& client, const Win32Picture* picture, HBRUSH rest, bool stretch) {
    LONG width = 0, height = 0;
    if (picture != nullptr && picture->Bitmap() != nullptr) {
        UniqueMemoryDc source(CreateCompatibleDC(dc));
        SelectedObject selected(source.Get(), picture->Bitmap());
        if (stretch) {
            width = client.right;
            height = client.bottom;
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            StretchBlt(dc, 0, 0, width, height, source.Get(), 0, 0, picture->Width(), picture->Height(), SRCCOPY);
        } else {
            width = picture->Width();
            height = picture->Height();
            BitBlt(dc, 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
        }
    }
    // Whatever the picture does not cover.
    RECT right{width, 0, client.right, client.bottom};
    RECT below{0, height, std::min<LONG>(width, client.right), client.bottom};
    if (right.left < right.right) FillRect(dc, &right, rest);
    if (below.top < below.bottom) FillRect(dc, &below, rest);
}

std::shared_ptr<Win32Picture> AsWin32(std::shared_ptr<Picture> picture) {
    if (!picture) return nullptr;
    auto win32 = std::dynamic_pointer_cast<Win32Picture>(std::move(picture));
    if (!win32) throw std::invalid_argument("the picture was not loaded by the Win32 pictures");
    return win32;
}

}  // namespace morix::platform::win32
