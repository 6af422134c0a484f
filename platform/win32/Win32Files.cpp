#include "platform/win32/Win32Files.h"

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Handles.h"

#include <algorithm>

namespace morix::platform::win32 {

std::optional<std::string> Win32Files::ReadAll(std::string_view path) const {
    Handle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) return std::nullopt;
    std::string data(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD got = 0;
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1 << 20));
        if (!ReadFile(file.Get(), data.data() + done, want, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        done += got;
    }
    data.resize(done);
    return data;
}

bool Win32Files::ReplaceAtomically(std::string_view path, std::string_view bytes) {
    const std::wstring target = Widen(path);
    const std::wstring temp = target + L".new";
    {
        Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return false;
        std::size_t done = 0;
        bool ok = true;
        while (ok && done < bytes.size()) {
            DWORD wrote = 0;
            DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
            ok = WriteFile(file.Get(), bytes.data() + done, want, &wrote, nullptr) && wrote > 0;
            done += wrote;
        }
        // The data must be on disk before the rename makes it the file.
        if (!ok || !FlushFileBuffers(file.Get())) {
            file.Reset();
            DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(temp.c_str());
    return false;
}

std::optional<FileStamp> Win32Files::Stamp(std::string_view path) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    auto join = [](DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; };
    // A file replaced by a rename is a file made anew: its creation time
    // tells it from the one before.
    return FileStamp{join(data.nFileSizeHigh, data.nFileSizeLow),
                     static_cast<std::int64_t>(join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)),
                     join(data.ftCreationTime.dwHighDateTime, data.ftCreationTime.dwLowDateTime)};
}

bool Win32Files::FileExists(std::string_view path) const {
    DWORD a = GetFileAttributesW(Widen(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Files::FolderExists(std::string_view path) const {
    DWORD a = GetFileAttributesW(Widen(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> Win32Files::ListFiles(std::string_view folder, std::string_view suffix) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    HANDLE first = FindFirstFileW((Widen(folder) + L"\\*" + Widen(suffix)).c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) return names;
    UniqueFind find(first);
    const std::wstring wantedSuffix = Widen(suffix);
    do {
        const DWORD skip = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if (found.dwFileAttributes & skip) continue;
        std::wstring name = found.cFileName;
        // The pattern also matches through short names ("x.rtfx"); keep exact endings only.
        if (name.size() < wantedSuffix.size() ||
            CompareStringOrdinal(name.c_str() + name.size() - wantedSuffix.size(), static_cast<int>(wantedSuffix.size()),
                                 wantedSuffix.c_str(), static_cast<int>(wantedSuffix.size()), TRUE) != CSTR_EQUAL)
            continue;
        names.push_back(Narrow(name));
    } while (FindNextFileW(find.Get(), &found));
    return names;
}

std::vector<std::string> Win32Files::ListFolders(std::string_view folder) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    HANDLE first = FindFirstFileW((Widen(folder) + L"\\*").c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) return names;
    UniqueFind find(first);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        names.push_back(Narrow(name));
    } while (FindNextFileW(find.Get(), &found));
    return names;
}

bool Win32Files::CreateFolder(std::string_view path) {
    if (CreateDirectoryW(Widen(path).c_str(), nullptr)) return true;
    return GetLastError() == ERROR_ALREADY_EXISTS && FolderExists(path);
}

bool Win32Files::RemoveFile(std::string_view path) { return DeleteFileW(Widen(path).c_str()) != 0; }

}  // namespace morix::platform::win32
