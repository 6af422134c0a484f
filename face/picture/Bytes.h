// Little- and big-endian byte output for the file encoders.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace assetgen {

using Bytes = std::vector<std::uint8_t>;

struct ByteWriter {
    Bytes out;
    void U8(unsigned v) { out.push_back(std::uint8_t(v)); }
    void U16(unsigned v) { U8(v & 0xFF), U8((v >> 8) & 0xFF); }
    void U32(std::uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
    void I32(std::int32_t v) { U32(std::uint32_t(v)); }
    void U16BE(unsigned v) { U8((v >> 8) & 0xFF), U8(v & 0xFF); }
    void U32BE(std::uint32_t v) { U16BE(v >> 16), U16BE(v & 0xFFFF); }
    void Tag(std::string_view fourcc) { for (char c : fourcc) U8(std::uint8_t(c)); }
    void Append(const Bytes& b) { out.insert(out.end(), b.begin(), b.end()); }
    std::size_t Size() const { return out.size(); }
    void PatchU32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = std::uint8_t(v >> (8 * i));
    }
    void PatchU32BE(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = std::uint8_t(v >> (8 * (3 - i)));
    }
};

}  // namespace assetgen
