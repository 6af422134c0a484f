// The clock designs: the face picture (Back.bmp), its outline (TP.bmp) and
// the sixty clips 00.avi .. 59.avi. One clip file serves both displays, the
// hour display at left 5 and the minute display at left 36, so a clip's
// background must be the face's picture at both places: the faces are drawn
// so that the columns 5..29 and 36..60 look alike. Each design is drawn at
// every display scale from the same shapes, at that scale's size.
#pragma once

#include <string>
#include <vector>

#include "tools/assetgen/Image.h"

namespace assetgen {

inline constexpr int kFaceWidth = 66;
inline constexpr int kFaceHeight = 22;
inline constexpr int kHourLeft = 5;
inline constexpr int kMinuteLeft = 36;
inline constexpr int kClipTop = 0;
inline constexpr int kClipWidth = 25;
inline constexpr int kClipHeight = 22;

// A face's places at one display scale, in that scale's pixels.
struct FaceGrid {
    int percent = 100;
    int width, height, hourLeft, minuteLeft, clipTop, clipWidth, clipHeight;
};
FaceGrid GridAt(int percent);

struct Design {
    std::string name;
    FaceGrid grid;
    Image back;     // the empty face, in palette colours
    Image outline;  // cut-away parts in kMaskColour, the window in black
    Palette palette;
    int framesPerSecond = 20;
    // clips[n] are the frames of the clip of the number n; the last frame is
    // the one that stays on the face.
    std::vector<std::vector<IndexedImage>> clips;
};

// "Tidewalk" (the default): white rounded digits rising out of a dark sea,
// on a rounded face.
Design BuildTidewalk(int percent = 100);
// "Lantern": amber dot-matrix digits lighting up column by column, on an
// octagonal bronze-rimmed face.
Design BuildLantern(int percent = 100);

std::vector<Design> BuildDesigns(int percent = 100);

}  // namespace assetgen
