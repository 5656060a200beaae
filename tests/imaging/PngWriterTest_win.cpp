// The PNG writer on Windows: GDI+ writes first unless properties ask for our encoder, files are
// replaced whole,
// texts use the ANSI code page, and GDI+ reads what we write.
#include "imaging/PngProperty.h"
#include "imaging/c32bppDIB.h"
#include "imaging/cGDIPlus_win.h"
#include "platform/Files.h"
#include "platform/Handles_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace velt::test {
namespace {

void Make(c32bppDIB& image, int32_t width, int32_t height, const std::vector<uint32_t>& pixels) {
    ASSERT_TRUE(image.InitializeDIB(width, height));
    for (size_t i = 0; i < pixels.size(); ++i)
        std::memcpy(image.Pixels().Pixel(static_cast<int32_t>(i % static_cast<size_t>(width)),
                                         static_cast<int32_t>(i / static_cast<size_t>(width))),
                    &pixels[i], 4);
}

uint8_t ColourType(const std::vector<uint8_t>& png) { return png.size() > 25 ? png[25] : 0xFF; }

std::vector<uint8_t> Contents(const std::filesystem::path& path) {
    std::vector<uint8_t> bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

int TemporariesIn(const std::filesystem::path& folder) {
    WIN32_FIND_DATAW found{};
    UniqueFind search(FindFirstFileW((folder / L"vlt*.tmp").c_str(), &found));
    if (!search) return 0;
    int count = 1;
    while (FindNextFileW(search.get(), &found)) ++count;
    return count;
}

class PngFolder : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::filesystem::path(temp) / L"velt-png-writer-win";
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override {
        SetFileAttributesW((m_folder / L"locked.png").c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(m_folder);
    }
    std::filesystem::path m_folder;
};

TEST_F(PngFolder, WriterOrderAndFilesReplacedWhole) {
    c32bppDIB image;
    Make(image, 2, 2, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF102030});
    std::vector<uint8_t> stream;
    // Without properties GDI+ writes; it never chooses a palette.
    ASSERT_TRUE(image.SaveToStream_PNG(stream));
    EXPECT_NE(ColourType(stream), 3);
    // A property makes our encoder write first, and it picks a palette for four colours.
    ASSERT_TRUE(image.PngPropertySet(pngTitle, L"four"));
    stream.clear();
    ASSERT_TRUE(image.SaveToStream_PNG(stream));
    EXPECT_EQ(ColourType(stream), 3);

    const std::filesystem::path file = m_folder / L"out.png";
    ASSERT_TRUE(UniqueFile(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)));
    ASSERT_TRUE(image.SaveToFile_PNG(file, false));
    EXPECT_EQ(Contents(file), stream);
    EXPECT_EQ(TemporariesIn(m_folder), 0);

    // A file in use cannot be replaced: it stays, and nothing is left beside it.
    UniqueFile held(CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(image.SaveToFile_PNG(file, false));
    c32bppDIB plain; // written by GDI+
    Make(plain, 1, 1, {0xFF000000});
    EXPECT_FALSE(plain.SaveToFile_PNG(file, false));
    EXPECT_FALSE(plain.SaveToFile(file, false));
    held.reset();
    EXPECT_EQ(Contents(file), stream);
    EXPECT_EQ(TemporariesIn(m_folder), 0);

    // Bitmaps are replaced whole as well.
    const std::filesystem::path bitmap = m_folder / L"out.bmp";
    ASSERT_TRUE(plain.SaveToFile(bitmap, false));
    std::vector<uint8_t> bmp;
    ASSERT_TRUE(plain.SaveToStream(bmp));
    EXPECT_EQ(Contents(bitmap), bmp);
    EXPECT_EQ(TemporariesIn(m_folder), 0);
}

TEST_F(PngFolder, TextsAreWrittenInTheAnsiCodePage) {
    c32bppDIB image;
    Make(image, 1, 1, {0xFF000000});
    ASSERT_TRUE(image.PngPropertySet(pngTitle, L"Caf\u00E9"));
    std::vector<uint8_t> png;
    ASSERT_TRUE(image.SaveToStream_PNG(png));
    char ansi[8] = {};
    BOOL defaulted = FALSE;
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, L"\u00E9", 1, ansi, 8, nullptr, &defaulted), 1);
    const std::string text = std::string("tEXtTitle") + '\0' + "Caf" + ansi[0];
    const std::vector<uint8_t> expected(text.begin(), text.end());
    EXPECT_NE(std::search(png.begin(), png.end(), expected.begin(), expected.end()), png.end());
}

// Dates given as text are read by the C library's wide scanning, which differs by platform.
TEST(PngWriterWin, ModificationTimeFromText) {
    c32bppDIB image;
    Make(image, 1, 1, {0xFF000000});
    ASSERT_TRUE(image.PngPropertySet(pngModifiedTime, L"2024-02-29 13:45:10"));
    EXPECT_FALSE(image.PngPropertySet(pngModifiedTime, L"2023-02-29"));
    std::vector<uint8_t> png;
    ASSERT_TRUE(image.SaveToStream_PNG(png));
    const uint8_t time[] = {'t', 'I', 'M', 'E', 0x07, 0xE8, 2, 29, 13, 45, 10};
    EXPECT_NE(std::search(png.begin(), png.end(), std::begin(time), std::end(time)), png.end());
    EXPECT_EQ(std::get<std::wstring>(image.PngPropertyGet(pngTitle)), L"");
}

// GDI+, a decoder of its own, reads every colour type we write to the same pixels (its
// premultiplication may round the other way).
TEST(PngWriterWin, GdiplusReadsWhatWeWrite) {
    std::mt19937 rng(9);
    std::vector<std::vector<uint32_t>> pictures(4);
    for (int i = 0; i < 400; ++i) {
        const uint32_t r = rng();
        pictures[0].push_back(r % 5 == 0 ? 0 : 0xFF000000 | (r % 200) * 0x010101); // grey, key
        pictures[1].push_back(i % 7 == 0 ? 0x80402010 : 0xFF000000 | (r % 30) * 0x050301);
        pictures[2].push_back(r % 9 == 0 ? 0 : 0xFF000000 | (r & 0xFFFFFF)); // truecolour, key
        const uint32_t a = r & 0xFF, red = (r >> 8) % (a + 1), green = (r >> 16) % (a + 1);
        pictures[3].push_back(a << 24 | red << 16 | green << 8 | (r >> 24) % (a + 1)); // alpha
    }
    const uint8_t types[] = {0, 3, 2, 6};
    for (size_t k = 0; k < pictures.size(); ++k) {
        SCOPED_TRACE(k);
        c32bppDIB image, loaded;
        Make(image, 20, 20, pictures[k]);
        ASSERT_TRUE(image.PngPropertySet(pngTitle, L"ours")); // our encoder writes
        std::vector<uint8_t> png;
        ASSERT_TRUE(image.SaveToStream_PNG(png));
        EXPECT_EQ(ColourType(png), types[k]);
        ASSERT_TRUE(cGDIPlus().LoadWithGdip(nullptr, png, loaded));
        ASSERT_EQ(loaded.Width(), 20);
        int worst = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                for (int c = 0; c < 4; ++c)
                    worst = std::max(worst, std::abs(image.Pixels().Pixel(x, y)[c] -
                                                     loaded.Pixels().Pixel(x, y)[c]));
        EXPECT_LE(worst, 1);
    }
}

} // namespace
} // namespace velt::test
