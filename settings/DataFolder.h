// The one folder of what the user makes: the settings file, the memos, the
// recovered copies of memos, designs of their own. The program folder when it
// can take a file, so that a portable copy keeps everything beside
// Morix.exe; otherwise "Morix" in the user's roaming data folder, as for a
// program installed where a standard user cannot write.
#pragma once

#include "platform/Files.h"

#include <functional>
#include <string>
#include <string_view>

namespace morix {

// Decides the data folder once, at start-up. The program folder counts as
// able to take a file when a file can be made and removed there and its
// Morix.ini, if it has one, can be written. Otherwise the user's folder is
// made, and a Morix.ini of the program folder (an administrator's preset)
// becomes the user's first settings file. Without a user's folder the
// program folder is all there is.
// A run elevated by the user (管理者として実行) takes the folder the same
// user's normal run takes: the program folder only when that run could write
// it too (`normalRunMayWrite`), so nothing it keeps is where the normal run
// never looks.
std::string ChooseDataFolder(platform::Files& files, std::string_view programFolder, std::string_view userFolder,
                             const std::function<bool(std::string_view folder)>& normalRunMayWrite = {});

}  // namespace morix
