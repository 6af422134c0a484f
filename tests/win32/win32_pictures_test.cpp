// Picture loading under Wine: BMP through LoadImageW, GIF through the OLE
// picture loader into a 32-bit bitmap, and the run-time errors 53, 76, 481.
#include "Win32TestSupport.h"

#include "base/RuntimeError.h"
#include "platform/win32/Win32Picture.h"
#include "platform/win32/Win32Pictures.h"

#include <gtest/gtest.h>

namespace morix::win32test {
namespace {

using platform::win32::AsWin32;
using platform::win32::Win32Pictures;


// The picture's pixel as 0xRRGGBB.
std::uint32_t PixelOf(const std::shared_ptr<platform::Picture>& picture, int x, int y) {
    auto win32 = AsWin32(picture);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, win32->Bitmap());
    COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return static_cast<std::uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

class Win32PicturesTest : public ::testing::Test {
protected:
    TempFolder folder;
    Win32Pictures pictures;
};

TEST_F(Win32PicturesTest, BmpKeepsItsSizeAndPixels) {
    std::string path = folder.Write(L"Back.bmp", BmpBytes(66, 22, [](int x, int y) {
        return x == 65 && y == 21 ? RGB(1, 2, 3) : RGB(200, 100, 50);
    }));
    auto picture = pictures.Load(path);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 66);
    EXPECT_EQ(picture->Height(), 22);
    EXPECT_EQ(PixelOf(picture, 0, 0), 0xC86432u);
    EXPECT_EQ(PixelOf(picture, 65, 21), 0x010203u);  // bottom-up rows come out the right way up
}

TEST_F(Win32PicturesTest, GifKeepsItsSizeColoursAndTransparencyBecomesTheMask) {
    const COLORREF palette[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(9, 9, 9)};
    std::string path = folder.Write(L"MsgLU.gif", GifBytes(7, 5, palette, [](int x, int y) {
        if (x == 6 && y == 4) return 2;
        if (y == 0) return 3;  // transparent
        return x < 3 ? 0 : 1;
    }, 3));
    auto picture = pictures.Load(path);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 7);
    EXPECT_EQ(picture->Height(), 5);
    EXPECT_EQ(PixelOf(picture, 0, 1), 0xFF0000u);
    EXPECT_EQ(PixelOf(picture, 4, 2), 0x00FF00u);
    EXPECT_EQ(PixelOf(picture, 6, 4), 0x0000FFu);
    EXPECT_EQ(PixelOf(picture, 3, 0), 0xC0C0C0u);
}

TEST_F(Win32PicturesTest, TheGeneratedBalloonFramesLoad) {
    std::wstring dist = DistFolder();
    if (dist.empty()) GTEST_SKIP() << "no program folder at " MORIX_DIST_DIR "; build the native 'assets' target first";
    for (const wchar_t* name : {L"MsgLD.gif", L"MsgLU.gif", L"MsgRD.gif", L"MsgRU.gif"}) {
        auto picture = pictures.Load(platform::win32::Narrow(dist + L"\\Frame\\Ellip01\\" + name));
        EXPECT_GT(picture->Width(), 0) << platform::win32::Narrow(name);
        EXPECT_GT(picture->Height(), 0);
    }
    auto outline = pictures.Load(platform::win32::Narrow(dist + L"\\Design\\Tidewalk\\TP.bmp"));
    EXPECT_EQ(outline->Width(), 66);
    EXPECT_EQ(outline->Height(), 22);
}

TEST_F(Win32PicturesTest, MissingFileFolderAndNonPicturesRaiseTheRunTimesErrors) {
    EXPECT_EQ(ErrorOf([&] { pictures.Load(folder.Utf8File(L"Back.bmp")); }), err::FileNotFound);
    EXPECT_EQ(ErrorOf([&] { pictures.Load(folder.Utf8File(L"Gone\\Back.bmp")); }), err::PathNotFound);
    EXPECT_EQ(ErrorOf([&] { pictures.Load(folder.Write(L"text.bmp", "not a picture at all")); }), err::InvalidPicture);
    EXPECT_EQ(ErrorOf([&] { pictures.Load(folder.Write(L"empty.gif", "")); }), err::InvalidPicture);
    EXPECT_EQ(ErrorOf([&] { pictures.Load(folder.Write(L"cut.bmp", BmpBytes(4, 4, [](int, int) { return 0; }).substr(0, 20))); }),
              err::InvalidPicture);
    EXPECT_EQ(ErrorOf([&] { pictures.Load(folder.Write(L"cut.gif", std::string("GIF89a\x04\x00\x04\x00", 10))); }),
              err::InvalidPicture);
}

// Pictures the program draws, and the program's own icon from its resources.
TEST_F(Win32PicturesTest, DrawnPicturesAndTheProgramIcon) {
    std::vector<std::uint32_t> pixels(7 * 3, 0x102030);
    pixels[2 * 7 + 6] = 0xC0C0C0;
    auto drawn = pictures.FromPixels(7, 3, pixels);
    EXPECT_EQ(drawn->Width(), 7);
    EXPECT_EQ(drawn->Height(), 3);
    EXPECT_EQ(PixelOf(drawn, 0, 0), 0x102030u);
    EXPECT_EQ(PixelOf(drawn, 6, 2), 0xC0C0C0u) << "row by row from the top";
    EXPECT_EQ(ErrorOf([&] { pictures.FromPixels(7, 3, std::vector<std::uint32_t>(5)); }), err::InvalidPicture);

    auto icon = pictures.ProgramIcon(32);
    EXPECT_EQ(icon->Width(), 32);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(PixelOf(icon, 0, 0), static_cast<std::uint32_t>(GetRValue(face)) << 16 | GetGValue(face) << 8 | GetBValue(face))
        << "the see-through corner shows the dialogs' face";
    const std::uint32_t middle = PixelOf(icon, 8, 16);  // on the clock's white face
    EXPECT_GT(middle & 0xFF, 0xE0u);
}

}  // namespace
}  // namespace morix::win32test
