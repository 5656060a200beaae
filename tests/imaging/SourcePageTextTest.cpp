// The image source page's texts: the one-line description of a picture, the icon list's lines in
// their order with the choice they offer, and reading a line back.
#include "imaging/SourcePageText.h"

#include "imaging/ImageTypes.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

TEST(SourcePageText, DescribesEachKindOfPicture) {
    struct Case {
        std::int32_t type;
        bool alpha;
        const char* text;
    };
    const Case cases[] = {
        {itBitmap, false, "100 x 50 - Bitmap or JPG file"},
        {itMetafile, false, "100 x 50 - Windows Meta File"},
        {itEnhMetafile, false, "100 x 50 - Windows Meta File"},
        {itBitmapAlpha, true, "100 x 50 - Alpha Bitmap"},
        {itBitmapPremultiplied, true, "100 x 50 - Alpha Bitmap"},
        {itGIF, true, "100 x 50 - Transparent GIF"},
        {itGIF, false, "100 x 50 - GIF file"},
        {itPNG, false, "100 x 50 - PNG file"},
        {itPNG, true, "100 x 50 - PNG file"},
        // Icons are listed rather than described; other codes have no name.
        {itIcon, false, "100 x 50 - "},
        {itCheckerBoard, false, "100 x 50 - "},
        {itNone, false, "100 x 50 - "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageFormatText(100, 50, c.type, c.alpha), c.text) << "type " << c.type;
    EXPECT_EQ(ImageFormatText(1, 1024, itPNG, false), "1 x 1024 - PNG file");
}

TEST(SourcePageText, ListsIconEntriesSmallestFirstAndChoosesTheLast) {
    const IconSizeRow rows[] = {
        {32, 32, 4, 16}, {16, 16, 32, -1}, {32, 32, 32, -1}, {16, 16, 4, 16}};
    const IconListView view = MakeIconList(rows);
    const std::vector<std::string> expected = {
        "016x016 {4 bit, 16 colors}", "016x016 {32 bit, True Color Alpha}",
        "032x032 {4 bit, 16 colors}", "032x032 {32 bit, True Color Alpha}"};
    EXPECT_EQ(view.lines, expected);
    EXPECT_EQ(view.selected, 3);
    EXPECT_TRUE(view.enabled);
    EXPECT_EQ(ReadIconChoice(view.lines[static_cast<size_t>(view.selected)]),
              (IconChoice{32, 32, 32}));
}

TEST(SourcePageText, EqualKeysKeepTheFileOrder) {
    // 16 x 16 + 32 and 8 x 32 + 32 share the key 288; 24 x 11 + 24 also does.
    const IconSizeRow forward[] = {{16, 16, 32, -1}, {8, 32, 32, -1}, {24, 11, 24, -16777216}};
    const IconSizeRow backward[] = {{24, 11, 24, -16777216}, {8, 32, 32, -1}, {16, 16, 32, -1}};
    EXPECT_EQ(MakeIconList(forward).lines,
              (std::vector<std::string>{"016x016 {32 bit, True Color Alpha}",
                                        "008x032 {32 bit, True Color Alpha}",
                                        "024x011 {24 bit, True Color}"}));
    EXPECT_EQ(MakeIconList(backward).lines,
              (std::vector<std::string>{"024x011 {24 bit, True Color}",
                                        "008x032 {32 bit, True Color Alpha}",
                                        "016x016 {32 bit, True Color Alpha}"}));
}

TEST(SourcePageText, OffersAChoiceOnlyAmongSeveralEntries) {
    const IconSizeRow one[] = {{48, 48, 8, 256}};
    const IconListView single = MakeIconList(one);
    EXPECT_EQ(single.lines, std::vector<std::string>{"048x048 {8 bit, 256 colors}"});
    EXPECT_EQ(single.selected, 0);
    EXPECT_FALSE(single.enabled);

    const IconListView none = MakeIconList({});
    EXPECT_TRUE(none.lines.empty());
    EXPECT_EQ(none.selected, -1);
    EXPECT_FALSE(none.enabled);
}

TEST(SourcePageText, EveryLineReadsBackAsItsEntry) {
    const IconSizeRow rows[] = {{1, 1, 1, 2},           {16, 16, 4, 16},         {32, 32, 8, 256},
                                {48, 48, 16, 16776960}, {64, 64, 24, -16777216}, {256, 256, 32, -1},
                                {999, 5, 32, -1}};
    for (const IconSizeRow& row : rows) {
        const std::string line = IconEntryText(row);
        EXPECT_EQ(ReadIconChoice(line), (IconChoice{row.width, row.height, row.bitDepth})) << line;
    }
}

TEST(SourcePageText, AnythingElseReadsAsNumbersWhereThereAreSome) {
    EXPECT_EQ(ReadIconChoice(""), (IconChoice{}));
    EXPECT_EQ(ReadIconChoice("not an icon"), (IconChoice{}));
    EXPECT_EQ(ReadIconChoice("12"), (IconChoice{12, 0, 0}));
    EXPECT_EQ(ReadIconChoice("016x0"), (IconChoice{16, 0, 0}));
    EXPECT_EQ(ReadIconChoice("016x016 no depth"), (IconChoice{16, 16, 0}));
    EXPECT_EQ(ReadIconChoice("016x016 {"), (IconChoice{16, 16, 0}));
    EXPECT_EQ(ReadIconChoice(" 1 x 2 {  7"), (IconChoice{1, 2, 7}));
}

TEST(SourcePageText, FileFiltersComeInPairsEndedTwice) {
    const std::wstring filters = ImageFileFilters();
    ASSERT_GE(filters.size(), 2u);
    EXPECT_EQ(filters.substr(filters.size() - 2), std::wstring(2, L'\0'));
    std::vector<std::wstring> parts;
    for (std::size_t at = 0; filters[at] != L'\0'; at = filters.find(L'\0', at) + 1)
        parts.push_back(filters.substr(at, filters.find(L'\0', at) - at));
    const std::vector<std::wstring> expected = {
        L"All Images",
        L"*gif;*.bmp;*.jpg;*.jpeg;*.ico;*.cur;*.wmf;*.emf;*.png",
        L"Bitmaps",
        L"*.bmp",
        L"GIFs",
        L"*.gif",
        L"Icons and Cursors",
        L"*.ico;*.cur",
        L"JPGs",
        L"*.jpg;*.jpeg",
        L"Meta Files",
        L"*.wmf;*.emf",
        L"PNGs",
        L"*.png",
        L"All Files",
        L"*.*"};
    EXPECT_EQ(parts, expected);
}

} // namespace
} // namespace velt
