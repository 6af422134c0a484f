// How the controls of a form lie over one another and in which order the
// Tab key walks them: one rule for the system and for the simulated desktop,
// so that what a click at a point reaches, and where Tab goes, is the same
// on both.
#pragma once

#include "platform/Control.h"
#include "platform/Geometry.h"

#include <cstddef>
#include <vector>

namespace morix::platform {

// Frames and picture boxes hold other controls. Such a container lies below
// every other control of its own container (or window), so that a control the
// layout places over it is never hidden by it. Among the others, and among
// containers, a control made earlier lies above one made later.
inline bool StacksBelowControls(ControlKind kind) { return kind == ControlKind::Frame || kind == ControlKind::Picture; }

// The position in the Tab order after `current` (or before it, backwards) in
// a list of the places (screen pixels) of the controls Tab can reach: the
// layout order, top to bottom, then left to right; past the last it wraps to
// the first. With no current control (current >= places.size()), the first
// (or, backwards, the last). Returns places.size() when the list is empty.
std::size_t NextInTabOrder(const std::vector<Rect>& places, std::size_t current, bool backwards);

// A control of a window as the fitting of captions sees it: its place in its
// container, the container (the position of that frame or picture box in the
// same list, or InClientArea), the width its caption needs to be seen whole
// in its own font (0: it shows none), and the height it needs where the
// system makes it taller than its place (a calendar shows a whole month; 0:
// its place's).
inline constexpr std::size_t InClientArea = static_cast<std::size_t>(-1);
struct CaptionFit {
    Rect place;
    std::size_t container = InClientArea;
    int captionWidth = 0;
    int neededHeight = 0;
};

// The tables place the controls for one font; in a wider one a caption would
// be cut. Each control narrower than its caption grows to the right by what
// it lacks; the controls beside it on its right (further right, in its row:
// the middle of one lies in the other's height) move right by as much, so
// that a row keeps its order and its gaps; what spans it from before to
// past it above or below (a line drawn round a group) stretches as far; a
// container grows by as much as the right edge of what it holds moved out,
// and at least so far that each caption in it shows whole (a control may
// reach past its container's edge, which cuts it off); and so, in the end,
// the client area. A control that needs more height grows down by the same
// rule, with the controls below it in its column. Where every caption shows
// whole and every control has its height, nothing moves. Rewrites the
// places; returns the pixels by which the client area of `clientWidth` x
// `clientHeight` must grow.
struct ClientGrowth {
    int width = 0, height = 0;
};
ClientGrowth GrowToCaptions(std::vector<CaptionFit>& controls, int clientWidth, int clientHeight);

}  // namespace morix::platform
