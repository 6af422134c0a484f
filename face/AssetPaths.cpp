#include "face/AssetPaths.h"

#include "base/DateStamp.h"

namespace morix {

std::string ClipName(int n) { return TwoDigits(n) + ".avi"; }

std::string ClipPath(std::string_view designFolder, int n) { return std::string(designFolder) + "\\" + ClipName(n); }

std::string ChimePath(std::string_view programFolder, std::string_view chimeName) {
    return std::string(programFolder) + "\\sound\\" + std::string(chimeName);
}

std::string FrameFolder(std::string_view programFolder, std::string_view frameName) {
    return std::string(programFolder) + "\\Frame\\" + std::string(frameName);
}

std::string FramePicturePath(std::string_view programFolder, std::string_view frameName, std::string_view picture) {
    return FrameFolder(programFolder, frameName) + "\\" + std::string(picture);
}

const std::vector<std::string>& DesignPictureNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n{"Back.bmp", "TP.bmp"};
        for (int clip = 0; clip < 60; ++clip) n.push_back(ClipName(clip));
        return n;
    }();
    return names;
}

const std::vector<std::string>& FramePictureNames() {
    static const std::vector<std::string> names{"MsgLU.gif", "MsgLD.gif", "MsgRU.gif", "MsgRD.gif"};
    return names;
}

}  // namespace morix
