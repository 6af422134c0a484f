// A design or frame folder without pictures for the display's scale (a
// user's own design) is shown with its nearest set redrawn at the size the
// scale needs, once, when it is loaded.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morix {

// The picture file `bytes` (a BMP, a GIF, or an AVI clip as the animation
// control plays it) at width x height pixels, in the same format: a GIF or
// a clip keeps its palette (and a GIF its see-through index, a clip its
// frame rate); a bitmap comes back as a 24-bit one. Colours are averaged
// over the area each new pixel covers (blended between neighbours when
// enlarging), then put back on the palette; the mask colour, which cuts a
// window's outline, is never blended: a pixel is of the mask colour exactly
// when its nearest old pixel is. Nothing for a file of another format, a
// broken or cut-short file, or a size that is not positive.
std::optional<std::string> ScalePictureFile(std::string_view bytes, int width, int height);

}  // namespace morix
