#include "platform/ControlArray.h"
#include "platform/FileList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace velt {
namespace {

TEST(FileList, PatternsMatchWithoutRegardToCaseAndEachPatternCounts) {
    const std::wstring skins = L"*.png;*.jpg;*.bmp;*.gif";
    EXPECT_TRUE(MatchesPattern(L"Glass.png", skins));
    EXPECT_TRUE(MatchesPattern(L"GLASS.PNG", skins));
    EXPECT_TRUE(MatchesPattern(L"a.b.gif", skins));
    EXPECT_TRUE(MatchesPattern(L".bmp", skins));
    EXPECT_FALSE(MatchesPattern(L"glass.png.txt", skins));
    EXPECT_FALSE(MatchesPattern(L"glass.pn", skins));
    EXPECT_FALSE(MatchesPattern(L"glass.jpeg", skins));
    EXPECT_TRUE(MatchesPattern(L"skin1.ico", L"skin?.ico"));
    EXPECT_FALSE(MatchesPattern(L"skin12.ico", L"skin?.ico"));
    EXPECT_TRUE(MatchesPattern(L"abcabd", L"*ab*d"));
    EXPECT_FALSE(MatchesPattern(L"anything", L""));
    EXPECT_FALSE(MatchesPattern(L"x.png", L";;"));
    EXPECT_TRUE(MatchesPattern(L"x.png", L" *.jpg ; *.png "));
}

TEST(FileList, ListsOnlyMatchingFilesOfTheFolderAndNothingForAMissingOne) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / "velt-filelist-test";
    fs::remove_all(folder);
    fs::create_directories(folder / "sub.png");
    for (const char* name : {"one.png", "Two.JPG", "three.txt", "four.gif"})
        std::ofstream(folder / name) << "x";

    std::vector<std::wstring> names = ListFiles(folder, L"*.png;*.jpg;*.bmp;*.gif");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Two.JPG", L"four.gif", L"one.png"}));

    fs::remove_all(folder);
    EXPECT_TRUE(ListFiles(folder, L"*.png").empty());
}

struct FakeControl {
    int left = 0;
    bool visible = true;
    int copiedFrom = -1;
};

TEST(ControlArray, NewElementsAreHiddenCopiesOfElementZero) {
    ControlArray<FakeControl> skn([](FakeControl& model, FakeControl& copy) {
        copy.left = model.left;
        copy.visible = false;
        copy.copiedFrom = 0;
    });
    skn(0).left = 360;
    skn.Tag(0) = L"template";
    EXPECT_EQ(skn.UBound(), 0u);
    EXPECT_EQ(skn.Get(1), nullptr);

    FakeControl* first = skn.Load(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->left, 360);
    EXPECT_FALSE(first->visible);
    EXPECT_EQ(skn.Tag(1), L"template");
    skn.Tag(1) = L"glass.png";
    EXPECT_EQ(skn.Tag(0), L"template");
    EXPECT_EQ(skn.Load(1), nullptr); // taken
    EXPECT_EQ(skn.Load(0), nullptr);
    ASSERT_NE(skn.Load(3), nullptr);
    EXPECT_EQ(skn.UBound(), 3u);
    EXPECT_EQ(skn.Count(), 3u);
    EXPECT_EQ(skn.Get(2), nullptr);

    skn.Unload(1);
    EXPECT_EQ(skn.Get(1), nullptr);
    EXPECT_EQ(skn.Tag(1), L"");
    skn.Unload(3);
    EXPECT_EQ(skn.UBound(), 0u);
    ASSERT_NE(skn.Load(2), nullptr);
    skn.Unload(0); // the definition's element stays
    skn.UnloadAll();
    EXPECT_EQ(skn.UBound(), 0u);
    EXPECT_NE(skn.Get(0), nullptr);
    EXPECT_EQ(skn(0).left, 360);
}

} // namespace
} // namespace velt
