// Pictures loaded from BMP and GIF files.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace morix::platform {

// The colour of an outline picture that is cut away from a shaped window,
// RGB(192,192,192), as 0xRRGGBB.
inline constexpr std::uint32_t MaskColour = 0xC0C0C0;

class Picture {
public:
    virtual ~Picture() = default;
    virtual int Width() const = 0;   // pixels
    virtual int Height() const = 0;
};

class Pictures {
public:
    virtual ~Pictures() = default;
    // Raises RuntimeError 53 for a missing file, 76 for a missing folder,
    // 481 for a file that is no picture.
    virtual std::shared_ptr<Picture> Load(std::string_view path) = 0;
    // A picture the program draws itself: width x height pixels, row by row
    // from the top, each 0xRRGGBB.
    virtual std::shared_ptr<Picture> FromPixels(int width, int height, const std::vector<std::uint32_t>& pixels) = 0;
    // The program's own icon at `size` x `size` pixels, on a face of the
    // dialogs' colour.
    virtual std::shared_ptr<Picture> ProgramIcon(int size) = 0;
};

}  // namespace morix::platform
