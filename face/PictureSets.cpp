#include "face/PictureSets.h"

#include "face/PictureScaling.h"
#include "face/picture/PictureFile.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <optional>

namespace morix {

namespace {

int DpiOfPercent(int percent) { return percent * UnscaledDpi / 100; }

std::string SetFolder(std::string_view folder, int percent) {
    return percent == 100 ? std::string(folder) : std::string(folder) + "\\" + std::to_string(percent);
}

bool HoldsAll(const platform::Files& files, const std::string& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (!files.FileExists(folder + "\\" + name)) return false;
    return true;
}

// The nearest set the folder holds; of two as near, the larger one, which
// loses less when made smaller than the smaller one when made larger.
int NearestSet(const platform::Files& files, std::string_view folder, const std::vector<std::string>& names, int dpi) {
    int best = 100;
    for (int percent : kScaleSets) {
        if (percent == 100 || !HoldsAll(files, SetFolder(folder, percent), names)) continue;
        const int distance = std::abs(DpiOfPercent(percent) - dpi), bestDistance = std::abs(DpiOfPercent(best) - dpi);
        if (distance < bestDistance || (distance == bestDistance && percent > best)) best = percent;
    }
    return best;
}

bool CreateFolders(platform::Files& files, std::string_view path) {
    for (std::size_t at = path.find('\\', 3); ; at = path.find('\\', at + 1)) {
        const std::string_view part = path.substr(0, at);
        if (!files.FolderExists(part)) files.CreateFolder(part);
        if (at == std::string_view::npos) break;
    }
    return files.FolderExists(path);
}

bool IsFresh(const platform::Files& files, const std::string& copy, const std::string& source) {
    const std::optional<platform::FileStamp> made = files.Stamp(copy), from = files.Stamp(source);
    return made && from && made->lastWrite >= from->lastWrite;
}

// Writes the scaled copies; false when a picture cannot be read or scaled.
bool WriteScaledCopies(platform::Files& files, std::string_view folder, const std::string& from,
                       const std::vector<std::string>& names, TwipsPerPixel scale, const std::string& cache) {
    if (!CreateFolders(files, cache)) return false;
    for (const std::string& name : names) {
        const std::string source = from + "\\" + name, copy = cache + "\\" + name;
        if (IsFresh(files, copy, source) && IsFresh(files, copy, std::string(folder) + "\\" + name)) continue;
        const std::optional<std::string> unscaled = files.ReadAll(std::string(folder) + "\\" + name);
        const std::optional<picture::PictureFile> size =
            unscaled ? picture::ReadPictureFile(std::span(reinterpret_cast<const std::uint8_t*>(unscaled->data()),
                                                          unscaled->size()))
                     : std::nullopt;
        const std::optional<std::string> bytes = files.ReadAll(source);
        if (!size || !bytes) return false;
        const std::optional<std::string> scaled =
            ScalePictureFile(*bytes, scale.Scaled(size->width), scale.Scaled(size->height));
        if (!scaled || !files.ReplaceAtomically(copy, *scaled)) return false;
    }
    return true;
}

}  // namespace

int SetPercentOf(TwipsPerPixel scale) {
    for (int percent : kScaleSets)
        if (DpiOfPercent(percent) == scale.Dpi()) return percent;
    return 0;
}

PictureSet PictureSetFolder(platform::Files& files, std::string_view folder, const std::vector<std::string>& names,
                            TwipsPerPixel scale, std::string_view cacheFolder) {
    const int percent = SetPercentOf(scale);
    const PictureSet own{std::string(folder), TwipsPerPixel(UnscaledDpi)};
    if (percent == 100) return own;
    if (percent != 0 && HoldsAll(files, SetFolder(folder, percent), names)) return {SetFolder(folder, percent), scale};
    if (!HoldsAll(files, std::string(folder), names)) return own;
    const int nearestPercent = NearestSet(files, folder, names, scale.Dpi());
    const PictureSet nearest{SetFolder(folder, nearestPercent), TwipsPerPixel(DpiOfPercent(nearestPercent))};
    if (cacheFolder.empty()) return nearest;
    const std::string cache(cacheFolder);
    return WriteScaledCopies(files, folder, nearest.folder, names, scale, cache) ? PictureSet{cache, scale} : nearest;
}

}  // namespace morix
