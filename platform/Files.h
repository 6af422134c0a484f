// The file operations the program needs. Paths are the program's own: UTF-8,
// with "\" as the separator, as Windows writes them; the native implementation
// maps them onto its file system.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morix::platform {

// What tells one version of a file from the next without reading it.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t lastWrite = 0;  // in the system's own unit
    // Which file it is: a file replaced by a rename is another one even
    // within the same tick of the write-time clock.
    std::uint64_t identity = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// What one replacement of a file came to.
enum class ReplaceResult {
    Done,
    // Another program has the file open without letting it be replaced (a
    // virus scanner, the search indexer, a backup or a cloud client reading
    // it for a moment): the same replacement may go through a little later.
    Held,
    Failed,
};

// Tells whether anything in a folder may have changed, without asking the
// file system each time.
class FolderWatch {
public:
    virtual ~FolderWatch() = default;
    // True when a file of the folder was made, removed, renamed, written or
    // had its attributes changed since the last call that returned true (or
    // since the watch began); a change reported once is not reported again.
    virtual bool Changed() = 0;
};

class Files {
public:
    virtual ~Files() = default;
    // The whole file, or nothing when it cannot be opened or read.
    virtual std::optional<std::string> ReadAll(std::string_view path) const = 0;
    // Replaces the file's contents so that any reader, and any crash, sees
    // either the old or the new file whole: a temporary file beside it is
    // written, flushed and renamed over it. One attempt; on anything but
    // Done the old file is intact and no temporary file is left.
    virtual ReplaceResult TryReplace(std::string_view path, std::string_view bytes) = 0;
    bool ReplaceAtomically(std::string_view path, std::string_view bytes) {
        return TryReplace(path, bytes) == ReplaceResult::Done;
    }
    // The file's size and last-write time (one attribute query), or nothing
    // when there is no such file.
    virtual std::optional<FileStamp> Stamp(std::string_view path) const = 0;
    virtual bool FileExists(std::string_view path) const = 0;
    // True when the existing file can be opened for writing (it is not
    // changed): a read-only or locked file, or one the user may not write,
    // cannot.
    virtual bool CanWrite(std::string_view path) const = 0;
    virtual bool FolderExists(std::string_view path) const = 0;
    // The names of the folder's ordinary files (no folders, no hidden or
    // system files) whose names end in `suffix` ("" for all), letter case ignored, in the
    // order the file system gives them. Empty when the folder cannot be read.
    virtual std::vector<std::string> ListFiles(std::string_view folder, std::string_view suffix) const = 0;
    // The names of the folder's sub-folders that are neither hidden nor
    // system folders ("." and ".." left out), in the order the file system
    // gives them. Empty when the folder cannot be read.
    virtual std::vector<std::string> ListFolders(std::string_view folder) const = 0;
    // Creates the folder (its parent must exist). True when it exists after.
    virtual bool CreateFolder(std::string_view path) = 0;
    // Deletes the file for good (not to a recycle bin). False on failure.
    virtual bool RemoveFile(std::string_view path) = 0;
    // A watch on the files directly in the folder, or nothing where the
    // system cannot watch it.
    virtual std::unique_ptr<FolderWatch> WatchFolder(std::string_view /*folder*/) const { return nullptr; }
};

}  // namespace morix::platform
