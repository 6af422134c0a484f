// The program's entry in the list of programs that Windows starts when this
// user logs on (the user's own Run key, value "Morix"). It is no setting of
// the settings file: Windows reads it from there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morix::platform {

class LogonStart {
public:
    virtual ~LogonStart() = default;
    // The command the entry starts, or nothing when there is no entry.
    virtual std::optional<std::string> Command() const = 0;
    // Makes or replaces the entry; false when the system refused.
    virtual bool SetCommand(std::string_view command) = 0;
    // Removes the entry; true when there is none after.
    virtual bool Remove() = 0;
};

}  // namespace morix::platform
