// The settings file: section "Morix" of IniPath, read and written with the
// rules of the Windows profile functions. Every call takes the file as it is
// now (through the program's copy of it, which the file's changes keep
// right), so a value written by one window, or by an editor, is seen by the
// next read anywhere.
#pragma once

#include "settings/Keys.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morix {
class CodePage;
namespace platform {
class Clock;
class Files;
}  // namespace platform

struct IniText;

// The keys one event writes (following a window, a dialog's OK, the exit),
// each with its text, in the order they are written.
using SettingsWrites = std::vector<std::pair<std::string_view, std::string>>;

class SettingsCache;

class SettingsFile {
public:
    // Text values are cut to what a 256-byte ANSI buffer holds.
    static constexpr std::size_t MaxTextBytes = 255;

    // Told of a write that could not reach the file, with the file's path.
    using WriteFailureHandler = std::function<void(const std::string& path)>;

    // With a cache, reads of an unchanged file reach no file at all. With a
    // clock, a write that finds the file held for a moment by another
    // program is tried again (platform/HeldFile.h) before it fails.
    SettingsFile(platform::Files& files, const CodePage& codePage, std::string iniPath, SettingsCache* cache = nullptr,
                 const WriteFailureHandler* onWriteFailure = nullptr, platform::Clock* clock = nullptr);

    // Missing file, section or key, or an empty value: the default. Otherwise
    // an optional sign and digits (decimal, or after "0x", "0o", "0b" as the
    // system's reader takes them), up to the first other character; text
    // that does not begin so reads as 0. Beyond 32 bits the value stays
    // at the nearest 32-bit limit, so that a 16-bit reader still sees an
    // overflow instead of a wrapped small number.
    std::int32_t ReadInt(std::string_view key, std::int32_t defaultValue) const;
    std::int32_t ReadInt(const keys::IntKey& key) const { return ReadInt(key.name, key.defaultValue); }

    // Missing key: the default; empty value: empty text. Spaces at both ends
    // are removed and the value is cut to 255 ANSI bytes, never inside a
    // double-byte character.
    std::string ReadString(std::string_view key, std::string_view defaultValue) const;
    std::string ReadString(const keys::TextKey& key) const { return ReadString(key.name, key.defaultValue); }

    // Creates the file and the section when needed, replaces the key's value
    // or adds its line, and keeps every other byte of the file. Nothing is
    // written when the key already holds exactly this text. A failed write
    // leaves the old file whole and is told to the failure handler, if any.
    void WriteValue(std::string_view key, std::string_view text);
    void WriteValue(const keys::IntKey& key, std::string_view text) { WriteValue(key.name, text); }
    void WriteValue(const keys::TextKey& key, std::string_view text) { WriteValue(key.name, text); }
    // The same for every key of one event, in one replacement of the file:
    // a reader sees all of them or none, and a file held by another program
    // is waited out once, not once a key. Each try is built on the file as
    // it is then, so nothing written there meanwhile is lost.
    void WriteValues(const SettingsWrites& values);

    const std::string& Path() const { return path_; }

private:
    // The raw value of the key, untrimmed, or nothing when it is missing.
    bool FindValue(std::string_view key, std::string& value, bool& ansi) const;
    std::optional<std::string> ReadFile() const;
    // The file's bytes with the keys holding their texts; nothing when there
    // is nothing to write (the keys hold them already, or the file is there
    // but could not be read).
    std::optional<std::string> WithValues(const std::optional<std::string>& raw, const SettingsWrites& values) const;
    // Puts one key's text into the file's text; false when it held it already.
    bool SetIn(IniText& ini, std::string_view key, std::string_view text) const;

    platform::Files& files_;
    const CodePage& codePage_;
    std::string path_;
    SettingsCache* cache_;
    const WriteFailureHandler* onWriteFailure_;
    platform::Clock* clock_;
};

}  // namespace morix
