// What the date and time dialog tells the user when the system did not
// change its date and time: that it could not be changed, and why. Not the
// input's fault, so not the input's message.
#pragma once

#include "platform/Clock.h"

#include <string>

namespace morix {

inline constexpr char SetTimeMessageTitle[] = "Morix";

// The text for an outcome that is neither Done nor Declined.
std::string CouldNotSetTimeText(const platform::SetTimeOutcome& outcome);

}  // namespace morix
