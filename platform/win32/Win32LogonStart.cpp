#include "platform/win32/Win32LogonStart.h"

#include "platform/win32/Wide.h"

#include <windows.h>

namespace morix::platform::win32 {

namespace {

// A key of the user's opened with the rights asked, closed when it goes.
class UserKeyHandle {
public:
    explicit UserKeyHandle(REGSAM access, const wchar_t* path = Win32LogonStart::RunKey) {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~UserKeyHandle() {
        if (key_) RegCloseKey(key_);
    }
    UserKeyHandle(const UserKeyHandle&) = delete;
    UserKeyHandle& operator=(const UserKeyHandle&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

std::optional<std::string> Win32LogonStart::Command() const {
    UserKeyHandle key(KEY_QUERY_VALUE);
    if (!key.get()) return std::nullopt;
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.get(), ValueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::string();
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), ValueName, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    // The stored text may or may not end in its NUL.
    text.resize(bytes / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return Narrow(text);
}

bool Win32LogonStart::SetCommand(std::string_view command) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, RunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const std::wstring text = Widen(command);
    const LONG result = RegSetValueExW(key, ValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool Win32LogonStart::Remove() {
    UserKeyHandle key(KEY_SET_VALUE);
    if (!key.get()) return true;  // no Run key: no entry either
    const LONG result = RegDeleteValueW(key.get(), ValueName);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

std::optional<std::string> Win32LogonStart::Switch() const {
    UserKeyHandle key(KEY_QUERY_VALUE, SwitchKey);
    if (!key.get()) return std::nullopt;
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.get(), ValueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
    std::string value(bytes, '\0');
    if (RegQueryValueExW(key.get(), ValueName, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.resize(bytes);
    return value;
}

bool Win32LogonStart::SetSwitch(std::string_view value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SwitchKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExW(key, ValueName, 0, REG_BINARY, reinterpret_cast<const BYTE*>(value.data()),
                                       static_cast<DWORD>(value.size()));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

}  // namespace morix::platform::win32
