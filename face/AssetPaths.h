// Where the design, frame and sound files lie beside the executable (and a
// user's own in the data folder), and the names of the sixty clips.
#pragma once

#include "platform/Files.h"

#include <string>
#include <string_view>
#include <vector>

namespace morix {

// "07.avi".
std::string ClipName(int n);
// design folder + "\" + two digits + ".avi".
std::string ClipPath(std::string_view designFolder, int n);
// program folder + "\sound\" + the chime's file name.
std::string ChimePath(std::string_view programFolder, std::string_view chimeName);
// program folder + "\Frame\" + frame name.
std::string FrameFolder(std::string_view programFolder, std::string_view frameName);
// program folder + "\Frame\" + frame name + "\" + picture (e.g. "MsgRD.gif").
std::string FramePicturePath(std::string_view programFolder, std::string_view frameName, std::string_view picture);

// The two places designs, frames and chimes are read from: the program's own
// folder, and the data folder, where a user's own go when the program folder
// cannot take them (one and the same folder for a portable copy).
struct AssetRoots {
    std::string program;
    std::string data;
    bool Apart() const { return data != program && !data.empty(); }
};
// The design's or frame's folder ("Design", "Frame"): the program's own when
// it has one of that name, else the data folder's when that has it, else the
// program's (whose absence is then the error the user sees).
std::string AssetFolder(const platform::Files& files, const AssetRoots& roots, std::string_view kind, std::string_view name);
// The chime's file, found the same way.
std::string ChimeFile(const platform::Files& files, const AssetRoots& roots, std::string_view chimeName);
// The design or frame folders (kind "Design", "Frame") of both roots, the
// program's first, in the order the file system gives them; a name the
// program's folder has is not listed again.
std::vector<std::string> AssetFolderNames(const platform::Files& files, const AssetRoots& roots, std::string_view kind);
// The chime files of both roots, likewise.
std::vector<std::string> ChimeNames(const platform::Files& files, const AssetRoots& roots);

// The pictures a design folder holds (Back.bmp, TP.bmp and the sixty clips),
// and those of a frame folder (the four corners' balloons).
const std::vector<std::string>& DesignPictureNames();
const std::vector<std::string>& FramePictureNames();

}  // namespace morix
