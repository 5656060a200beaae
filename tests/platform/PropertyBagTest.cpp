#include "platform/PropertyBag.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

TEST(PropertyBag, ValuesEqualToTheirDefaultsAreNotStored) {
    PropertyBag bag;
    bag.WriteText(L"Caption", L"TovikButton", L"TovikButton");
    bag.WriteBoolean(L"UseAlphaBlend", false, false);
    bag.WriteInteger(L"Left", 0, 0);
    bag.WriteBytes(L"ImgUp", {});
    EXPECT_TRUE(bag.Entries().empty());

    bag.WriteText(L"Caption", L"OK", L"TovikButton");
    EXPECT_TRUE(bag.Contains(L"Caption"));
    bag.WriteText(L"Caption", L"TovikButton", L"TovikButton"); // back to the default
    EXPECT_FALSE(bag.Contains(L"Caption"));
}

TEST(PropertyBag, RoundTripKeepsEveryChangedValue) {
    PropertyBag bag;
    bag.WriteBytes(L"ImgUp", {0x42, 0x4D, 0, 7});
    bag.WriteText(L"Caption", L"  Cancel ", L"TovikButton");
    bag.WriteText(L"Empty", L"", L"TovikButton");
    bag.WriteBoolean(L"UseAlphaBlend", true, false);
    bag.WriteBoolean(L"Panel", false, true);
    bag.WriteInteger(L"Left", -2400, 0);

    EXPECT_EQ(bag.ReadBytes(L"ImgUp"), (Bytes{0x42, 0x4D, 0, 7}));
    EXPECT_EQ(bag.ReadText(L"Caption", L"TovikButton"), L"  Cancel ");
    EXPECT_EQ(bag.ReadText(L"Empty", L"TovikButton"), L"");
    EXPECT_TRUE(bag.ReadBoolean(L"UseAlphaBlend", false));
    EXPECT_FALSE(bag.ReadBoolean(L"Panel", true));
    EXPECT_EQ(bag.ReadInteger(L"Left", 0), -2400);
    EXPECT_EQ(bag.Entries().size(), 6u);
}

TEST(PropertyBag, AbsentOrOtherKindReadsTheDefault) {
    PropertyBag bag;
    bag.Set(L"Caption", std::int32_t{5});
    bag.Set(L"Panel", std::wstring(L"True"));
    EXPECT_EQ(bag.ReadText(L"Caption", L"TovikButton"), L"TovikButton");
    EXPECT_FALSE(bag.ReadBoolean(L"Panel", false));
    EXPECT_EQ(bag.ReadInteger(L"Missing", 42), 42);
    EXPECT_TRUE(bag.ReadBytes(L"Caption").empty());
    EXPECT_EQ(bag.ReadText(L"caption", L"x"), L"x"); // keys are exact
}

} // namespace
} // namespace velt
