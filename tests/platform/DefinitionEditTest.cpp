// Editing one block of a window definition's text: the block's own lines change, every other byte
// stays, and an edit whose result would read back differently is refused.
#include "platform/DefinitionEdit.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

std::optional<Bytes> Pictures(std::wstring_view name) {
    if (name == L"BACK") return Bytes{0x42, 0x4D, 7};
    return std::nullopt;
}

// Blocks in text order: 0 FrmTest, 1 Pannel, 2 pic (Index 0), 3 Inner, 4 pic (Index 1), 5 Empty.
constexpr char kWindow[] = "\xEF\xBB\xBF# a test window\n"
                           "Begin Form FrmTest\n"
                           "    Caption = \"Test\"\n"
                           "    Picture = Resource(\"BACK\")\n"
                           "    Begin PictureBox Pannel\n"
                           "        Begin aicAlphaImage pic\r\n"
                           "            Index = 0\r\n"
                           "            Left=120\r\n"
                           "            # the designer's note stays\r\n"
                           "            Image = Hex(\"0102\")\r\n"
                           "            Scaler = 1\r\n"
                           "            Begin Label Inner\r\n"
                           "                Image = Hex(\"FF\")\r\n"
                           "            End\r\n"
                           "        End\r\n"
                           "    End\n"
                           "    Begin aicAlphaImage pic\n"
                           "\tIndex = 1\n"
                           "    End\n"
                           "    Begin aicAlphaImage Empty\n"
                           "    End\n"
                           "End\n";

const std::vector<std::wstring> kKeys = {L"Image", L"Scaler", L"Opacity"};

std::string Replace(std::string_view from, std::string_view to, std::string text = kWindow) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(DefinitionEdit, ListsBlocksInTheOrderOfTheirBeginLines) {
    auto window = ParseWindowDefinition(kWindow, Pictures);
    ASSERT_TRUE(window);
    std::vector<std::wstring> names;
    for (const ControlDefinition* block : BlocksInTextOrder(*window)) names.push_back(block->name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"FrmTest", L"Pannel", L"pic", L"Inner", L"pic",
                                                L"Empty"}));
}

TEST(DefinitionEdit, RewritesLinesWhereTheyStandAndDropsKeysNoLongerHeld) {
    PropertyBag values;
    values.Set(L"Image", Bytes{0xAB, 0xCD});
    std::string error;
    auto text = ReplaceBlockProperties(kWindow, 2, kKeys, values, Pictures, &error);
    ASSERT_TRUE(text) << error;
    // The block's Scaler line goes, its Image line takes the new bytes with its own ending, and
    // the inner block's Image key is another control's.
    EXPECT_EQ(*text, Replace("            Image = Hex(\"0102\")\r\n            Scaler = 1\r\n",
                             "            Image = Hex(\"ABCD\")\r\n"));
}

TEST(DefinitionEdit, AddsNewKeysAfterTheBlocksLastProperty) {
    PropertyBag values;
    values.Set(L"Opacity", 40);
    values.Set(L"Scaler", 3);
    values.Set(L"Image", Bytes{0x0A});
    std::string error;
    auto text = ReplaceBlockProperties(kWindow, 2, kKeys, values, Pictures, &error);
    ASSERT_TRUE(text) << error;
    EXPECT_EQ(*text, Replace("            Image = Hex(\"0102\")\r\n            Scaler = 1\r\n",
                             "            Image = Hex(\"0A\")\r\n            Scaler = 3\r\n"
                             "            Opacity = 40\r\n"));

    // A block with properties indented by a tab: new lines copy that indentation.
    text = ReplaceBlockProperties(kWindow, 4, kKeys, values, Pictures, &error);
    ASSERT_TRUE(text) << error;
    EXPECT_EQ(*text, Replace("\tIndex = 1\n", "\tIndex = 1\n\tOpacity = 40\n\tScaler = 3\n"
                                              "\tImage = Hex(\"0A\")\n"));

    // A block without properties: one level deeper than its Begin line.
    text = ReplaceBlockProperties(kWindow, 5, kKeys, values, Pictures, &error);
    ASSERT_TRUE(text) << error;
    EXPECT_EQ(*text, Replace("    Begin aicAlphaImage Empty\n",
                             "    Begin aicAlphaImage Empty\n        Opacity = 40\n"
                             "        Scaler = 3\n        Image = Hex(\"0A\")\n"));
    auto window = ParseWindowDefinition(*text, Pictures);
    ASSERT_TRUE(window);
    EXPECT_EQ(BlocksInTextOrder(*window)[5]->properties.ReadInteger(L"Scaler", 0), 3);
}

TEST(DefinitionEdit, NothingToChangeGivesTheSameText) {
    PropertyBag values;
    values.Set(L"Image", Bytes{1, 2});
    values.Set(L"Scaler", 1);
    auto text = ReplaceBlockProperties(kWindow, 2, kKeys, values, Pictures);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, kWindow);
    text = ReplaceBlockProperties(kWindow, 0, kKeys, PropertyBag{}, Pictures);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, kWindow);
}

TEST(DefinitionEdit, RefusesWhatCannotBeWrittenSafely) {
    PropertyBag image;
    image.Set(L"Image", Bytes{1});
    std::string error;
    EXPECT_FALSE(ReplaceBlockProperties(kWindow, 6, kKeys, image, Pictures, &error));
    EXPECT_EQ(error, "no such control");
    EXPECT_FALSE(ReplaceBlockProperties("Begin Form F\n", 0, kKeys, image, Pictures, &error));
    EXPECT_NE(error.find("not a window definition"), std::string::npos) << error;
    // A picture the definition could not be read back with.
    EXPECT_FALSE(ReplaceBlockProperties(kWindow, 0, kKeys, image,
                                        [](std::wstring_view) { return std::optional<Bytes>(); }));

    PropertyBag outside;
    outside.Set(L"Caption", std::wstring(L"x"));
    error.clear();
    EXPECT_FALSE(ReplaceBlockProperties(kWindow, 2, kKeys, outside, Pictures, &error));
    EXPECT_FALSE(error.empty());

    const std::vector<std::wstring> caption = {L"Caption"};
    PropertyBag broken;
    broken.Set(L"Caption", std::wstring(L"two\nlines"));
    EXPECT_FALSE(ReplaceBlockProperties(kWindow, 0, caption, broken, Pictures));

    PropertyBag huge;
    huge.Set(L"Image", Bytes(600 * 1024, 0x55));
    error.clear();
    EXPECT_FALSE(ReplaceBlockProperties(kWindow, 2, kKeys, huge, Pictures, &error));
    EXPECT_NE(error.find("too long"), std::string::npos) << error;
}

TEST(DefinitionEdit, TextsAndFlagsAreWrittenAsDefinitionsReadThem) {
    const std::vector<std::wstring> keys = {L"Caption", L"Visible", L"BackColor"};
    PropertyBag values;
    values.Set(L"Caption", std::wstring(L"Say \"hi\" \u00e9"));
    values.Set(L"Visible", false);
    values.Set(L"BackColor", -1);
    std::string error;
    auto text = ReplaceBlockProperties(kWindow, 0, keys, values, Pictures, &error);
    ASSERT_TRUE(text) << error;
    EXPECT_EQ(*text, Replace("    Caption = \"Test\"\n    Picture = Resource(\"BACK\")\n",
                             "    Caption = \"Say \"\"hi\"\" \xC3\xA9\"\n"
                             "    Picture = Resource(\"BACK\")\n    Visible = False\n"
                             "    BackColor = -1\n"));
}

} // namespace
} // namespace velt
