// Balloons and dialogs beside the clock, on one monitor and on the second of two.
#include "base/Placement.h"

#include <gtest/gtest.h>

namespace morix {
namespace {

// Twips at 15 per pixel: a 1024 x 768 screen, a 66 x 22 clock, a 280 x 140 balloon.
constexpr TwipsRect One{0, 0, 1024 * 15, 768 * 15};
constexpr long long W = 66 * 15, BW = 280 * 15, BH = 140 * 15;

TEST(PlaceBalloon, FourCornersAtTheirStrictBoundaries) {
    // Fits right exactly at the edge: left + W + BW == screen right.
    long long edgeLeft = One.right - W - BW;
    auto p = PlaceBalloon(edgeLeft, 0, W, BW, BH, One, 20 * 15);
    EXPECT_EQ(p.picture, "MsgRD.gif");
    EXPECT_EQ(p.left, edgeLeft + W);
    EXPECT_EQ(p.top, 0);
    // One twip further: to the left.
    p = PlaceBalloon(edgeLeft + 1, 0, W, BW, BH, One, 20 * 15);
    EXPECT_EQ(p.picture, "MsgLD.gif");
    EXPECT_EQ(p.left, edgeLeft + 1 - BW);
    // Fits below exactly: top + BH == screen bottom.
    long long edgeTop = One.bottom - BH;
    EXPECT_EQ(PlaceBalloon(0, edgeTop, W, BW, BH, One, 20 * 15).picture, "MsgRD.gif");
    p = PlaceBalloon(0, edgeTop + 1, W, BW, BH, One, 20 * 15);
    EXPECT_EQ(p.picture, "MsgRU.gif");
    EXPECT_EQ(p.top, edgeTop + 1 - BH + 20 * 15);  // raised, 20 pixels below the clock's top
    // Bottom-right corner: left and up.
    p = PlaceBalloon(One.right - W, One.bottom - 22 * 15, W, BW, BH, One, 20 * 15);
    EXPECT_EQ(p.picture, "MsgLU.gif");
}

TEST(PlaceBalloon, OnTheSecondMonitorTheEdgesAreThatMonitors) {
    // A second monitor to the right of the first, 1280 x 1024 from x = 1024.
    const TwipsRect second{1024 * 15, 0, (1024 + 1280) * 15, 1024 * 15};
    const long long left = 1500 * 15;  // on the second monitor, far right of the first's edge
    auto p = PlaceBalloon(left, 800 * 15, W, BW, BH, second, 20 * 15);
    EXPECT_EQ(p.picture, "MsgRD.gif") << "room on the second monitor, to the right and below";
    p = PlaceBalloon(second.right - W - BW + 1, 0, W, BW, BH, second, 20 * 15);
    EXPECT_EQ(p.picture, "MsgLD.gif");
}

TEST(PlaceBesideClock, TwoWaysAtTheirBoundaries) {
    const long long DW = 300 * 15, DH = 200 * 15;
    long long edge = One.right - W - DW;
    auto p = PlaceBesideClock(edge, 100, W, DW, DH, One);
    EXPECT_EQ(p.left, edge + W);
    EXPECT_EQ(p.top, 100);
    p = PlaceBesideClock(edge + 1, 100, W, DW, DH, One);
    EXPECT_EQ(p.left, edge + 1 - DW);
    p = PlaceBesideClock(0, One.bottom - DH, W, DW, DH, One);
    EXPECT_EQ(p.top, One.bottom - DH);
    p = PlaceBesideClock(0, One.bottom - DH + 1, W, DW, DH, One);
    EXPECT_EQ(p.top, One.bottom - DH) << "moved up to end at the bottom";
    const TwipsRect second{1024 * 15, 0, (1024 + 1280) * 15, 1024 * 15};
    p = PlaceBesideClock(1100 * 15, 900 * 15, W, DW, DH, second);
    EXPECT_EQ(p.left, 1100 * 15 + W);
    EXPECT_EQ(p.top, second.bottom - DH);
    // Wider than either side, taller than the screen: kept on at the left and top.
    p = PlaceBesideClock(500 * 15, 100 * 15, W, 600 * 15, 900 * 15, One);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
}

}  // namespace
}  // namespace morix
