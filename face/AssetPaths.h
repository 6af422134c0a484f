// Where the design, frame and sound files lie beside the executable, and the
// names of the sixty clips.
#pragma once

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

// The pictures a design folder holds (Back.bmp, TP.bmp and the sixty clips),
// and those of a frame folder (the four corners' balloons).
const std::vector<std::string>& DesignPictureNames();
const std::vector<std::string>& FramePictureNames();

}  // namespace morix
