// Waiting out another program that holds a file for a moment. Virus
// scanners, the search indexer, backup and cloud clients open a file they
// have just seen change, briefly and without letting it be deleted or
// renamed over; a replacement in that moment is refused (a sharing violation,
// or access denied) and would go through a little later.
#pragma once

#include "platform/Clock.h"
#include "platform/Files.h"

#include <cstdint>
#include <functional>

namespace morix::platform {

// How long a replacement is tried again before its failure stands, and the
// pause between tries. Short enough that the clock's tick hardly notices a
// held file, long enough for a scanner's look at a small file.
inline constexpr std::uint64_t HeldFileWaitMs = 1000;
inline constexpr unsigned HeldFileStepMs = 50;

// Runs `attempt` until it is not Held, pausing HeldFileStepMs between tries
// (the windows kept alive), for at most HeldFileWaitMs after the first try;
// then Held stands. Each try is made anew, so an attempt that builds its
// bytes from the file as it is now keeps what changed meanwhile.
ReplaceResult RetryWhileHeld(Clock& clock, const std::function<ReplaceResult()>& attempt);

}  // namespace morix::platform
