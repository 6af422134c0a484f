#include "settings/SettingsCache.h"

namespace morix {

std::optional<std::string> SettingsCache::Read(const platform::Files& files, std::string_view path) {
    const std::optional<platform::FileStamp> now = files.Stamp(path);
    if (now && stamp_ && path == path_ && *now == *stamp_) return bytes_;
    // Taken before the read: a change that lands between the two gives the
    // next read another stamp, so it is read again.
    std::optional<std::string> bytes = files.ReadAll(path);
    if (!bytes || !now) {
        stamp_.reset();
        return bytes;
    }
    path_ = std::string(path);
    stamp_ = now;
    bytes_ = *bytes;
    return bytes;
}

void SettingsCache::Wrote(const platform::Files& files, std::string_view path, std::string bytes) {
    stamp_ = files.Stamp(path);
    path_ = std::string(path);
    bytes_ = std::move(bytes);
}

}  // namespace morix
