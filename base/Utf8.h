// UTF-8 as the program holds its text: sequence lengths, decoding one code
// point, encoding one, counting characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morix {

inline constexpr std::uint32_t ReplacementCharacter = 0xFFFD;

// The length of the sequence that `lead` begins: 1 for ASCII and for a byte
// that begins no sequence (a stray continuation byte counts as one).
constexpr std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

constexpr bool IsUtf8Continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Decodes the code point at s[i] and moves i past it. Encoded surrogates
// pass (text that came from UTF-16 keeps a lone one); a broken sequence
// (a bad lead byte, a missing continuation, a cut end) gives
// ReplacementCharacter, moves one byte on and sets *broken.
std::uint32_t DecodeUtf8(std::string_view s, std::size_t& i, bool* broken = nullptr);

// Appends the code point's UTF-8 form (a surrogate gets its three-byte form).
void AppendUtf8(std::string& out, std::uint32_t codePoint);

// The number of characters (code points) in UTF-8 text.
std::size_t CharacterCount(std::string_view utf8);

// True when the bytes are UTF-8 beyond ASCII: every sequence whole, at least
// one of more than one byte (plain ASCII reads alike in every code page).
bool IsUtf8Text(std::string_view bytes);

}  // namespace morix
