#include "platform/win32/AnsiSafePath.h"

#include <windows.h>

#include <functional>

namespace morix::platform::win32 {

bool AnsiCodePageHolds(const std::wstring& text) {
    if (text.empty()) return true;
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                                      0, nullptr, &usedDefault);
    return n > 0 && !usedDefault;
}

namespace {

std::wstring ShortForm(const std::wstring& path) {
    const DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) return {};
    std::wstring out(n, L'\0');
    const DWORD got = GetShortPathNameW(path.c_str(), out.data(), n);
    if (got == 0 || got >= n) return {};
    out.resize(got);
    return out;
}

// The temporary folder in a form the code page holds, or "".
std::wstring PlainTempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH) return {};
    std::wstring folder(buffer, n);
    if (AnsiCodePageHolds(folder)) return folder;
    std::wstring shortForm = ShortForm(folder);
    return AnsiCodePageHolds(shortForm) ? shortForm : std::wstring();
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
    WIN32_FILE_ATTRIBUTE_DATA x{}, y{};
    return GetFileAttributesExW(a.c_str(), GetFileExInfoStandard, &x) &&
           GetFileAttributesExW(b.c_str(), GetFileExInfoStandard, &y) && x.nFileSizeLow == y.nFileSizeLow &&
           x.nFileSizeHigh == y.nFileSizeHigh && CompareFileTime(&x.ftLastWriteTime, &y.ftLastWriteTime) == 0;
}

}  // namespace

std::wstring AnsiSafePath(const std::wstring& path) {
    if (AnsiCodePageHolds(path)) return path;
    if (std::wstring shortForm = ShortForm(path); !shortForm.empty() && AnsiCodePageHolds(shortForm)) return shortForm;
    const std::wstring folder = PlainTempFolder();
    if (folder.empty()) return path;
    // One copy a source file, named by its path, so that copies never pile up.
    const std::size_t dot = path.find_last_of(L'.');
    const std::wstring extension = dot == std::wstring::npos ? L"" : path.substr(dot);
    const std::wstring copy =
        folder + L"morix-" + std::to_wstring(std::hash<std::wstring>{}(path)) + (AnsiCodePageHolds(extension) ? extension : L"");
    // CopyFileW keeps the write time, which tells a copy that is still current.
    if (!SameFile(path, copy) && !CopyFileW(path.c_str(), copy.c_str(), FALSE)) return path;
    return copy;
}

}  // namespace morix::platform::win32
