// The program's one error type: a run-time error number with its standard
// Japanese description, raised by a failing step and caught by the procedure's
// handler, which stores the number in ErrNo and calls ShowErrorPrompt.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace morix {

namespace err {
inline constexpr int InvalidCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int DllLoad = 48;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIo = 57;
inline constexpr int DiskFull = 61;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int ObjectNotSet = 91;
inline constexpr int NoSuchControl = 340;
inline constexpr int InvalidProperty = 380;
inline constexpr int DllEntryNotFound = 453;
inline constexpr int InvalidPicture = 481;
}  // namespace err

// The run-time's standard text for an error number, in Japanese.
std::string StandardDescription(int number);

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int number);
    // `subject` names what failed (a file, an entry point); it is appended to
    // the standard text so the user sees which one.
    RuntimeError(int number, std::string_view subject);
    RuntimeError(int number, std::string description, int /*tag: exact text*/);

    int Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }

private:
    int number_;
    std::string description_;
};

[[noreturn]] void Raise(int number);
[[noreturn]] void Raise(int number, std::string_view subject);

// Narrows a number to the signed 16 bits the program keeps most values in;
// anything outside -32768..32767 is an overflow (error 6).
std::int16_t ToInt16(long long value);
// The same for the 32 bits of the program's long arithmetic.
std::int32_t ToInt32(long long value);

}  // namespace morix
