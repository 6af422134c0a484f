// The settings file as bytes: which encoding it was saved in, and where a key
// of a section stands in it. Lines are found on the file's own bytes so that a
// write can keep every other line exactly as it was.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morix {

enum class IniEncoding {
    Ansi,        // code page 932, the normal case
    Utf8,        // UTF-8 without byte-order mark
    Utf8Bom,     // UTF-8 with byte-order mark
    Utf16LeBom,  // UTF-16 little endian with byte-order mark
};

// The file decoded to its working bytes: CP932 for an ANSI file, UTF-8 for
// every other encoding (UTF-16 goes through WTF-8, so unpaired surrogates and
// an odd trailing byte survive a write).
struct IniText {
    IniEncoding encoding = IniEncoding::Ansi;
    std::string body;
    std::optional<char> oddTrailingByte;  // UTF-16 only

    static IniText Decode(std::string_view raw);
    std::string Encode() const;
    bool IsAnsi() const { return encoding == IniEncoding::Ansi; }
};

// Where one key stands in the working bytes.
struct IniLocation {
    bool sectionFound = false;
    bool keyFound = false;
    // A line of the key's name with no "=" is found for a write (which puts
    // the value on it) but holds no value for a read, as with the system.
    bool hasValue = false;
    std::size_t lineEnd = 0;     // the key's line ends here, before "\r\n" / "\n"
    std::size_t nameBegin = 0, nameEnd = 0;
    std::size_t valueBegin = 0, valueEnd = 0;   // untrimmed, after "="
    std::size_t insertAt = 0;    // where a new key of the section goes
};

// Finds the first key named `key` in the first section named `section`,
// comparing as the profile functions do: ASCII case ignored, spaces around
// names ignored. `ansi` makes the scan aware of CP932 double-byte characters.
IniLocation LocateKey(std::string_view body, std::string_view section, std::string_view key, bool ansi);

// Spaces, tabs, line ends and the old end-of-file mark, as trimmed around
// names and values.
bool IsIniSpace(char c);
std::string_view TrimIni(std::string_view s);

}  // namespace morix
