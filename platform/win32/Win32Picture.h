// Implements platform::Picture over a 32-bit or file-format DIB section
// (HBITMAP) that it owns; the other Win32 components draw it (the window
// background) or read its pixels (the shaping mask) through Bitmap().
#pragma once

#include "platform/Picture.h"
#include "platform/win32/Win32Handles.h"

#include <windows.h>

#include <memory>

namespace morix::platform::win32 {

class Win32Picture final : public Picture {
public:
    // Takes ownership of `bitmap`.
    explicit Win32Picture(HBITMAP bitmap);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    HBITMAP Bitmap() const { return bitmap_.Get(); }

private:
    UniqueBitmap bitmap_;
    int width_ = 0;
    int height_ = 0;
};

// Paints the picture from the client area's top-left (scaled to the whole
// area when `stretch`), and the rest of the area with `rest`; with no
// picture, all of it with `rest`.
void PaintPicture(HDC dc, const RECT& client, const Win32Picture* picture, HBRUSH rest, bool stretch = false);

// The Win32Picture behind a platform::Picture (nullptr stays nullptr); throws
// std::invalid_argument for a picture of another implementation.
std::shared_ptr<Win32Picture> AsWin32(std::shared_ptr<Picture> picture);

}  // namespace morix::platform::win32
