#include "face/AssetPaths.h"

#include "base/AsciiCase.h"
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

namespace {

std::string KindFolder(std::string_view root, std::string_view kind) { return std::string(root) + "\\" + std::string(kind); }

std::vector<std::string> BothLists(std::vector<std::string> own, const std::vector<std::string>& user) {
    const std::size_t ownCount = own.size();
    for (const std::string& name : user) {
        bool listed = false;
        for (std::size_t i = 0; i < ownCount && !listed; ++i) listed = EqualIgnoringAsciiCase(own[i], name);
        if (!listed) own.push_back(name);
    }
    return own;
}

}  // namespace

std::string AssetFolder(const platform::Files& files, const AssetRoots& roots, std::string_view kind, std::string_view name) {
    std::string own = KindFolder(roots.program, kind) + "\\" + std::string(name);
    if (!roots.Apart() || files.FolderExists(own)) return own;
    std::string user = KindFolder(roots.data, kind) + "\\" + std::string(name);
    return files.FolderExists(user) ? user : own;
}

// Looked for as the list spells the folder, played as the player spells it.
std::string ChimeFile(const platform::Files& files, const AssetRoots& roots, std::string_view chimeName) {
    auto listed = [&](std::string_view root) { return KindFolder(root, "Sound") + "\\" + std::string(chimeName); };
    if (!roots.Apart() || files.FileExists(listed(roots.program)) || !files.FileExists(listed(roots.data)))
        return ChimePath(roots.program, chimeName);
    return ChimePath(roots.data, chimeName);
}

std::vector<std::string> AssetFolderNames(const platform::Files& files, const AssetRoots& roots, std::string_view kind) {
    std::vector<std::string> own = files.ListFolders(KindFolder(roots.program, kind));
    if (!roots.Apart()) return own;
    return BothLists(std::move(own), files.ListFolders(KindFolder(roots.data, kind)));
}

std::vector<std::string> ChimeNames(const platform::Files& files, const AssetRoots& roots) {
    std::vector<std::string> own = files.ListFiles(KindFolder(roots.program, "Sound"), "");
    if (!roots.Apart()) return own;
    return BothLists(std::move(own), files.ListFiles(KindFolder(roots.data, "Sound"), ""));
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
