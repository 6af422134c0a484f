// The probe's eyes on the clock's face: which clip each display shows, found
// by comparing the screen under the two displays with the last frame of each
// of the design's sixty clips (the frame that a played clip leaves shown).
// And the local time as Wine gives it to a program, to see whether a faked
// system clock reaches Windows programs at all.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int FaceWidth = 66, FaceHeight = 22;
constexpr int ClipWidth = 25, ClipHeight = 22;
constexpr int HourLeft = 5, MinuteLeft = 36;

using Frame = std::vector<COLORREF>;  // ClipWidth x ClipHeight, top row first

std::uint32_t U32(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8) |
           (static_cast<std::uint8_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24);
}

struct ClipParts {
    std::string format;     // the stream's BITMAPINFOHEADER and palette
    std::string lastFrame;  // the last frame's RLE8 data
};

// Walks the RIFF chunks between from and to, into lists.
void Walk(const std::string& b, std::size_t from, std::size_t to, ClipParts& parts) {
    while (from + 8 <= to) {
        const std::string id = b.substr(from, 4);
        const std::size_t size = U32(b, from + 4);
        const std::size_t body = from + 8, end = std::min(to, body + size);
        if (id == "RIFF" || id == "LIST") Walk(b, body + 4, end, parts);
        else if (id == "strf") parts.format = b.substr(body, end - body);
        else if (id == "00dc" || id == "00db") parts.lastFrame = b.substr(body, end - body);
        from = body + size + (size & 1);
    }
}

// The last frame of an RLE8 clip, as the colours it shows.
std::optional<Frame> LastFrame(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 12) return std::nullopt;
    ClipParts parts;
    Walk(b, 0, b.size(), parts);
    if (parts.format.size() < 40 || parts.lastFrame.empty()) return std::nullopt;
    const int width = static_cast<int>(U32(parts.format, 4)), height = static_cast<int>(U32(parts.format, 8));
    if (width != ClipWidth || height != ClipHeight || U32(parts.format, 16) != BI_RLE8) return std::nullopt;
    std::vector<COLORREF> palette;
    for (std::size_t at = 40; at + 4 <= parts.format.size(); at += 4)
        palette.push_back(RGB(static_cast<std::uint8_t>(parts.format[at + 2]), static_cast<std::uint8_t>(parts.format[at + 1]),
                              static_cast<std::uint8_t>(parts.format[at])));
    Frame frame(ClipWidth * ClipHeight, 0);
    const std::string& d = parts.lastFrame;
    const auto put = [&](int x, int y, std::uint8_t index) {  // y counts rows from the bottom
        if (x >= 0 && x < width && y >= 0 && y < height && index < palette.size())
            frame[static_cast<std::size_t>((height - 1 - y) * width + x)] = palette[index];
    };
    int x = 0, y = 0;
    for (std::size_t i = 0; i + 1 < d.size();) {
        const auto count = static_cast<std::uint8_t>(d[i]), code = static_cast<std::uint8_t>(d[i + 1]);
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k) put(x++, y, code);
        } else if (code == 0) {
            x = 0, ++y;
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            if (i + 1 >= d.size()) break;
            x += static_cast<std::uint8_t>(d[i]), y += static_cast<std::uint8_t>(d[i + 1]);
            i += 2;
        } else {
            for (int k = 0; k < code && i < d.size(); ++k) put(x++, y, static_cast<std::uint8_t>(d[i++]));
            if (code & 1) ++i;
        }
    }
    return frame;
}

// The clock's face as the screen shows it now.
std::optional<std::vector<COLORREF>> FaceOnScreen(HWND clock) {
    POINT origin{0, 0};
    if (!ClientToScreen(clock, &origin)) return std::nullopt;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), FaceWidth, -FaceHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::optional<std::vector<COLORREF>> face;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, FaceWidth, FaceHeight, screen, origin.x, origin.y, SRCCOPY)) {
            GdiFlush();
            const auto* p = static_cast<const std::uint32_t*>(bits);
            face.emplace();
            for (int i = 0; i < FaceWidth * FaceHeight; ++i)
                face->push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return face;
}

