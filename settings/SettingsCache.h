// A copy of the settings file's bytes that every read checks against the
// file's size and last-write time: one attribute query instead of an open, a
// read and a close, while a change made from outside between two reads is
// still seen by the next one. Every write of ours puts its bytes here.
#pragma once

#include "platform/Files.h"

#include <optional>
#include <string>
#include <string_view>

namespace morix {

class SettingsCache {
public:
    // The file's bytes, read again only when its stamp changed; nothing when
    // it cannot be read.
    std::optional<std::string> Read(const platform::Files& files, std::string_view path);
    // The file now holds `bytes`, written by us.
    void Wrote(const platform::Files& files, std::string_view path, std::string bytes);
    void Forget() { stamp_.reset(); }

private:
    std::string path_;
    std::optional<platform::FileStamp> stamp_;
    std::string bytes_;
};

}  // namespace morix
