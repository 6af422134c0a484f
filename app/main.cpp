// The program entry of Morix.exe: builds the Win32 services, hands them to
// the program, and runs the message loop for as long as the process lives.
#include <windows.h>

#include "app/Program.h"
#include "platform/Platform.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32DynamicLibraries.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Pictures.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32Ui.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace morix::platform::win32;
    Win32Process process;
    Win32CodePage codePage;
    Win32Files files;
    Win32DynamicLibraries libraries(process.ProgramFolder());
    Win32Pictures pictures;
    Win32Ui ui(process);
    Win32Desktop desktop;
    Win32Clock clock;
    Win32SystemInfo systemInfo;
    morix::platform::Platform platform{codePage, files,   libraries, pictures,  ui,
                                       desktop,  clock,   process,   systemInfo};

    morix::Program program(platform);
    program.Main();
    return RunMessageLoop();
}