// Pixels of the display at `left` that differ from the frame; the shaped
// window's cut-away corners may show what lies behind it, so a few may.
int Mismatches(const std::vector<COLORREF>& face, int left, const Frame& frame) {
    int differ = 0;
    for (int y = 0; y < ClipHeight; ++y)
        for (int x = 0; x < ClipWidth; ++x) {
            const COLORREF a = face[static_cast<std::size_t>(y * FaceWidth + left + x)], b = frame[static_cast<std::size_t>(y * ClipWidth + x)];
            const int d = std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
                          std::abs(GetBValue(a) - GetBValue(b));
            if (d > 24) ++differ;
        }
    return differ;
}

// The clip whose last frame the display shows, or -1: the best match, with
// few pixels off and far fewer than the next best.
int ClipShown(const std::vector<COLORREF>& face, int left, const std::vector<Frame>& frames, int& off) {
    int best = -1, bestOff = 1 << 30, secondOff = 1 << 30;
    for (int n = 0; n < static_cast<int>(frames.size()); ++n) {
        const int m = Mismatches(face, left, frames[static_cast<std::size_t>(n)]);
        if (m < bestOff) secondOff = bestOff, bestOff = m, best = n;
        else if (m < secondOff) secondOff = m;
    }
    off = bestOff;
    return bestOff <= ClipWidth * ClipHeight / 10 && bestOff * 2 < secondOff ? best : -1;
}

long long UnixMs() {
    FILETIME ft{};
    GetSystemTimeAsFileTime(&ft);
    const long long t = (static_cast<long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (t - 116444736000000000LL) / 10000;
}

}  // namespace

int ProbeClips(int argc, wchar_t** argv);
int ProbeLocalTime();

// probe clips <design folder> [ms] [hour]: reads the design's clips, says
// ready=1, then waits at most ms until both displays show a clip's last frame
// (and the hour display the clip of `hour`, when given); prints hour=NN
// minute=NN (-1 for no clip), how many pixels differ from those frames, and
// seen_unix_ms, the real time at which the face was seen so.
int ProbeClips(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring folder = argv[2];
    const int timeout = argc > 3 ? _wtoi(argv[3]) : 3000;
    const int wantHour = argc > 4 ? _wtoi(argv[4]) : -1;
    std::vector<Frame> frames;
    for (int n = 0; n < 60; ++n) {
        wchar_t name[8];
        swprintf(name, 8, L"%02d.avi", n);
        std::optional<Frame> f = LastFrame(folder + L"\\" + name);
        if (!f) {
            std::printf("error=cannot read clip %02d\n", n);
            return 1;
        }
        frames.push_back(*f);
    }
    std::printf("ready=1\n");
    std::fflush(stdout);
    const long long start = UnixMs();
    int hour = -1, minute = -1, hourOff = 0, minuteOff = 0;
    for (;;) {
        HWND clock = FindWindowW(L"MorixForm", L"Morix");
        if (clock && IsWindowVisible(clock)) {
            if (auto face = FaceOnScreen(clock)) {
                hour = ClipShown(*face, HourLeft, frames, hourOff);
                minute = ClipShown(*face, MinuteLeft, frames, minuteOff);
            }
        }
        const long long now = UnixMs();
        const bool seen = hour >= 0 && minute >= 0 && (wantHour < 0 || hour == wantHour);
        if (seen || now - start >= timeout) {
            std::printf("hour=%02d\nminute=%02d\nhour_off=%d\nminute_off=%d\nseen_unix_ms=%lld\n", hour, minute, hourOff,
                        minuteOff, seen ? now : -1LL);
            return seen ? 0 : 1;
        }
        Sleep(50);
    }
}

// probe local-time: the local date and time as a program reads it.
int ProbeLocalTime() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    std::printf("local=%04u-%02u-%02u %02u:%02u:%02u\nunix_ms=%lld\n", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond, UnixMs());
    return 0;
}
