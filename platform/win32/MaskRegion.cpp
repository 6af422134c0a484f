#include "platform/win32/MaskRegion.h"

#include <cstring>

namespace morix::platform::win32 {

namespace {

// The runs of one row as [left, right) pairs.
void RowRuns(const std::uint32_t* row, int width, std::uint32_t maskRgb, std::vector<LONG>& runs) {
    runs.clear();
    int x = 0;
    while (x < width) {
        while (x < width && (row[x] & 0xFFFFFFu) == maskRgb) ++x;
        if (x == width) break;
        int start = x;
        while (x < width && (row[x] & 0xFFFFFFu) != maskRgb) ++x;
        runs.push_back(start);
        runs.push_back(x);
    }
}

}  // namespace

std::vector<RECT> OpaqueRuns(const std::uint32_t* pixels, int width, int height, std::uint32_t maskRgb) {
    std::vector<RECT> rects;
    std::vector<LONG> previous, current;
    std::size_t previousFirst = 0;  // index in `rects` of the previous row's runs
    for (int y = 0; y < height; ++y) {
        RowRuns(pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width), width, maskRgb, current);
        if (y > 0 && !current.empty() && current == previous) {
            for (std::size_t i = previousFirst; i < rects.size(); ++i) rects[i].bottom = y + 1;
            continue;
        }
        previousFirst = rects.size();
        for (std::size_t i = 0; i < current.size(); i += 2) rects.push_back(RECT{current[i], y, current[i + 1], y + 1});
        previous.swap(current);
    }
    return rects;
}

UniqueRegion RegionFromMask(HBITMAP bitmap, std::uint32_t maskRgb) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) != sizeof info) return {};
    const int width = info.bmWidth;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    if (width <= 0 || height <= 0) return UniqueRegion(CreateRectRgn(0, 0, 0, 0));

    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = -height;  // top-down
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    {
        WindowDc screen(nullptr);
        if (GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &request, DIB_RGB_COLORS) !=
            height)
            return {};
    }

    // GetDIBits gives 0x00RRGGBB per pixel (blue in the low byte).
    std::vector<RECT> rects = OpaqueRuns(pixels.data(), width, height, maskRgb & 0xFFFFFFu);
    if (rects.empty()) return UniqueRegion(CreateRectRgn(0, 0, 0, 0));

    std::vector<unsigned char> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof header;
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(rects.size());
    header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    header.rcBound = RECT{0, 0, width, height};
    std::memcpy(data.data(), &header, sizeof header);
    std::memcpy(data.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
    return UniqueRegion(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                        reinterpret_cast<const RGNDATA*>(data.data())));
}

}  // namespace morix::platform::win32
