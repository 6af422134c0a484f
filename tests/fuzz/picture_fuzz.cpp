// libFuzzer target for the picture files of a design or frame folder, which a
// user may have made with any program: any bytes as a BMP, GIF or AVI file.
// Checked: nothing crashes or reads past the bytes; a picture that reads
// holds only indices of its palette; written back, it reads back the same;
// rescaled, it comes back in its format at the size asked, a pixel cut away
// exactly when the old pixel nearest to it was.
#include "face/PictureScaling.h"
#include "face/picture/PictureFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace morix::picture;

void Check(bool ok) {
    if (!ok) std::abort();
}

std::optional<PictureFile> Read(const std::uint8_t* data, std::size_t size) {
    return ReadPictureFile(std::span(data, size));
}

std::size_t FrameCount(const PictureFile& p) { return std::max<std::size_t>(1, p.frames.size()); }

Image Shown(const PictureFile& p, std::size_t frame) {
    return p.palette.empty() ? p.colours : Expand(p.frames.at(frame), p.palette);
}

bool Cut(const PictureFile& p, const Image& shown, int x, int y, std::size_t frame) {
    return shown.At(x, y) == kMaskColour || (!p.frames.empty() && p.frames[frame].At(x, y) == p.transparent);
}

// Pictures larger than this are checked for not crashing only: a design's
// pictures are a few thousand pixels, and the checks below are not cheap.
constexpr std::size_t kCheckedPixels = std::size_t(1) << 18;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<PictureFile> before = Read(data, size);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!before) {
        Check(!morix::ScalePictureFile(bytes, 9, 9));
        return 0;
    }
    Check(before->width > 0 && before->height > 0);
    const std::size_t area = std::size_t(before->width) * before->height;
    if (before->palette.empty()) {
        Check(before->colours.pixels.size() == area && before->frames.empty());
    } else {
        Check(!before->frames.empty() && before->palette.size() <= 256);
        for (const IndexedImage& f : before->frames) {
            Check(f.width == before->width && f.height == before->height && f.pixels.size() == area);
            for (std::uint8_t i : f.pixels) Check(i < before->palette.size());
        }
    }
    if (area * FrameCount(*before) > kCheckedPixels) return 0;

    const Bytes written = WritePictureFile(*before);
    const std::optional<PictureFile> again = Read(written.data(), written.size());
    Check(again && again->format == before->format && again->width == before->width &&
          again->height == before->height && FrameCount(*again) == FrameCount(*before) &&
          again->transparent == before->transparent && again->rate == before->rate && again->scale == before->scale);
    for (std::size_t f = 0; f < FrameCount(*before); ++f) Check(Shown(*again, f) == Shown(*before, f));

    // Up and down by the steps between the display scales, the step picked
    // by the file's length; a long clip at a few pixels.
    const int percent = (size % 2 ? 125 : 150) + int(size % 3) * 25;
    const int limit = std::max(1, int(std::sqrt(4096.0 / double(FrameCount(*before)))));
    for (int step : {percent, 10000 / percent}) {
        const int w = std::clamp(before->width * step / 100, 1, limit), h = std::clamp(before->height * step / 100, 1, limit);
        const std::optional<std::string> scaled = morix::ScalePictureFile(bytes, w, h);
        Check(scaled.has_value());
        const std::optional<PictureFile> after =
            Read(reinterpret_cast<const std::uint8_t*>(scaled->data()), scaled->size());
        Check(after && after->format == before->format && after->width == w && after->height == h &&
              FrameCount(*after) == FrameCount(*before) && after->transparent == before->transparent);
        if (before->format != PictureFile::Format::Bmp) Check(after->palette == before->palette);
        for (std::size_t f = 0; f < FrameCount(*before); ++f) {
            const Image old = Shown(*before, f), now = Shown(*after, f);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int sx = int((2LL * x + 1) * before->width / (2LL * w));
                    const int sy = int((2LL * y + 1) * before->height / (2LL * h));
                    Check(Cut(*after, now, x, y, f) == Cut(*before, old, sx, sy, f));
                }
        }
    }
    return 0;
}
