#include "platform/win32/PathChecks.h"

#include "base/RuntimeError.h"
#include "platform/win32/Wide.h"

#include <windows.h>

namespace morix::platform::win32 {

namespace {

bool IsFolder(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// "C:\a\b.avi" -> "C:\a"; "C:\b.avi" -> "C:\"; "b.avi" -> "" (the current folder).
std::wstring FolderOf(const std::wstring& path) {
    std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    std::wstring folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    if (folder.empty()) folder = path.substr(0, 1);  // "\b.avi": the root
    return folder;
}

}  // namespace

void RequireExistingFile(const std::wstring& path) {
    // The error names the path, so the prompt tells the user what is missing.
    const std::string shown = Narrow(path);
    if (path.empty()) Raise(err::FileNotFound);
    std::wstring folder = FolderOf(path);
    if (!folder.empty() && !IsFolder(folder)) Raise(err::PathNotFound, shown);
    DWORD a = GetFileAttributesW(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) Raise(err::FileNotFound, shown);
    if (a & FILE_ATTRIBUTE_DIRECTORY) Raise(err::PathFileAccess, shown);
}

}  // namespace morix::platform::win32
