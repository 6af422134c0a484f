// The file operations the program needs. Paths are the program's own: UTF-8,
// with "\" as the separator, as Windows writes them; the native implementation
// maps them onto its file system.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morix::platform {

class Files {
public:
    virtual ~Files() = default;
    // The whole file, or nothing when it cannot be opened or read.
    virtual std::optional<std::string> ReadAll(std::string_view path) const = 0;
    // Replaces the file's contents so that any reader, and any crash, sees
    // either the old or the new file whole: a temporary file beside it is
    // written, flushed and renamed over it. False (and the old file intact)
    // on any failure.
    virtual bool ReplaceAtomically(std::string_view path, std::string_view bytes) = 0;
    virtual bool FileExists(std::string_view path) const = 0;
    virtual bool FolderExists(std::string_view path) const = 0;
};

}  // namespace morix::platform
