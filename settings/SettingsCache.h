// A copy of the settings file's bytes, so that reading a key does not read
// the file. While a watch on the program folder says nothing in it changed,
// the copy is taken as it is: no call reaches the file system, but for a
// check of the file's size and last-write time (one attribute query) once
// every StampCheckMs, because some folders (network shares, a virtual
// machine's shared folders) never report a change. When the watch reports
// one, or where the folder cannot be watched, every read makes that check,
// and the file is read again only when the stamp differs. Every write of
// ours puts its bytes here.
#pragma once

#include "platform/Clock.h"
#include "platform/Files.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace morix {

class SettingsCache {
public:
    // The longest a change made from outside goes unseen where the folder's
    // watch stays quiet.
    static constexpr std::uint64_t StampCheckMs = 3000;

    // The clock's tick count times the checks.
    explicit SettingsCache(const platform::Clock& clock) : clock_(clock) {}

    // The file's bytes, read again only when it changed; nothing when it
    // cannot be read.
    std::optional<std::string> Read(const platform::Files& files, std::string_view path) {
        return Read(files, path, false);
    }
    // The same, checked against the file's stamp now whatever the watch
    // says: what a write is built on.
    std::optional<std::string> ReadChecked(const platform::Files& files, std::string_view path) {
        return Read(files, path, true);
    }
    // The file now holds `bytes`, written by us.
    void Wrote(const platform::Files& files, std::string_view path, std::string bytes);
    void Forget() {
        stamp_.reset();
        held_ = false;
    }

private:
    std::optional<std::string> Read(const platform::Files& files, std::string_view path, bool checkNow);
    void Watch(const platform::Files& files, std::string_view path);
    bool CheckDue() const { return clock_.TickCountMs() - checkedAt_ >= StampCheckMs; }

    const platform::Clock& clock_;
    std::string path_;
    std::optional<platform::FileStamp> stamp_;
    std::optional<std::string> bytes_;
    // The copy (or the file's absence) was found right, and stays right
    // until the watch reports a change or the next check is due.
    bool held_ = false;
    std::uint64_t checkedAt_ = 0;  // the tick count of the last stamp taken
    std::string watchedPath_;
    std::unique_ptr<platform::FolderWatch> watch_;
};

}  // namespace morix
