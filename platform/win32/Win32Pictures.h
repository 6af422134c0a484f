// Implements platform::Pictures: BMP files through LoadImageW
// (LR_LOADFROMFILE | LR_CREATEDIBSECTION), GIF files through OleLoadPicture
// over an IStream of the file's bytes (CreateStreamOnHGlobal), rendered with
// IPicture::Render into a 32-bit DIB section whose transparent pixels, if the
// GIF has any, take the mask colour RGB(192,192,192). The file errors of
// platform/FileErrors first (missing folder 76, missing file 53, a folder 75),
// then 481 for a file that is neither picture. Pictures the program draws
// become 32-bit DIB sections of their pixels; the program's icon is its icon
// resource 1 (LoadImageW) drawn with DrawIconEx on the dialogs' face colour.
#pragma once

#include "platform/Picture.h"

namespace morix::platform::win32 {

class Win32Pictures final : public Pictures {
public:
    // Initialises COM on the calling thread for OleLoadPicture (and
    // uninitialises it again at the end when it was this object that did).
    Win32Pictures();
    ~Win32Pictures() override;
    Win32Pictures(const Win32Pictures&) = delete;
    Win32Pictures& operator=(const Win32Pictures&) = delete;

    std::shared_ptr<Picture> Load(std::string_view path) override;
    std::shared_ptr<Picture> FromPixels(int width, int height, const std::vector<std::uint32_t>& pixels) override;
    std::shared_ptr<Picture> ProgramIcon(int size) override;

private:
    bool comInitialised_ = false;
};

}  // namespace morix::platform::win32
