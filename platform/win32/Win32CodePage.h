// Implements platform::CodePage with MultiByteToWideChar/WideCharToMultiByte
// on code page 932, whatever the system's own ANSI code page is.
#pragma once

#include "platform/CodePage.h"

namespace morix::platform::win32 {

class Win32CodePage final : public CodePage {
public:
    std::string ToAnsi(std::string_view utf8) const override;
    std::string FromAnsi(std::string_view ansi) const override;
};

}  // namespace morix::platform::win32
