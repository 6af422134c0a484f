// The program's entry in the list of programs that Windows starts when this
// user logs on (the user's own Run key, value "Morix"), and Windows' own
// switch for it: 設定 → アプリ → スタートアップ and Task Manager turn an entry
// off without removing it, by a value of the same name under the user's
// Explorer\StartupApproved\Run key. It is no setting of the settings file:
// Windows reads both from there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morix::platform {

// The switch's value is twelve bytes: a state (02 or 06 on, 03 or 07 off;
// the bit of 4 is set for entries the system found on its own), three zero
// bytes, and the time it was turned off (zeros while on). No value at all is
// on: Windows starts the entry.
inline bool SwitchedOff(const std::optional<std::string>& value) {
    if (!value || value->empty()) return false;
    const unsigned char state = static_cast<unsigned char>(value->front());
    return state == 0x03 || state == 0x07;
}
// What the system's own setting writes when the user turns an entry on.
inline std::string SwitchedOnValue() { return std::string("\x02", 1) + std::string(11, '\0'); }

class LogonStart {
public:
    virtual ~LogonStart() = default;
    // The command the entry starts, or nothing when there is no entry.
    virtual std::optional<std::string> Command() const = 0;
    // Makes or replaces the entry; false when the system refused.
    virtual bool SetCommand(std::string_view command) = 0;
    // Removes the entry; true when there is none after.
    virtual bool Remove() = 0;
    // Windows' switch for the entry, its bytes as stored; nothing when there
    // is no such value.
    virtual std::optional<std::string> Switch() const = 0;
    // Stores the switch's bytes; false when the system refused.
    virtual bool SetSwitch(std::string_view value) = 0;
};

}  // namespace morix::platform
