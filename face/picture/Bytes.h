// Little- and big-endian byte output for the file encoders, and checked
// little-endian input for the decoders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace morix::picture {

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

// Reads of a file's bytes that throw std::out_of_range rather than reach
// past its end: a decoder of untrusted files checks every read this way.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : b_(bytes) {}
    std::size_t Size() const { return b_.size(); }
    bool Has(std::size_t at, std::size_t n) const { return at <= b_.size() && n <= b_.size() - at; }
    std::uint8_t U8(std::size_t at) const {
        Need(at, 1);
        return b_[at];
    }
    unsigned U16(std::size_t at) const { return U8(at) | (unsigned(U8(at + 1)) << 8); }
    std::uint32_t U32(std::size_t at) const { return U16(at) | (std::uint32_t(U16(at + 2)) << 16); }
    std::int32_t I32(std::size_t at) const { return std::int32_t(U32(at)); }
    bool TagAt(std::size_t at, std::string_view tag) const {
        if (!Has(at, tag.size())) return false;
        for (std::size_t i = 0; i < tag.size(); ++i)
            if (b_[at + i] != std::uint8_t(tag[i])) return false;
        return true;
    }
    std::span<const std::uint8_t> Slice(std::size_t at, std::size_t n) const {
        Need(at, n);
        return b_.subspan(at, n);
    }

private:
    void Need(std::size_t at, std::size_t n) const {
        if (!Has(at, n)) throw std::out_of_range("past the end of the file");
    }
    std::span<const std::uint8_t> b_;
};

}  // namespace morix::picture
