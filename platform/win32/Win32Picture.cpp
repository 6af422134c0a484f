#include "platform/win32/Win32Picture.h"

#include <stdexcept>

namespace morix::platform::win32 {

Win32Picture::Win32Picture(HBITMAP bitmap) : bitmap_(bitmap) {
    BITMAP info{};
    if (bitmap != nullptr && GetObjectW(bitmap, sizeof info, &info) == sizeof info) {
        width_ = info.bmWidth;
        height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
}

std::shared_ptr<Win32Picture> AsWin32(std::shared_ptr<Picture> picture) {
    if (!picture) return nullptr;
    auto win32 = std::dynamic_pointer_cast<Win32Picture>(std::move(picture));
    if (!win32) throw std::invalid_argument("the picture was not loaded by the Win32 pictures");
    return win32;
}

}  // namespace morix::platform::win32
