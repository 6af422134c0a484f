#include "settings/SettingsFile.h"

#include "base/AnsiText.h"
#include "base/HexDigit.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/HeldFile.h"
#include "settings/IniText.h"
#include "settings/SettingsCache.h"

#include <limits>

namespace morix {

namespace {

// The longest prefix of CP932 bytes that fits in `limit` bytes without
// splitting a double-byte character; a lead byte with nothing after it is not
// a character and is dropped.
std::string_view CutAnsi(std::string_view s, std::size_t limit) {
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t len = platform::IsCp932LeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
        if (i + len > s.size() || i + len > limit) break;
        i += len;
    }
    return s.substr(0, i);
}

// An optional sign, then decimal digits, or hexadecimal, octal or binary
// digits after "0x", "0o", "0b" as the system's own reader takes them, up to
// the first other character.
std::int32_t ParseProfileInt(std::string_view s) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    int base = 10;
    if (i + 1 < s.size() && s[i] == '0') {
        char p = s[i + 1];
        base = p == 'x' ? 16 : p == 'o' ? 8 : p == 'b' ? 2 : 10;
        if (base != 10) i += 2;
    }
    auto digit = [base](char c) {
        const int d = HexDigitValue(c);
        return d < base ? d : -1;
    };
    long long value = 0;
    for (; i < s.size() && digit(s[i]) >= 0; ++i) {
        value = value * base + digit(s[i]);
        if (value > 1LL << 32) break;  // saturates below
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

// Line breaks inside a value would end its line and start another key; they
// become spaces so a value can never rewrite the file's structure.
std::string SingleLine(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

}  // namespace

SettingsFile::SettingsFile(platform::Files& files, const CodePage& codePage, std::string iniPath, SettingsCache* cache,
                           const WriteFailureHandler* onWriteFailure, platform::Clock* clock)
    : files_(files),
      codePage_(codePage),
      path_(std::move(iniPath)),
      cache_(cache),
      onWriteFailure_(onWriteFailure),
      clock_(clock) {}

std::optional<std::string> SettingsFile::ReadFile() const {
    return cache_ ? cache_->Read(files_, path_) : files_.ReadAll(path_);
}

bool SettingsFile::FindValue(std::string_view key, std::string& value, bool& ansi) const {
    auto raw = ReadFile();
    if (!raw) return false;
    IniText text = IniText::Decode(*raw);
    ansi = text.IsAnsi();
    std::string section = ansi ? codePage_.ToAnsi(keys::Section) : std::string(keys::Section);
    std::string name = ansi ? codePage_.ToAnsi(key) : std::string(key);
    IniLocation loc = LocateKey(text.body, section, name, ansi);
    if (!loc.keyFound || !loc.hasValue) return false;
    value.assign(text.body, loc.valueBegin, loc.valueEnd - loc.valueBegin);
    return true;
}

std::int32_t SettingsFile::ReadInt(std::string_view key, std::int32_t defaultValue) const {
    std::string value;
    bool ansi = true;
    if (!FindValue(key, value, ansi)) return defaultValue;
    std::string_view trimmed = TrimIni(value);
    if (trimmed.empty()) return defaultValue;
    return ParseProfileInt(trimmed);
}

std::string SettingsFile::ReadString(std::string_view key, std::string_view defaultValue) const {
    std::string value;
    bool ansi = true;
    if (!FindValue(key, value, ansi)) return std::string(defaultValue);
    std::string_view trimmed = TrimIni(value);
    if (ansi) return codePage_.FromAnsi(CutAnsi(trimmed, MaxTextBytes));
    // A UTF-8 or UTF-16 file: the same limit, counted as the ANSI bytes the
    // text would take.
    return CutToAnsiBytes(codePage_, trimmed, MaxTextBytes);
}

void SettingsFile::WriteValue(std::string_view key, std::string_view text) {
    WriteValues({{key, std::string(text)}});
}

void SettingsFile::WriteValues(const SettingsWrites& values) {
    // Keys that already hold their texts are judged on the copy and cost
    // nothing.
    if (cache_ && !WithValues(cache_->Read(files_, path_), values)) return;
    std::optional<std::string> written;
    auto attempt = [&] {
        // The copy may be seconds behind a file whose folder does not report
        // its changes, and a held file may be changed by its holder: each try
        // is built on the file as it is now, so that no value or key put
        // there from outside is undone.
        const std::optional<std::string> now = cache_ ? cache_->ReadChecked(files_, path_) : files_.ReadAll(path_);
        written = WithValues(now, values);
        if (!written) return platform::ReplaceResult::Done;  // nothing left to write
        return files_.TryReplace(path_, *written);
    };
    const platform::ReplaceResult result = clock_ ? platform::RetryWhileHeld(*clock_, attempt) : attempt();
    if (result != platform::ReplaceResult::Done) {
        if (cache_) cache_->Forget();
        if (onWriteFailure_ && *onWriteFailure_) (*onWriteFailure_)(path_);
        return;
    }
    if (cache_ && written) cache_->Wrote(files_, path_, std::move(*written));
}

std::optional<std::string> SettingsFile::WithValues(const std::optional<std::string>& raw,
                                                    const SettingsWrites& values) const {
    if (!raw && files_.FileExists(path_)) return std::nullopt;  // unreadable: never overwrite what we could not read
    IniText ini = IniText::Decode(raw ? *raw : std::string());
    bool changed = false;
    for (const auto& [key, text] : values) changed = SetIn(ini, key, text) || changed;
    if (!changed) return std::nullopt;
    return ini.Encode();
}

bool SettingsFile::SetIn(IniText& ini, std::string_view key, std::string_view text) const {
    const bool ansi = ini.IsAnsi();
    auto encode = [&](std::string_view s) { return ansi ? codePage_.ToAnsi(s) : std::string(s); };
    const std::string value = encode(SingleLine(text));
    const std::string section = encode(keys::Section);
    const std::string name = encode(key);

    IniLocation loc = LocateKey(ini.body, section, name, ansi);
    std::string& body = ini.body;
    if (loc.keyFound) {
        if (loc.hasValue && std::string_view(body).substr(loc.valueBegin, loc.valueEnd - loc.valueBegin) == value)
            return false;  // already holds exactly this text
        // The line keeps its indentation and the name as it was spelt.
        body.replace(loc.nameEnd, loc.lineEnd - loc.nameEnd, "=" + value);
    } else {
        auto endLine = [&](std::size_t at) {
            // A new line never runs on from an unterminated last line.
            if (at > 0 && body[at - 1] != '\n') {
                body.insert(at, "\r\n");
                return at + 2;
            }
            return at;
        };
        if (loc.sectionFound) {
            std::size_t at = endLine(loc.insertAt);
            body.insert(at, name + "=" + value + "\r\n");
        } else {
            std::size_t at = endLine(body.size());
            body.insert(at, "[" + section + "]\r\n" + name + "=" + value + "\r\n");
        }
    }
    return true;
}

}  // namespace morix
