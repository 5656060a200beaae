#include "platform/AltDigitLog.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

TEST(AltDigitLog, EachPressWithAltCountsOnceHoweverLongItIsHeld) {
    AltDigitLog log;
    log.Key('3', true, true);
    log.Key('3', true, true); // the key repeating while held
    log.Key('3', true, true);
    log.Key('3', false, true);
    log.Key('3', true, true);
    log.Key('3', false, false);
    log.Key('9', true, true);
    EXPECT_EQ(log.Take(), (std::vector<int>{3, 3, 9}));
    EXPECT_TRUE(log.Take().empty());
}

TEST(AltDigitLog, OnlyTopRowDigitsOneToNineWithAltAreKept) {
    AltDigitLog log;
    log.Key('4', true, false);
    log.Key('4', false, false);
    for (int key : {int{'0'}, int{'A'}, 0x12, 0x64 /* numeric pad 4 */, -1, 0x1000}) {
        log.Key(key, true, true);
        log.Key(key, false, true);
    }
    EXPECT_TRUE(log.Take().empty());
    // A digit held before Alt went down is no press with Alt, not even when it repeats.
    log.Key('5', true, false);
    log.Key('5', true, true);
    EXPECT_TRUE(log.Take().empty());
}

TEST(AltDigitLog, UnreadPressesStopAtTheLimit) {
    AltDigitLog log;
    for (size_t i = 0; i < AltDigitLog::kMostKept + 5; ++i) {
        log.Key('2', true, true);
        log.Key('2', false, true);
    }
    EXPECT_EQ(log.Take().size(), AltDigitLog::kMostKept);
    log.Key('6', true, true);
    EXPECT_EQ(log.Take(), std::vector<int>{6});
}

} // namespace
} // namespace velt
