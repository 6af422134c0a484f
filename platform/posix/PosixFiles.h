// Real files for the native build. The program's paths use "\" as Windows
// does; here each "\" becomes "/". Names beginning with "." stand for the
// hidden files and folders of Windows.
#pragma once

#include "platform/Files.h"

namespace morix::platform {

class PosixFiles final : public Files {
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
    // inotify, asked without waiting.
    std::unique_ptr<FolderWatch> WatchFolder(std::string_view folder) const override;

    static std::string NativePath(std::string_view path);
};

}  // namespace morix::platform
