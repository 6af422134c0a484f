// The program entry of Morix.exe: builds the Win32 services, hands them to
// the program, and runs the message loop for as long as the process lives.
#include <windows.h>

#include "app/Program.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Win32Platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    morix::platform::win32::Win32Platform services;
    morix::Program program(services.platform);
    program.Main();
    return morix::platform::win32::RunMessageLoop();
}
