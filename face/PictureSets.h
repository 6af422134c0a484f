// A design or a frame folder holds its pictures for an unscaled display and
// may hold sets drawn for larger scales in subfolders named by percent
// ("Design\Tidewalk\150\00.avi"). This picks the folder to read them from.
#pragma once

#include "base/Scale.h"
#include "base/Twips.h"
#include "platform/Files.h"

#include <string>
#include <string_view>
#include <vector>

namespace morix {

// A folder of pictures and the scale they are drawn for: what is shown from
// them is sized for that scale, which the pictures fill.
struct PictureSet {
    std::string folder;
    TwipsPerPixel scale;
};

// The folder to read `names` from for a display of `scale`: the folder
// itself at 100 %; the subfolder of the scale's percent when it holds them
// all; else copies of the nearest set's pictures scaled smoothly to the size
// of the folder's own pictures at that scale, written into `cacheFolder`
// (again only when a picture changed after its copy was made); and where that
// cannot be done, the nearest set as it is, at its own scale. A picture
// missing from the folder itself is left for its loading to report.
PictureSet PictureSetFolder(platform::Files& files, std::string_view folder, const std::vector<std::string>& names,
                             TwipsPerPixel scale, std::string_view cacheFolder);

// The percent a scale's set is named by, or 0 when no set is named for it
// (168 dpi is 175 %, which has none).
int SetPercentOf(TwipsPerPixel scale);

}  // namespace morix
