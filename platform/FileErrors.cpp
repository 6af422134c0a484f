#include "platform/FileErrors.h"

#include "base/RuntimeError.h"
#include "platform/Files.h"

namespace morix::platform {

std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string_view::npos) return {};
    std::string folder(path.substr(0, slash));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    if (folder.empty()) folder = std::string(path.substr(0, 1));  // "\b.avi": the root
    return folder;
}

void RequireExistingFolderOf(const Files& files, std::string_view path) {
    const std::string folder = FolderOf(path);
    if (!folder.empty() && !files.FolderExists(folder)) Raise(err::PathNotFound, path);
}

void RequireExistingFile(const Files& files, std::string_view path) {
    if (path.empty()) Raise(err::FileNotFound);
    RequireExistingFolderOf(files, path);
    if (files.FolderExists(path)) Raise(err::PathFileAccess, path);
    if (!files.FileExists(path)) Raise(err::FileNotFound, path);
}

}  // namespace morix::platform
