// Every outside service the program uses, handed to it in one piece.
#pragma once

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Desktop.h"
#include "platform/DynamicLibrary.h"
#include "platform/Files.h"
#include "platform/LogonStart.h"
#include "platform/Picture.h"
#include "platform/Process.h"
#include "platform/SystemInfo.h"
#include "platform/TimeZones.h"
#include "platform/Ui.h"

namespace morix::platform {

struct Platform {
    CodePage& codePage;
    Files& files;
    DynamicLibraries& libraries;
    Pictures& pictures;
    Ui& ui;
    Desktop& desktop;
    Clock& clock;
    Process& process;
    SystemInfo& systemInfo;
    LogonStart& logonStart;
    TimeZones& timeZones;
};

}  // namespace morix::platform
