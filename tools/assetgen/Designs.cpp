#include "tools/assetgen/Designs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <cstdlib>
#include <stdexcept>

#include "base/Scale.h"
#include "tools/assetgen/Shapes.h"

namespace assetgen {

namespace {

// Where the pixels of a face canvas at one scale lie in the drawing, which
// is made in face pixels at 100 %. Under a clip place a pixel is measured
// from the place's own left edge, so that both places sample the face at
// the same offsets whatever the rounding of their edges.
struct Sampling {
    FaceGrid grid;
    double scale;  // pixels per face pixel

    explicit Sampling(int percent) : grid(GridAt(percent)), scale(percent / 100.0) {}
    Point Face(int x, int y) const {
        for (auto [left, faceLeft] : {std::pair{grid.hourLeft, kHourLeft}, {grid.minuteLeft, kMinuteLeft}})
            if (x >= left && x < left + grid.clipWidth) return {faceLeft + (x - left + 0.5) / scale, (y + 0.5) / scale};
        return {(x + 0.5) / scale, (y + 0.5) / scale};
    }
    // A pixel of a clip canvas, in face pixels from the clip's corner.
    Point Clip(int x, int y) const { return {(x + 0.5) / scale, (y + 0.5) / scale}; }
    // Coverage of an edge at a distance given in face pixels: one pixel of
    // soft edge at every scale, so strokes grow thicker but not blurred.
    double Coverage(double faceDistance) const { return CoverageFromDistance(faceDistance * scale); }
    // The pixels around a point of the drawing, `reach` face pixels each way.
    std::pair<int, int> Around(double facePosition, double reach) const {
        return {int(std::floor((facePosition - reach) * scale)) - 1,
                int(std::ceil((facePosition + reach) * scale)) + 1};
    }
};

// What a design draws; the builder turns it into the files' pictures.
struct Style {
    std::string name;
    int frames = 10;
    int framesPerSecond = 20;
    std::function<double(Point)> outlineDistance;  // signed, face pixels
    std::function<Colour(Point, double depth)> face;  // the empty face
    std::function<void(Canvas&, const Sampling&)> decorate;  // drawn on Back only
    // Draws the number onto a clip canvas that already holds the face at the
    // clip's place; t runs from 0 (first frame) to 1 (last frame).
    std::function<void(Canvas&, const Sampling&, int number, double t)> digits;
};

Canvas EmptyFace(const Style& s, const Sampling& at) {
    Canvas c(at.grid.width, at.grid.height);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const Point p = at.Face(x, y);
            c.At(x, y) = s.face(p, -s.outlineDistance(p));
        }
    return c;
}

Canvas ClipBackground(const Canvas& face, const FaceGrid& g, int left) {
    Canvas c(g.clipWidth, g.clipHeight);
    for (int y = 0; y < g.clipHeight; ++y)
        for (int x = 0; x < g.clipWidth; ++x) c.At(x, y) = face.At(left + x, g.clipTop + y);
    return c;
}

void Paste(Canvas& face, const Canvas& clip, const FaceGrid& g, int left) {
    for (int y = 0; y < g.clipHeight; ++y)
        for (int x = 0; x < g.clipWidth; ++x) face.At(left + x, g.clipTop + y) = clip.At(x, y);
}

Design Build(const Style& s, int percent) {
    const Sampling at(percent);
    const FaceGrid& g = at.grid;
    Canvas face = EmptyFace(s, at);
    const Canvas clipBack = ClipBackground(face, g, g.hourLeft);
    // One clip file serves both places, so the face must be the same under
    // both: the drawing is made so, and at 100 % it is so to the last bit.
    // At other scales a place's rounded edges may reach a fraction of a face
    // pixel past the drawn place and samples may round a step apart; the
    // hour place's background then serves at both, as the clip shows it.
    {
        const Image hour = clipBack.ToImage(), minute = ClipBackground(face, g, g.minuteLeft).ToImage();
        const int tolerance = percent == 100 ? 0 : 2;
        for (int y = 0; y < g.clipHeight; ++y)
            for (int x = 0; x < g.clipWidth; ++x) {
                const Point p = at.Clip(x, y);
                if (p.x >= kClipWidth || p.y >= kClipHeight) continue;
                const Rgb a = hour.At(x, y), b = minute.At(x, y);
                if (std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}) > tolerance)
                    throw std::logic_error(s.name + ": the face differs under the two clips at " +
                                           std::to_string(percent) + " %");
            }
        Paste(face, clipBack, g, g.minuteLeft);
    }
    s.decorate(face, at);

    Design d;
    d.name = s.name;
    d.grid = g;
    d.framesPerSecond = s.framesPerSecond;
    d.outline = Image(g.width, g.height);
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            d.outline.At(x, y) = s.outlineDistance(at.Face(x, y)) <= 0 ? Rgb{0, 0, 0} : kMaskColour;

    const Image back = face.ToImage();
    std::vector<std::vector<Image>> rgbClips(60);
    for (int n = 0; n < 60; ++n)
        for (int f = 0; f < s.frames; ++f) {
            Canvas c = clipBack;
            s.digits(c, at, n, s.frames > 1 ? double(f) / (s.frames - 1) : 1.0);
            rgbClips[n].push_back(c.ToImage());
        }

    std::vector<const Image*> all{&back};
    for (auto& clip : rgbClips)
        for (auto& frame : clip) all.push_back(&frame);
    d.palette = BuildPalette(all, 256);
    d.back = Expand(MapToPalette(back, d.palette), d.palette);
    for (auto& clip : rgbClips) {
        d.clips.emplace_back();
        for (auto& frame : clip) d.clips.back().push_back(MapToPalette(frame, d.palette));
    }
    return d;
}

