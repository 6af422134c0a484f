// Every Win32 service the program reaches the system through, made in the
// order they need one another, and the Platform that hands them over.
#pragma once
#include "platform/Platform.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32DynamicLibraries.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32LogonStart.h"
#include "platform/win32/Win32Pictures.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32TimeZones.h"
#include "platform/win32/Win32Ui.h"

namespace morix::platform::win32 {

struct Win32Platform {
    Win32Process process;
    Win32CodePage codePage;
    Win32Files files;
    Win32DynamicLibraries libraries{process.ProgramFolder()};
    Win32Pictures pictures;
    Win32Ui ui{process};
    Win32Desktop desktop;
    Win32Clock clock{EventRunner(ui, process)};
    Win32SystemInfo systemInfo;
    Win32LogonStart logonStart;
    Win32TimeZones timeZones;
    Platform platform{codePage, files, libraries, pictures, ui, desktop, clock, process, systemInfo, logonStart, timeZones};
};

}  // namespace morix::platform::win32
