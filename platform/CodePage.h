// The code page service the platform implements (iconv natively,
// MultiByteToWideChar/WideCharToMultiByte on Windows); the interface itself
// lives with the text helpers in base/.
#pragma once

#include "base/CodePage.h"

namespace morix::platform {

using morix::CodePage;
using morix::IsCp932LeadByte;

}  // namespace morix::platform
