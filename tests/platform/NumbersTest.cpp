#include "platform/Numbers.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

TEST(ParseInt16, AcceptsWholeNumbersInRange) {
    std::int16_t value = 0;
    EXPECT_TRUE(ParseInt16(L"17", value));
    EXPECT_EQ(value, 17);
    EXPECT_TRUE(ParseInt16(L"  -32768 ", value));
    EXPECT_EQ(value, -32768);
    EXPECT_TRUE(ParseInt16(L"+32767", value));
    EXPECT_EQ(value, 32767);
}

TEST(ParseInt16, RefusesAndKeepsTheOldValue) {
    std::int16_t value = 99;
    for (const wchar_t* bad : {L"", L"   ", L"abc", L"12a", L"1 2", L"32768", L"-32769", L"-",
                               L"99999999999999999999999999999", L"1.5"}) {
        EXPECT_FALSE(ParseInt16(bad, value)) << bad;
        EXPECT_EQ(value, 99);
    }
}

} // namespace
} // namespace velt
