#include "platform/win32/Win32CodePage.h"

#include "platform/win32/Wide.h"

namespace morix::platform::win32 {

namespace {
constexpr UINT Japanese = 932;
}

std::string Win32CodePage::ToAnsi(std::string_view utf8) const {
    std::wstring wide = Widen(utf8);
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(Japanese, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, "?", nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(Japanese, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, "?", nullptr);
    return out;
}

std::string Win32CodePage::FromAnsi(std::string_view ansi) const {
    if (ansi.empty()) return {};
    int n = MultiByteToWideChar(Japanese, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(Japanese, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return Narrow(wide);
}

}  // namespace morix::platform::win32
