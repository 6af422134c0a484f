// A copy of the settings file's bytes, so that reading a key does not read
// the file. While a watch on the program folder says nothing in it changed,
// the copy is taken as it is: no call reaches the file system. When the
// watch reports a change, or where the folder cannot be watched, the copy is
// checked against the file's size and last-write time (one attribute query)
// and read again only when they differ. A change made from outside between
// two reads is thus seen by the next one; every write of ours puts its
// bytes here.
#pragma once

#include "platform/Files.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace morix {

class SettingsCache {
public:
    // The file's bytes, read again only when it changed; nothing when it
    // cannot be read.
    std::optional<std::string> Read(const platform::Files& files, std::string_view path);
    // The file now holds `bytes`, written by us.
    void Wrote(const platform::Files& files, std::string_view path, std::string bytes);
    void Forget() {
        stamp_.reset();
        held_ = false;
    }

private:
    void Watch(const platform::Files& files, std::string_view path);

    std::string path_;
    std::optional<platform::FileStamp> stamp_;
    std::optional<std::string> bytes_;
    // The copy (or the file's absence) was found right, and stays right
    // until the watch reports a change.
    bool held_ = false;
    std::string watchedPath_;
    std::unique_ptr<platform::FolderWatch> watch_;
};

}  // namespace morix
