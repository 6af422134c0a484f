#include "platform/HeldFile.h"

#include <algorithm>

namespace morix::platform {

ReplaceResult RetryWhileHeld(Clock& clock, const std::function<ReplaceResult()>& attempt) {
    const std::uint64_t start = clock.TickCountMs();
    for (;;) {
        const ReplaceResult result = attempt();
        if (result != ReplaceResult::Held) return result;
        // A last try is made at the bound itself, not a step short of it.
        const std::uint64_t waited = clock.TickCountMs() - start;
        if (waited >= HeldFileWaitMs) return result;
        clock.Pause(static_cast<unsigned>(std::min<std::uint64_t>(HeldFileStepMs, HeldFileWaitMs - waited)));
    }
}

}  // namespace morix::platform
