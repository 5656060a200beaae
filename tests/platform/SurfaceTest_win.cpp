#include "platform/Surface_win.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

COLORREF PixelOf(const Surface& surface, int x, int y) { return GetPixel(surface.dc(), x, y); }

// A surface painted in two colours: left half left, right half right.
void Paint(Surface& surface, int width, int height, COLORREF left, COLORREF right) {
    ASSERT_TRUE(surface.Resize(width, height, left));
    RECT half{width / 2, 0, width, height};
    SetBkColor(surface.dc(), right);
    ExtTextOutW(surface.dc(), 0, 0, ETO_OPAQUE, &half, nullptr, 0, nullptr);
}

TEST(Surface, BmpBytesLoadBackPixelForPixel) {
    Surface source;
    Paint(source, 13, 7, RGB(10, 20, 30), RGB(200, 150, 100));
    Bytes bmp = source.ToBmp();
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');

    Surface loaded;
    ASSERT_TRUE(loaded.Load(bmp));
    EXPECT_EQ(loaded.Width(), 13);
    EXPECT_EQ(loaded.Height(), 7);
    EXPECT_EQ(PixelOf(loaded, 0, 0), RGB(10, 20, 30));
    EXPECT_EQ(PixelOf(loaded, 12, 6), RGB(200, 150, 100));
    EXPECT_EQ(PixelOf(loaded, 5, 3), RGB(10, 20, 30));
}

TEST(Surface, BrokenBytesLeaveTheSurfaceAsItWas) {
    Surface surface;
    Paint(surface, 4, 4, RGB(1, 2, 3), RGB(1, 2, 3));
    Bytes bmp = surface.ToBmp();
    for (size_t cut : {size_t{0}, size_t{2}, size_t{20}, size_t{54}}) {
        Bytes prefix(bmp.begin(), bmp.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(surface.Load(prefix)) << cut;
    }
    EXPECT_FALSE(surface.Load(Bytes{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}));
    EXPECT_EQ(surface.Width(), 4);
    EXPECT_EQ(PixelOf(surface, 1, 1), RGB(1, 2, 3));
}

TEST(Surface, ResizeKeepsTheOverlapAndFillsTheRest) {
    Surface surface;
    Paint(surface, 4, 4, RGB(9, 9, 9), RGB(9, 9, 9));
    ASSERT_TRUE(surface.Resize(6, 2, RGB(250, 0, 0)));
    EXPECT_EQ(PixelOf(surface, 3, 1), RGB(9, 9, 9));
    EXPECT_EQ(PixelOf(surface, 5, 1), RGB(250, 0, 0));
}

TEST(Surface, SavedFileLoadsBack) {
    Surface surface;
    Paint(surface, 9, 5, RGB(0, 128, 255), RGB(255, 255, 0));
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + L"velt-surface-test.bmp";
    ASSERT_TRUE(surface.SaveFile(path));
    Surface loaded;
    EXPECT_TRUE(loaded.LoadFile(path));
    EXPECT_EQ(PixelOf(loaded, 8, 4), RGB(255, 255, 0));
    DeleteFileW(path.c_str());
    EXPECT_FALSE(loaded.LoadFile(path));
    EXPECT_EQ(loaded.Width(), 9); // unchanged by the failure
}

} // namespace
} // namespace velt
