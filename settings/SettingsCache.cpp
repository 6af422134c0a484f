#include "settings/SettingsCache.h"

#include "platform/FileErrors.h"

namespace morix {

void SettingsCache::Watch(const platform::Files& files, std::string_view path) {
    if (path == watchedPath_) return;
    // Started before the file is first looked at, so that no change after
    // that look goes unreported. A file at a drive's root is watched in that
    // root ("E:\"), not in the drive's current folder ("E:").
    watchedPath_ = std::string(path);
    watch_ = files.WatchFolder(platform::FolderOf(path));
    Forget();
}

std::optional<std::string> SettingsCache::Read(const platform::Files& files, std::string_view path, bool checkNow) {
    Watch(files, path);
    const bool same = path == path_;
    if (same && held_ && !checkNow && watch_ && !watch_->Changed() && !CheckDue()) return bytes_;
    const std::optional<platform::FileStamp> now = files.Stamp(path);
    checkedAt_ = clock_.TickCountMs();
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
    // A file that is not there stays missing until the folder changes (or
    // the next check finds it).
    held_ = bytes.has_value() == now.has_value();
    stamp_ = bytes ? now : std::nullopt;
    bytes_ = stamp_ ? bytes : std::nullopt;
    return bytes;
}

void SettingsCache::Wrote(const platform::Files& files, std::string_view path, std::string bytes) {
    Watch(files, path);
    stamp_ = files.Stamp(path);
    checkedAt_ = clock_.TickCountMs();
    path_ = std::string(path);
    bytes_ = std::move(bytes);
    held_ = stamp_.has_value();
}

}  // namespace morix
