#include "face/picture/PictureFile.h"

#include <new>

#include "face/picture/Avi.h"
#include "face/picture/Bmp.h"
#include "face/picture/Gif.h"

namespace morix::picture {

std::optional<PictureFile> ReadPictureFile(std::span<const std::uint8_t> bytes) {
    const ByteReader reader(bytes);
    // The decoders check every read; a file cut short ends in out_of_range.
    try {
        if (reader.TagAt(0, "BM")) return DecodeBmp(reader);
        if (reader.TagAt(0, "GIF")) return DecodeGif(reader);
        if (reader.TagAt(0, "RIFF")) return DecodeAvi(reader);
    } catch (const std::out_of_range&) {
    } catch (const std::bad_alloc&) {
    }
    return std::nullopt;
}

Bytes WritePictureFile(const PictureFile& p) {
    switch (p.format) {
        case PictureFile::Format::Bmp:
            return EncodeBmp24(p.palette.empty() ? p.colours : Expand(p.frames.at(0), p.palette));
        case PictureFile::Format::Gif: return EncodeGif(p.frames.at(0), p.palette, p.transparent);
        case PictureFile::Format::Avi: return EncodeAvi(p.frames, p.palette, int(p.rate), int(p.scale));
    }
    return {};
}

}  // namespace morix::picture
