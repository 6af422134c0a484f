// The run-time's errors for a file about to be opened, the same for every
// implementation of the platform: a missing folder is error 76, a missing
// file 53, a path that names a folder 75. Each names the path, so the prompt
// tells the user what is missing.
#pragma once

#include <string>
#include <string_view>

namespace morix::platform {

class Files;

// "C:\a\b.avi" -> "C:\a"; "C:\b.avi" -> "C:\"; "\b.avi" -> "\"; "b.avi" -> ""
// (the current folder). Both "\" and "/" separate.
std::string FolderOf(std::string_view path);

// Raises RuntimeError 76, 53 or 75; returns when `path` names an existing file.
void RequireExistingFile(const Files& files, std::string_view path);

// Raises RuntimeError 76 when the folder that would hold `path` is missing.
void RequireExistingFolderOf(const Files& files, std::string_view path);

}  // namespace morix::platform
