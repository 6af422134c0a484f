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

}  // namespace morix::platform
