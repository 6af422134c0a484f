// Implements platform::Files with CreateFileW/ReadFile/WriteFile,
// FlushFileBuffers and MoveFileExW (the atomic replace; a rename refused
// by another program's open handle is told apart as Held), GetFileAttributesW,
// FindFirstFileW/FindNextFileW (the files, or the folders, of a folder in the
// order the file system gives them, hidden and system entries left out),
// CreateDirectoryW and DeleteFileW; whether a file may be written from a
// CreateFileW for writing that is closed at once; the stamp of a file (size, last-write
// and creation time) from one GetFileAttributesExW; a folder's changes from
// FindFirstChangeNotificationW, waited for on a thread of the watch's own.
#pragma once

#include "platform/Files.h"

#include <windows.h>

namespace morix::platform::win32 {

// A replacement refused because another program has the file open for a
// moment: a sharing or lock violation, or access denied (what a rename over
// a file open without delete sharing answers).
inline bool IsHeldFileError(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Writes `bytes` into a new file at `path` and flushes it to the disk, so
// that a rename may make it the file: ERROR_SUCCESS, or the system's error
// (ERROR_DISK_FULL for a write that took nothing). A file made stays for the
// caller to remove on failure.
DWORD WriteFlushedFile(const std::wstring& path, std::string_view bytes);

class Win32Files final : public Files {
public:
    std::optional<std::string> ReadAll(std::string_view path) const override;
    ReplaceResult TryReplace(std::string_view path, std::string_view bytes) override;
    std::optional<FileStamp> Stamp(std::string_view path) const override;
    bool FileExists(std::string_view path) const override;
    bool CanWrite(std::string_view path) const override;
    bool FolderExists(std::string_view path) const override;
    std::vector<std::string> ListFiles(std::string_view folder, std::string_view suffix) const override;
    std::vector<std::string> ListFolders(std::string_view folder) const override;
    bool CreateFolder(std::string_view path) override;
    bool RemoveFile(std::string_view path) override;
    std::unique_ptr<FolderWatch> WatchFolder(std::string_view folder) const override;
};

}  // namespace morix::platform::win32