// ---------------------------------------------------------------------------
// Tidewalk: a stroke font with round ends, drawn on a 6 x 11 pixel skeleton
// so that stems and bars fall on whole pixels.

using Glyph = std::vector<Polyline>;

Glyph Join(std::initializer_list<Polyline> parts) { return Glyph(parts); }

Polyline Line(std::initializer_list<Point> pts) { return Polyline(pts); }

Polyline Concat(std::initializer_list<Polyline> parts) {
    Polyline out;
    for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// In unit coordinates: x 0..1 (left stem .. right stem), y 0..1 (top bar ..
// bottom bar); the middle bar lies at 0.45.
std::array<Glyph, 10> StrokeDigits() {
    std::array<Glyph, 10> g;
    g[0] = Join({Concat({Arc({0.5, 0.27}, 0.5, 0.27, 180, 360), Arc({0.5, 0.73}, 0.5, 0.27, 0, 180),
                         Line({{0, 0.27}})})});
    g[1] = Join({Line({{0.12, 0.22}, {0.5, 0}, {0.5, 1}})});
    g[2] = Join({Concat({Arc({0.5, 0.26}, 0.5, 0.26, 190, 370), QuadraticBezier({0.99, 0.31}, {0.9, 0.62}, {0, 1}),
                         Line({{1, 1}})})});
    g[3] = Join({Concat({Arc({0.5, 0.225}, 0.46, 0.225, 195, 450), Arc({0.5, 0.725}, 0.5, 0.275, 270, 520)})});
    g[4] = Join({Line({{0.667, 1}, {0.667, 0}, {0, 0.727}, {1, 0.727}})});
    g[5] = Join({Concat({Line({{1, 0}, {0.05, 0}, {0.02, 0.47}}), Arc({0.48, 0.71}, 0.52, 0.29, 235, 505)})});
    g[6] = Join({Arc({0.5, 0.71}, 0.5, 0.29, 0, 360, 32), QuadraticBezier({0, 0.71}, {0.02, 0.04}, {0.88, 0.02})});
    g[7] = Join({Line({{0, 0}, {1, 0}, {0.36, 1}})});
    g[8] = Join({Arc({0.5, 0.225}, 0.44, 0.225, 0, 360, 32), Arc({0.5, 0.725}, 0.5, 0.275, 0, 360, 32)});
    g[9] = g[6];
    for (auto& stroke : g[9])
        for (auto& p : stroke) p = {1 - p.x, 1 - p.y};
    return g;
}

Glyph Place(const Glyph& unit, double left, double top, double w, double h, double dy) {
    Glyph out = unit;
    for (auto& stroke : out)
        for (auto& p : stroke) p = {left + p.x * w, top + p.y * h + dy};
    return out;
}

double TideCrest(double x) { return 18.2 + 0.6 * std::sin(2 * std::numbers::pi * x / 15.5); }

Style Tidewalk() {
    Style s;
    s.name = "Tidewalk";
    s.frames = 10;
    s.framesPerSecond = 20;
    s.outlineDistance = [](Point p) {
        return RoundedBoxDistance(p, {kFaceWidth / 2.0, kFaceHeight / 2.0}, kFaceWidth / 2.0, kFaceHeight / 2.0, 5);
    };
    s.face = [](Point p, double depth) {
        const Colour deep = Colour::Of(9, 30, 60), shallow = Colour::Of(12, 78, 104);
        const Colour waterTop = Colour::Of(26, 116, 138), waterBottom = Colour::Of(16, 84, 108);
        Colour c = Mix(deep, shallow, float(SmoothStep(1, 18, p.y)));
        const double crest = TideCrest(p.x);
        if (p.y > crest) c = Mix(waterTop, waterBottom, float(Clamp01((p.y - crest) / 3)));
        const double foam = std::exp(-std::pow((p.y - crest) / 0.55, 2));
        c = Mix(c, Colour::Of(150, 214, 226), float(0.55 * foam));
        if (depth < 1) return Colour::Of(3, 14, 30);
        if (depth < 2) {
            // inner bevel: light from above
            return p.y < kFaceHeight / 2.0 ? Mix(c, Colour::Of(96, 160, 200), 0.45f)
                                           : Mix(c, Colour::Of(2, 20, 36), 0.35f);
        }
        return c;
    };
    s.decorate = [](Canvas& face, const Sampling& at) {
        const auto [x0, x1] = at.Around(32.5, 4.5);
        for (double cy : {7.5, 13.5})
            for (int y = 0; y < face.Height(); ++y)
                for (int x = x0; x <= x1; ++x) {
                    const Point p = at.Face(x, y);
                    const double d = CircleDistance(p, {32.5, cy}, 1.15);
                    face.Blend(x, y, Colour::Of(2, 12, 26), float(0.45 * at.Coverage(d - 0.2) * (p.y > cy ? 1 : 0)));
                    face.Blend(x, y, Colour::Of(214, 240, 248), float(at.Coverage(d)));
                }
    };
    const auto glyphs = StrokeDigits();
    s.digits = [glyphs](Canvas& c, const Sampling& at, int n, double t) {
        const int tens = n / 10, units = n % 10;
        const double lefts[2] = {4, 15};
        const Colour ink = Colour::Of(234, 249, 255), shadow = Colour::Of(2, 12, 26);
        for (int i = 0; i < 2; ++i) {
            // Each digit surfaces from the water, the units a little later.
            const double ti = Clamp01((t - 0.18 * i) / 0.82);
            const double e = 1 - std::pow(1 - ti, 3);
            const double dy = (1 - e) * 13;
            const Glyph g = Place(glyphs[i == 0 ? tens : units], lefts[i], 5, 6, 11, dy);
            for (int y = 0; y < c.Height(); ++y)
                for (int x = 0; x < c.Width(); ++x) {
                    const Point p = at.Clip(x, y);
                    if (p.y < 2 || p.y >= kClipHeight - 1) continue;  // the rim stays as the face has it
                    // Below the crest the digit is under water: only a glimmer.
                    const double crest = TideCrest(p.x + kHourLeft);
                    const double wet = p.y > crest - 0.3 ? 0.22 : 1.0;
                    const double ds = DistanceToStrokes({p.x - 0.6, p.y - 0.8}, g) - 1.0;
                    c.Blend(x, y, shadow, float(0.5 * wet * at.Coverage(ds)));
                    const double d = DistanceToStrokes(p, g) - 1.0;
                    c.Blend(x, y, ink, float(wet * at.Coverage(d)));
                }
        }
    };
    return s;
}

// ---------------------------------------------------------------------------
// Lantern: 5 x 7 dot-matrix digits, one lamp on every second pixel.

constexpr std::array<std::array<const char*, 7>, 10> kMatrix = {{
    {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
}};

constexpr int kLampColumns[2] = {2, 14};  // first lamp column of each digit, clip pixels
constexpr int kLampTop = 4;

const Colour kLampOff = Colour::Of(58, 40, 28);
const Colour kLampOn = Colour::Of(255, 186, 76);
const Colour kGlow = Colour::Of(255, 116, 28);

// A lamp centred at (cx, cy) face pixels, on a clip canvas or on the face.
void Lamp(Canvas& c, const Sampling& at, bool onClip, double cx, double cy, Colour colour, double level, bool glow) {
    const auto [x0, x1] = at.Around(cx, 3);
    const auto [y0, y1] = at.Around(cy, 3);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const double d = CircleDistance(onClip ? at.Clip(x, y) : at.Face(x, y), {cx, cy}, 0.75);
            // The glow fades out within two pixels, inside the clip's border.
            if (glow) c.Blend(x, y, kGlow, float(level * 0.24 * Clamp01(1 - (d + 0.75) / 2.0)));
            c.Blend(x, y, colour, float(level * at.Coverage(d)));
        }
}

void UnlitLamps(Canvas& clip, const Sampling& at) {
    for (int i = 0; i < 2; ++i)
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                Lamp(clip, at, true, kLampColumns[i] + 2 * col + 0.5, kLampTop + 2 * row + 0.5, kLampOff, 1, false);
}

double Chamfered(Point p) {
    const double box = RoundedBoxDistance(p, {kFaceWidth / 2.0, kFaceHeight / 2.0}, kFaceWidth / 2.0,
                                          kFaceHeight / 2.0, 0);
    const double qx = std::min(p.x, kFaceWidth - p.x), qy = std::min(p.y, kFaceHeight - p.y);
    const double corner = (4 - (qx + qy)) / std::numbers::sqrt2;
    return std::max(box, corner);
}

Style Lantern() {
    Style s;
    s.name = "Lantern";
    s.frames = 10;
    s.framesPerSecond = 20;
    s.outlineDistance = Chamfered;
    s.face = [](Point p, double depth) {
        if (depth < 1) return Colour::Of(168, 124, 64);
        if (depth < 2) return p.y < kFaceHeight / 2.0 ? Colour::Of(92, 64, 34) : Colour::Of(10, 6, 4);
        if (depth < 3) return Colour::Of(12, 8, 6);
        return Mix(Colour::Of(34, 24, 17), Colour::Of(20, 13, 9), float(SmoothStep(3, 19, p.y)));
    };
    s.decorate = [](Canvas& face, const Sampling& at) {
        // The unlit lamps belong to the empty face too, so that a clip that
        // starts dark matches the board around it: drawn as the clip draws
        // them, at both places.
        for (int left : {at.grid.hourLeft, at.grid.minuteLeft}) {
            Canvas board = ClipBackground(face, at.grid, left);
            UnlitLamps(board, at);
            Paste(face, board, at.grid, left);
        }
        for (double cy : {kLampTop + 4.5, kLampTop + 8.5}) Lamp(face, at, false, 32.5, cy, kLampOn, 0.9, true);
    };
    s.digits = [](Canvas& c, const Sampling& at, int n, double t) {
        const int digit[2] = {n / 10, n % 10};
        // Unlit lamps first everywhere, so the clip starts from a dark board.
        UnlitLamps(c, at);
        const double step = t * 9;  // the frame number, 0..9
        for (int i = 0; i < 2; ++i)
            for (int col = 0; col < 5; ++col) {
                const int sweep = i * 5 + col;
                const double level = SmoothStep(0, 1, (step + 1 - sweep * 0.8) / 2.2);
                if (level <= 0) continue;
                for (int row = 0; row < 7; ++row)
                    if (kMatrix[digit[i]][row][col] == '#')
                        Lamp(c, at, true, kLampColumns[i] + 2 * col + 0.5, kLampTop + 2 * row + 0.5, kLampOn, level,
                             true);
            }
    };
    return s;
}

}  // namespace

FaceGrid GridAt(int percent) {
    const auto px = [percent](int pixels) { return morix::ScaledPixels(pixels, percent); };
    return {percent,          px(kFaceWidth), px(kFaceHeight), px(kHourLeft), px(kMinuteLeft),
            px(kClipTop),     px(kClipWidth), px(kClipHeight)};
}

Design BuildTidewalk(int percent) { return Build(Tidewalk(), percent); }
Design BuildLantern(int percent) { return Build(Lantern(), percent); }

std::vector<Design> BuildDesigns(int percent) { return {BuildTidewalk(percent), BuildLantern(percent)}; }

}  // namespace assetgen
