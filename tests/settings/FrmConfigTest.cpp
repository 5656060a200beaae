#include "settings/FrmConfig.h"
#include "settings/KeyName.h"
#include "settings/KeyPicker.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <map>

namespace velt {
namespace {

TEST(Toggles, MarkAddsOnePlusAndUnmarkTakesItAway) {
    EXPECT_EQ(mrk(L"Corner Sensitive"), L"Corner Sensitive+");
    EXPECT_EQ(mrk(L"Corner Sensitive+"), L"Corner Sensitive+");
    EXPECT_EQ(mrk(L""), L"+");
    EXPECT_EQ(demrk(L"Corner Sensitive+"), L"Corner Sensitive");
    EXPECT_EQ(demrk(L"Corner Sensitive"), L"Corner Sensitive");
    EXPECT_EQ(demrk(L"C++"), L"C+"); // only the last character
    EXPECT_EQ(demrk(L""), L"");
    // Two clicks bring a toggle back to its caption.
    EXPECT_EQ(demrk(mrk(L"Run On Startup")), L"Run On Startup");
}

// The Appearance page's template thumbnail and page, in twips.
constexpr ThumbnailGrid kPage{{360, 840}, 1215, 1050, 6675};

TEST(Thumbnails, FourToARowAndTheThirteenthStartsAFourthRow) {
    std::vector<ThumbnailPlace> places = LayOutThumbnails(kPage, 13);
    ASSERT_EQ(places.size(), 13u);
    const std::int32_t lefts[] = {360, 1675, 2990, 4305};
    const std::int32_t tops[] = {840, 1990, 3140, 4290};
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(places[i].left, lefts[i % 4]) << i;
        EXPECT_EQ(places[i].top, tops[i / 4]) << i;
    }
    // The fourth row starts below the 4215-twip page: it is cut off.
    EXPECT_GT(places[12].top, 4215);
    EXPECT_LT(places[11].top + 1050, 4215);
    EXPECT_TRUE(LayOutThumbnails(kPage, 0).empty());
}

TEST(Thumbnails, AThumbnailExactlyReachingTheEdgeStaysInTheRow) {
    // 100 + 100 + 100 ends at 300: not past a 300-twip page.
    std::vector<ThumbnailPlace> places = LayOutThumbnails({{0, 0}, 100, 50, 300}, 3);
    EXPECT_EQ(places[1], (ThumbnailPlace{200, 0}));
    EXPECT_EQ(places[2], (ThumbnailPlace{0, 150}));
    // Wider than the page: one to a row.
    places = LayOutThumbnails({{10, 20}, 500, 40, 300}, 3);
    EXPECT_EQ(places[1], (ThumbnailPlace{10, 160}));
    EXPECT_EQ(places[2], (ThumbnailPlace{10, 300}));
}

TEST(ApplyWrites, CornerThenThePickedKeysThenBackgroundEvenWhenEmpty) {
    std::vector<IniWrite> writes = ApplyWrites(true, {17, 16, 81}, L"");
    EXPECT_EQ(writes, (std::vector<IniWrite>{{L"Main", L"Corner", L"True"},
                                             {L"Keys", L"Control0", L"17"},
                                             {L"Keys", L"Shift0", L"16"},
                                             {L"Keys", L"Alt0", L"81"},
                                             {L"Main", L"Background", L""}}));
    // A picker still at "None" leaves its key as it was.
    writes = ApplyWrites(false, {std::nullopt, -5, std::nullopt}, L"Blue.png");
    EXPECT_EQ(writes, (std::vector<IniWrite>{{L"Main", L"Corner", L"False"},
                                             {L"Keys", L"Shift0", L"-5"},
                                             {L"Main", L"Background", L"Blue.png"}}));
}

TEST(ApplyWrites, ACodeAPickerHoldsComesBackFromConfigIniUnchanged) {
    // Picker -> Config.ini text -> settings record, and the caption shown on the way: every
    // code a capture or the key-name table knows, and both ends of the 16-bit range.
    std::vector<int> codes{-32768, -32767, -1, 32766, 32767};
    for (int code = 0; code <= 300; ++code) codes.push_back(code);
    for (int code : codes) {
        KeyPicker picker;
        ASSERT_TRUE(picker.Setkey(std::to_wstring(code)));
        ASSERT_EQ(picker.Caption(), KeyName(code));
        std::int16_t held = 0;
        ASSERT_TRUE(picker.GetKey(held));
        std::map<std::wstring, std::wstring> ini;
        for (const IniWrite& write : ApplyWrites(false, {held, held, held}, L""))
            ini[write.section + L"/" + write.key] = write.value;
        Settings settings;
        ReadSettings([&](const std::wstring& section,
                         const std::wstring& key) { return ini[section + L"/" + key]; },
                     settings);
        ASSERT_EQ(settings.Hotkeys[0].Control, code);
        ASSERT_EQ(settings.Hotkeys[0].Shift, code);
        ASSERT_EQ(settings.Hotkeys[0].Alt, code);
    }
}

TEST(SamePathIgnoringCase, LetterCaseAloneDoesNotMatter) {
    EXPECT_TRUE(SamePathIgnoringCase(L"C:\\Velt\\skin\\Blue.PNG", L"c:\\velt\\SKIN\\blue.png"));
    EXPECT_FALSE(SamePathIgnoringCase(L"C:\\Velt\\skin\\Blue.png", L"C:\\Velt\\skin\\Blue.pn"));
    EXPECT_FALSE(SamePathIgnoringCase(L"C:\\Velt\\skin\\Blue1.png", L"C:\\Velt\\skin\\Blue2.png"));
}

} // namespace
} // namespace velt
