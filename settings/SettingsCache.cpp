#include "settings/SettingsCache.h"

namespace morix {

void SettingsCache::Watch(const platform::Files& files, std::string_view path) {
    if (path == watchedPath_) return;
    // Started before the file is first looked at, so that no change after
    // that look goes unreported.
    watchedPath_ = std::string(path);
    const std::size_t slash = path.find_last_of('\\');
    watch_ = files.WatchFolder(path.substr(0, slash == std::string_view::npos ? 0 : slash));
    Forget();
}

std::optional<std::string> SettingsCache::Read(const platform::Files& files, std::string_view path) {
    Watch(files, path);
    const bool same = path == path_;
    if (same && held_ && watch_ && !watch_->Changed()) return bytes_;
    const std::optional<platform::FileStamp> now = files.Stamp(path);
    if (same && now && stamp_ && *now == *stamp_) {
        held_ = true;
        return bytes_;
    }
    // Taken before the read: a change that lands between the two gives the
    // next read another stamp, so it is read again.
    std::optional<std::string> bytes = files.ReadAll(path);
    path_ = std::string(path);
    // A file that is there but cannot be read (another program holds it)
    // is tried again on every read: its release is no change of the folder.
    // A file that is not there stays missing until the folder changes.
    held_ = bytes.has_value() == now.has_value();
    stamp_ = bytes ? now : std::nullopt;
    bytes_ = stamp_ ? bytes : std::nullopt;
    return bytes;
}

void SettingsCache::Wrote(const platform::Files& files, std::string_view path, std::string bytes) {
    Watch(files, path);
    stamp_ = files.Stamp(path);
    path_ = std::string(path);
    bytes_ = std::move(bytes);
    held_ = stamp_.has_value();
}

}  // namespace morix
