#include "face/AssetPaths.h"

#include "base/DateStamp.h"

namespace morix {

std::string ClipName(int n) { return TwoDigits(n) + ".avi"; }

std::string ClipPath(std::string_view designFolder, int n) { return std::string(designFolder) + "\\" + ClipName(n); }

std::string ChimePath(std::string_view programFolder, std::string_view chimeName) {
    return std::string(programFolder) + "\\sound\\" + std::string(chimeName);
}

std::string FramePicturePath(std::string_view programFolder, std::string_view frameName, std::string_view picture) {
    return std::string(programFolder) + "\\Frame\\" + std::string(frameName) + "\\" + std::string(picture);
}

}  // namespace morix
