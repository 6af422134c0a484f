// Implements the run-time's file errors for a path about to be opened:
// GetFileAttributesW on the folder (error 76 when it is missing) and on the
// file (53 when it is missing, 75 when the path names a folder).
#pragma once

#include <string>

namespace morix::platform::win32 {

// Raises RuntimeError 76, 53 or 75; returns when `path` names an existing file.
void RequireExistingFile(const std::wstring& path);

}  // namespace morix::platform::win32
