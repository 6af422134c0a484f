// Implements the path that a system component which turns paths into the
// ANSI code page can open (Wine's animation control and MCI do): the path
// itself when the code page holds it (WideCharToMultiByte with
// WC_NO_BEST_FIT_CHARS reporting no default character), else its short form
// (GetShortPathNameW) when that is held, else a copy of the file (CopyFileW)
// under a plain name in the temporary folder, made again when the file
// changed.
#pragma once

#include <string>

namespace morix::platform::win32 {

bool AnsiCodePageHolds(const std::wstring& text);

std::wstring AnsiSafePath(const std::wstring& path);

}  // namespace morix::platform::win32
