#include "settings/KeyPicker.h"

#include <gtest/gtest.h>

#include <set>

namespace velt {
namespace {

// The keys held at one tick.
KeyStateReader Down(std::set<int> codes) {
    return [codes = std::move(codes)](int code) -> std::int16_t {
        return codes.contains(code) ? static_cast<std::int16_t>(0xFF80) : 1; // toggled bit only
    };
}

TEST(ScanKeys, TheHighestCodeDownInTheRangeWins) {
    EXPECT_EQ(ScanKeys(Down({})), std::nullopt);
    EXPECT_EQ(ScanKeys(Down({16, 83})), 83);
    EXPECT_EQ(ScanKeys(Down({17, 65, 1})), 65);
    EXPECT_EQ(ScanKeys(Down({0})), 0);
    EXPECT_EQ(ScanKeys(Down({120})), 120);
    EXPECT_EQ(ScanKeys(Down({16, 121, 123, 192})), 16); // F10, F12 and ` cannot be captured
    int asked = 0, last = -1;
    bool ascending = true;
    ScanKeys([&](int code) -> std::int16_t {
        ascending = ascending && code == last + 1;
        last = code;
        ++asked;
        return 0;
    });
    EXPECT_EQ(asked, 121);
    EXPECT_TRUE(ascending);
}

TEST(KeyPicker, CapturesOnlyWhileArmedAndDisarmsOnTheFirstKey) {
    KeyPicker picker;
    EXPECT_EQ(picker.Caption(), L"None");
    EXPECT_FALSE(picker.Tick(Down({65})));
    EXPECT_EQ(picker.Caption(), L"None");

    EXPECT_TRUE(picker.Arm());
    EXPECT_FALSE(picker.Tick(Down({})));
    EXPECT_TRUE(picker.Armed());
    EXPECT_TRUE(picker.Tick(Down({16, 83}))); // Shift and S in one tick
    EXPECT_FALSE(picker.Armed());
    EXPECT_EQ(picker.Caption(), L"S");
    std::int16_t code = 0;
    ASSERT_TRUE(picker.GetKey(code));
    EXPECT_EQ(code, 83);

    picker.Arm();
    EXPECT_TRUE(picker.Tick(Down({16}))); // Shift alone first
    EXPECT_FALSE(picker.Tick(Down({16, 83})));
    EXPECT_EQ(picker.Caption(), L"Shift");
}

TEST(KeyPicker, AClickOnAnArmedPickerIsCapturedIfStillDown) {
    KeyPicker picker;
    EXPECT_TRUE(picker.Arm());
    EXPECT_FALSE(picker.Arm()); // does not restart
    EXPECT_TRUE(picker.Armed());
    EXPECT_TRUE(picker.Tick(Down({1})));
    EXPECT_EQ(picker.Caption(), L"L-Click");
}

TEST(KeyPicker, AKeyWithoutANameIsCapturedWithAnEmptyCaption) {
    KeyPicker picker;
    picker.Arm();
    EXPECT_TRUE(picker.Tick(Down({91})));
    EXPECT_EQ(picker.Caption(), L"");
    std::int16_t code = 0;
    EXPECT_TRUE(picker.GetKey(code));
    EXPECT_EQ(code, 91);
}

TEST(KeyPicker, SetkeyTakesOnly16BitNumbersAndGetKeyFailsUntilOneIsStored) {
    KeyPicker picker;
    std::int16_t code = 7;
    EXPECT_FALSE(picker.GetKey(code));
    EXPECT_EQ(code, 7);
    EXPECT_FALSE(picker.Setkey(L""));
    EXPECT_FALSE(picker.GetKey(code));

    EXPECT_TRUE(picker.Setkey(L"192"));
    EXPECT_EQ(picker.Caption(), L"`"); // which no capture can produce
    for (const wchar_t* bad : {L"abc", L"", L"70000", L"1.5"}) {
        EXPECT_FALSE(picker.Setkey(bad)) << bad;
        EXPECT_EQ(picker.Caption(), L"`");
        ASSERT_TRUE(picker.GetKey(code));
        EXPECT_EQ(code, 192);
    }
    EXPECT_TRUE(picker.Setkey(L"0"));
    EXPECT_EQ(picker.Caption(), L"");
    ASSERT_TRUE(picker.GetKey(code));
    EXPECT_EQ(code, 0);

    picker.Arm(); // Setkey leaves a capture running
    EXPECT_TRUE(picker.Setkey(L"17"));
    EXPECT_TRUE(picker.Armed());
    EXPECT_EQ(picker.Caption(), L"Ctrl");
}

} // namespace
} // namespace velt
