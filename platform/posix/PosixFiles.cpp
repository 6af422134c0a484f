#include "platform/posix/PosixFiles.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <cerrno>
#include <strings.h>

namespace morix::platform {

std::string PosixFiles::NativePath(std::string_view path) {
    std::string out(path);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::optional<std::string> PosixFiles::ReadAll(std::string_view path) const {
    int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string data;
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    data.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[16384];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) { ::close(fd); return std::nullopt; }
        if (n == 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return data;
}

ReplaceResult PosixFiles::TryReplace(std::string_view path, std::string_view bytes) {
    const std::string target = NativePath(path);
    const std::string temp = target + ".new";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return ReplaceResult::Failed;
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) { ok = false; break; }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    // The data must be on disk before the rename makes it the file.
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temp.c_str(), target.c_str()) == 0) return ReplaceResult::Done;
    ::unlink(temp.c_str());
    return ReplaceResult::Failed;
}

std::optional<FileStamp> PosixFiles::Stamp(std::string_view path) const {
    struct stat st{};
    if (::stat(NativePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(st.st_size),
                     static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     static_cast<std::uint64_t>(st.st_ino)};
}

bool PosixFiles::CanWrite(std::string_view path) const {
    const int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool PosixFiles::FileExists(std::string_view path) const {
    struct stat st{};
    return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixFiles::FolderExists(std::string_view path) const {
    struct stat st{};
    return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

// The folder's entries that are not hidden (no leading ".") and pass the
// test of their name and kind, in the order the file system gives them.
std::vector<std::string> ListEntries(const std::string& dir, bool (*wanted)(const std::string&, const struct stat&, std::string_view),
                                     std::string_view suffix) {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (name.empty() || name[0] == '.') continue;
        struct stat st{};
        if (::stat((dir + "/" + name).c_str(), &st) == 0 && wanted(name, st, suffix)) names.push_back(name);
    }
    ::closedir(d);
    return names;
}

}  // namespace

std::vector<std::string> PosixFiles::ListFiles(std::string_view folder, std::string_view suffix) const {
    return ListEntries(NativePath(folder), [](const std::string& name, const struct stat& st, std::string_view end) {
        return S_ISREG(st.st_mode) && name.size() >= end.size() &&
               ::strcasecmp(name.c_str() + name.size() - end.size(), std::string(end).c_str()) == 0;
    }, suffix);
}

std::vector<std::string> PosixFiles::ListFolders(std::string_view folder) const {
    return ListEntries(NativePath(folder), [](const std::string&, const struct stat& st, std::string_view) {
        return S_ISDIR(st.st_mode);
    }, {});
}

bool PosixFiles::CreateFolder(std::string_view path) {
    const std::string dir = NativePath(path);
    if (::mkdir(dir.c_str(), 0755) == 0) return true;
    struct stat st{};
    return errno == EEXIST && ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFiles::RemoveFile(std::string_view path) { return ::unlink(NativePath(path).c_str()) == 0; }

namespace {

class InotifyWatch final : public FolderWatch {
public:
    explicit InotifyWatch(int fd) : fd_(fd) {}
    ~InotifyWatch() override { ::close(fd_); }
    InotifyWatch(const InotifyWatch&) = delete;
    InotifyWatch& operator=(const InotifyWatch&) = delete;
    bool Changed() override {
        bool any = false;
        alignas(inotify_event) char events[4096];
        ssize_t n = 0;
        while ((n = ::read(fd_, events, sizeof events)) > 0) any = true;
        // A failure other than "nothing queued" leaves the watch unable to tell.
        return any || (n < 0 && errno != EAGAIN);
    }

private:
    int fd_;
};

}  // namespace

std::unique_ptr<FolderWatch> PosixFiles::WatchFolder(std::string_view folder) const {
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) return nullptr;
    constexpr std::uint32_t What = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY | IN_ATTRIB |
                                   IN_DELETE_SELF | IN_MOVE_SELF;
    if (::inotify_add_watch(fd, NativePath(folder).c_str(), What) < 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<InotifyWatch>(fd);
}

}  // namespace morix::platform
