#include "dialogs/FrmAbout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velt {
namespace {

TEST(AboutZoom, TakesFiftyOneTicksWithQuadraticEasing) {
    AboutZoom zoom;
    EXPECT_FALSE(zoom.Tick());
    zoom.Start(3000, 1500);
    std::vector<AboutZoom::Frame> frames;
    while (auto frame = zoom.Tick()) frames.push_back(*frame);
    ASSERT_EQ(frames.size(), 51u);
    EXPECT_FALSE(zoom.Running());
    EXPECT_EQ(zoom.Counter(), -2);

    // First tick: counter 98.
    const double f0 = 0.98 * 0.98;
    EXPECT_DOUBLE_EQ(frames[0].dyna.left, f0 * 5020);
    EXPECT_DOUBLE_EQ(frames[0].dyna.top, f0 * 1060);
    EXPECT_DOUBLE_EQ(frames[0].dyna.width, (1 - f0) * 15000);
    EXPECT_DOUBLE_EQ(frames[0].dyna.height, (1 - f0) * 15360);
    EXPECT_DOUBLE_EQ(frames[0].window.left, f0 * 3000);
    EXPECT_DOUBLE_EQ(frames[0].window.top, f0 * 1500);
    EXPECT_DOUBLE_EQ(frames[0].window.width, (1 - f0) * 7425 + 7575);
    EXPECT_DOUBLE_EQ(frames[0].window.height, (1 - f0) * 7725 + 7635);

    // Tick 50, counter 0: everything at the top left, full size.
    const AboutZoom::Frame& full = frames[49];
    EXPECT_EQ(full.dyna.left, 0);
    EXPECT_EQ(full.dyna.top, 0);
    EXPECT_EQ(full.dyna.width, 15000);
    EXPECT_EQ(full.dyna.height, 15360);
    EXPECT_EQ(full.window.left, 0);
    EXPECT_EQ(full.window.width, 15000);
    EXPECT_EQ(full.window.height, 15360);

    // The last tick at -2 moves a little back.
    EXPECT_DOUBLE_EQ(frames[50].dyna.left, 0.0004 * 5020);
    EXPECT_DOUBLE_EQ(frames[50].window.width, 0.9996 * 7425 + 7575);

    // Fast at first, slow at the end: the steps of growth shrink steadily.
    for (std::size_t i = 2; i < 50; ++i) {
        double before = frames[i - 1].dyna.width - frames[i - 2].dyna.width;
        double now = frames[i].dyna.width - frames[i - 1].dyna.width;
        EXPECT_LT(now, before) << i;
        EXPECT_GT(now, 0) << i;
    }
}

TEST(AboutZoom, StartingAgainRestartsFromTheWindowsPlaceThen) {
    AboutZoom zoom;
    zoom.Start(3000, 1500);
    for (int i = 0; i < 10; ++i) zoom.Tick();
    zoom.Start(1000, 500);
    EXPECT_EQ(zoom.Counter(), 100);
    auto frame = zoom.Tick();
    ASSERT_TRUE(frame);
    EXPECT_DOUBLE_EQ(frame->window.left, 0.98 * 0.98 * 1000);
    int ticks = 1;
    while (zoom.Tick()) ++ticks;
    EXPECT_EQ(ticks, 51);
}

TEST(LinkTargets, TheProgramsFolderStandsInForAppAndTheRestPassesAsIs) {
    EXPECT_EQ(ResolveLinkTarget(L"{app}\\README.txt", L"C:\\Tools\\Velt"),
              L"C:\\Tools\\Velt\\README.txt");
    EXPECT_EQ(ResolveLinkTarget(L"{app}", L"C:\\Tools\\Velt"), L"C:\\Tools\\Velt");
    EXPECT_EQ(ResolveLinkTarget(L"mailto:", L"C:\\Velt"), L"mailto:");
    EXPECT_EQ(ResolveLinkTarget(L"https://example.org/velt", L"C:\\Velt"),
              L"https://example.org/velt");
    // A folder whose name holds the placeholder itself is not expanded again.
    EXPECT_EQ(ResolveLinkTarget(L"{app}|{app}", L"C:\\{app}"), L"C:\\{app}|C:\\{app}");
}

} // namespace
} // namespace velt
