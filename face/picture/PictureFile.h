// A picture file of a design or frame folder read into pixels, and written
// back: the bitmaps (Back.bmp, TP.bmp), the balloon pictures (GIF) and the
// clips (AVI as the animation control plays them).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "face/picture/Bytes.h"
#include "face/picture/Pixels.h"

namespace morix::picture {

struct PictureFile {
    enum class Format { Bmp, Gif, Avi };
    Format format = Format::Bmp;
    int width = 0, height = 0;
    // With a palette the pictures are `frames` (one, or a clip's frames in
    // order); a true-colour bitmap is `colours`.
    Palette palette;
    std::vector<IndexedImage> frames;
    Image colours;
    int transparent = -1;               // a GIF's see-through index
    std::uint32_t rate = 0, scale = 1;  // a clip's rate / scale frames per second
};

// The largest picture a decoder allocates for: headers that claim more are
// taken as broken, not as a reason to run out of memory.
inline constexpr std::size_t kMaxPixels = std::size_t(1) << 24;

// Nothing when the bytes are no file of the three formats as described in
// their headers, or are cut short; never reads past the bytes.
std::optional<PictureFile> ReadPictureFile(std::span<const std::uint8_t> bytes);
// A palette bitmap comes back as a 24-bit one; GIF and AVI keep their palette.
Bytes WritePictureFile(const PictureFile& picture);

}  // namespace morix::picture
