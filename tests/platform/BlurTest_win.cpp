#include "platform/Blur_win.h"
#include "platform/Surface_win.h"

#include <gtest/gtest.h>

#include <string>

namespace velt {
namespace {

// Black on the left half, white on the right.
void PaintEdge(Surface& surface) {
    ASSERT_TRUE(surface.Resize(20, 10, RGB(0, 0, 0)));
    RECT right{10, 0, 20, 10};
    FillRect(surface.dc(), &right, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

TEST(Blur, TheLibrarySoftensAnEdgeInPlace) {
    BlurLibrary library(L"DesktopsManager.dll");
    ASSERT_TRUE(library.Loaded());
    Surface surface;
    PaintEdge(surface);
    library.BlurInPlace(surface.dc(), 20, 10);
    int nearEdge = GetRValue(GetPixel(surface.dc(), 9, 5));
    EXPECT_GT(nearEdge, 20);
    EXPECT_LT(nearEdge, 235);
    EXPECT_EQ(GetPixel(surface.dc(), 0, 0), RGB(0, 0, 0)); // far from the edge nothing moves
    EXPECT_EQ(GetPixel(surface.dc(), 19, 9), RGB(255, 255, 255));

    BlurInPlace(surface.dc(), 20, 10, 7, 7); // the program's binding finds the same library
    EXPECT_GT(GetRValue(GetPixel(surface.dc(), 8, 5)), 0);
}

TEST(Blur, WithoutTheLibraryNothingHappens) {
    BlurLibrary missing(L"NoSuchBlurLibrary.dll");
    EXPECT_FALSE(missing.Loaded());
    Surface surface;
    PaintEdge(surface);
    missing.BlurInPlace(surface.dc(), 20, 10);
    EXPECT_EQ(GetPixel(surface.dc(), 9, 5), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(surface.dc(), 10, 5), RGB(255, 255, 255));
}

// A copy in the current folder, which the default search order would find, is never loaded.
TEST(Blur, ALibraryPlantedInTheCurrentFolderIsIgnored) {
    wchar_t exe[MAX_PATH], temp[MAX_PATH], previous[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    std::wstring beside(exe);
    beside = beside.substr(0, beside.find_last_of(L'\\') + 1) + L"DesktopsManager.dll";
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring planted = std::wstring(temp) + L"PlantedBlur.dll";
    ASSERT_TRUE(CopyFileW(beside.c_str(), planted.c_str(), FALSE));
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(temp));
    {
        BlurLibrary library(L"PlantedBlur.dll");
        EXPECT_FALSE(library.Loaded());
    }
    SetCurrentDirectoryW(previous);
    DeleteFileW(planted.c_str());
}

} // namespace
} // namespace velt
