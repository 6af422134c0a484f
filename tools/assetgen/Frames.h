// The balloon frames: four pictures per frame, one for each way a balloon
// window (280 x 140) sits beside the clock. R: the balloon is right of the
// clock, L: left of it. D: level with the clock's top, reaching down, so the
// clock is at the balloon's upper corner; U: raised so that the balloon's
// bottom lies 20 pixels below the clock's top, so the clock is at its lower
// corner. The pointer of each picture reaches towards that corner. The
// picture is also the window's outline: its cut-away parts are kMaskColour.
// Each frame is drawn at every display scale from the same shapes; sizes and
// places below are at 100 % and scale by morix::ScaledPixels.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tools/assetgen/Image.h"

namespace assetgen {

inline constexpr int kBalloonWidth = 280;
inline constexpr int kBalloonHeight = 140;

enum class Corner { LU, LD, RU, RD };
inline constexpr std::array<Corner, 4> kCorners = {Corner::LU, Corner::LD, Corner::RU, Corner::RD};

const char* PictureName(Corner c);  // "MsgLU.gif", ...

struct Point;

// Where the pointer's tip ends: next to the clock, inside the picture.
struct TipPosition {
    int x, y;
};
TipPosition Tip(Corner c);

// The areas of the balloon windows that hold controls and must lie inside
// the balloon: the text box (60, 35, 160 x 80), the memo window's close
// picture (112, 116, 56 x 13) and its check box (87, 18, 105 x 17).
struct Area {
    int left, top, width, height;
};
inline constexpr std::array<Area, 3> kBalloonControls = {{{60, 35, 160, 80}, {112, 116, 56, 13}, {87, 18, 105, 17}}};

struct BalloonFrame {
    std::string name;
    int percent = 100;
    std::array<Image, 4> pictures;  // in the order of kCorners
    std::array<Palette, 4> palettes;  // entry 0 is kMaskColour, and no other entry is
    std::array<IndexedImage, 4> indexed;
};

// "Ellip01" (the default): a white ellipse with a dark outline and a pointed
// tail.
BalloonFrame BuildEllip01(int percent = 100);
// "Cloud01": a white cloud with a sky-blue rim and thought bubbles that
// float towards the clock.
BalloonFrame BuildCloud01(int percent = 100);

std::vector<BalloonFrame> BuildFrames(int percent = 100);

}  // namespace assetgen
