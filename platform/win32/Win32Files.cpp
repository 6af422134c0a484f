#include "platform/win32/Win32Files.h"

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Handles.h"

#include <algorithm>
#include <atomic>

namespace morix::platform::win32 {

namespace {

// Asking the notification itself whether it fired is a wait, and under Wine
// every wait is a round trip to its server; the settings are read several
// times a second. So a thread waits on it instead and raises a flag, and
// asking is reading that flag. The thread touches nothing else.
class Win32FolderWatch final : public FolderWatch {
public:
    static std::unique_ptr<FolderWatch> Start(std::string_view folder) {
        constexpr DWORD What = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                               FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_ATTRIBUTES;
        HANDLE change = FindFirstChangeNotificationW(Widen(folder).c_str(), FALSE, What);
        if (change == INVALID_HANDLE_VALUE) return nullptr;
        std::unique_ptr<Win32FolderWatch> watch(new Win32FolderWatch(change));
        if (!watch->stop_.Valid()) return nullptr;
        watch->thread_ = Handle(CreateThread(nullptr, 0, &Win32FolderWatch::Run, watch.get(), 0, nullptr));
        if (!watch->thread_.Valid()) return nullptr;
        return watch;
    }
    ~Win32FolderWatch() override {
        if (thread_.Valid()) {
            SetEvent(stop_.Get());
            WaitForSingleObject(thread_.Get(), INFINITE);
        }
        FindCloseChangeNotification(change_);
    }
    Win32FolderWatch(const Win32FolderWatch&) = delete;
    Win32FolderWatch& operator=(const Win32FolderWatch&) = delete;

    bool Changed() override { return blind_.load(std::memory_order_acquire) || changed_.exchange(false, std::memory_order_acq_rel); }

private:
    explicit Win32FolderWatch(HANDLE change) : change_(change), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

    static DWORD WINAPI Run(void* self) {
        static_cast<Win32FolderWatch*>(self)->Wait();
        return 0;
    }
    void Wait() {
        const HANDLE handles[2] = {stop_.Get(), change_};
        for (;;) {
            const DWORD woken = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
            if (woken == WAIT_OBJECT_0) return;  // the watch ends
            // Armed again before the flag goes up: a change after this
            // signals anew, and one before it is there for the read that the
            // flag sends to the file. A wait that failed (WAIT_FAILED) or a
            // notification that cannot be armed again leaves nobody
            // watching: from then on the folder counts as one that cannot be
            // watched, instead of one where nothing changes.
            if (woken != WAIT_OBJECT_0 + 1 || !FindNextChangeNotification(change_)) {
                blind_.store(true, std::memory_order_release);
                return;
            }
            changed_.store(true, std::memory_order_release);
        }
    }

    HANDLE change_;
    Handle stop_;
    Handle thread_;
    std::atomic<bool> changed_{false};
    // The notification broke: from now on every question is answered yes.
    std::atomic<bool> blind_{false};
};

}  // namespace

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

DWORD WriteFlushedFile(const std::wstring& path, std::string_view bytes) {
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return GetLastError();
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD wrote = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file.Get(), bytes.data() + done, want, &wrote, nullptr)) return GetLastError();
        if (wrote == 0) return ERROR_DISK_FULL;
        done += wrote;
    }
    // The data must be on the disk before a rename makes it the file.
    if (!FlushFileBuffers(file.Get())) return GetLastError();
    return ERROR_SUCCESS;
}

ReplaceResult Win32Files::TryReplace(std::string_view path, std::string_view bytes) {
    const std::wstring target = Widen(path);
    const std::wstring temp = target + L".new";
    if (WriteFlushedFile(temp, bytes) != ERROR_SUCCESS) {
        DeleteFileW(temp.c_str());
        return ReplaceResult::Failed;
    }
    if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ReplaceResult::Done;
    const DWORD error = GetLastError();
    DeleteFileW(temp.c_str());
    return IsHeldFileError(error) ? ReplaceResult::Held : ReplaceResult::Failed;
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

bool Win32Files::CanWrite(std::string_view path) const {
    // Others may read and write it meanwhile: only our own right to write counts.
    HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

bool Win32Files::RemoveFile(std::string_view path) { return DeleteFileW(Widen(path).c_str()) != 0; }

std::unique_ptr<FolderWatch> Win32Files::WatchFolder(std::string_view folder) const {
    return Win32FolderWatch::Start(folder);
}

}  // namespace morix::platform::win32
