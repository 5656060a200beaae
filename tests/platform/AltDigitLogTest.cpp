#include "platform/AltDigitLog.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

TEST(AltDigitLog, EachPressWithAltCountsOnceHoweverLongItIsHeld) {
    AltDigitLog log;
    log.Key('3', true, true, false);
    log.Key('3', true, true, false); // the key repeating while held
    log.Key('3', true, true, false);
    log.Key('3', false, true, false);
    log.Key('3', true, true, false);
    log.Key('3', false, false, false);
    log.Key('9', true, true, false);
    EXPECT_EQ(log.Take(), (std::vector<int>{3, 3, 9}));
    EXPECT_TRUE(log.Take().empty());
}

TEST(AltDigitLog, OnlyTopRowDigitsOneToNineWithAltAndWithoutCtrlAreKept) {
    AltDigitLog log;
    log.Key('4', true, false, false);
    log.Key('4', false, false, false);
    for (int key : {int{'0'}, int{'A'}, 0x12, 0x64 /* numeric pad 4 */, -1, 0x1000}) {
        log.Key(key, true, true, false);
        log.Key(key, false, true, false);
    }
    EXPECT_TRUE(log.Take().empty());
    // A digit held before Alt went down is no press with Alt, not even when it repeats.
    log.Key('5', true, false, false);
    log.Key('5', true, true, false);
    EXPECT_TRUE(log.Take().empty());
    // Ctrl with Alt is AltGr, which types characters with the digits on many layouts.
    log.Key('7', true, true, true);
    log.Key('7', false, true, true);
    EXPECT_TRUE(log.Take().empty());
}

TEST(AltDigitLog, UnreadPressesStopAtTheLimit) {
    AltDigitLog log;
    for (size_t i = 0; i < AltDigitLog::kMostKept + 5; ++i) {
        log.Key('2', true, true, false);
        log.Key('2', false, true, false);
    }
    EXPECT_EQ(log.Take().size(), AltDigitLog::kMostKept);
    log.Key('6', true, true, false);
    EXPECT_EQ(log.Take(), std::vector<int>{6});
}

} // namespace
} // namespace velt
