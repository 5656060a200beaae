#include "dialogs/FrmAbout_win.h"
#include "platform/App_win.h"
#include "platform/Units.h"
#include "tests/support/Gui_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace velt::testing {
namespace {

void ClickOn(HWND window) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

RECT InParent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct Tick {
    std::int16_t counter;
    RECT window, dyna;
};

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        about.OpenLink = [this](const std::wstring& target) { links.push_back(target); };
        about.ZoomTicked = [this](std::int16_t counter) {
            ticks.push_back({counter, about.WindowRectPixels(), InParent(about.dyna.hWnd())});
        };
        ASSERT_TRUE(about.Open());
    }
    FrmAbout about;
    std::vector<std::wstring> links;
    std::vector<Tick> ticks;
};

TEST_F(AboutWindowTest, OpensWithItsFaceAndTheAreasOfItsDefinition) {
    EXPECT_EQ(about.Caption(), L"About Velt");
    SIZE client = about.ClientSizePixels();
    EXPECT_EQ(client.cx, 496); // 7440 x 5955 twips
    EXPECT_EQ(client.cy, 397);
    EXPECT_FALSE(IsWindowVisible(about.dyna.hWnd()));
    RECT area = InParent(about.Image1.hWnd());
    EXPECT_EQ(area.left, TwipsToPixels(5020));
    EXPECT_EQ(area.top, TwipsToPixels(1060));
    EXPECT_EQ(area.right - area.left, TwipsToPixels(1815));
    // A transparent area shows the face under it.
    EXPECT_EQ(PrintedPixel(about.Image1.hWnd(), 3, 3),
              PrintedPixel(about.hWnd(), area.left + 3, area.top + 3));

    ClickOn(about.Image4.hWnd());
    EXPECT_EQ(links, std::vector<std::wstring>{AppPath()});
}

TEST_F(AboutWindowTest, TheZoomTakesFiftyOneTicksAndEndsGrownAtTheScreensCorner) {
    RECT start = about.WindowRectPixels();
    ClickOn(about.Image1.hWnd());
    EXPECT_EQ(about.Caption(), L"About Brenlow");
    EXPECT_TRUE(IsWindowVisible(about.dyna.hWnd()));
    ASSERT_TRUE(PumpUntil([&] { return !about.Zoom().Running(); }));

    // The same frames as the zoom's own steps from where the window stood.
    AboutZoom expected;
    expected.Start(PixelsToTwips(start.left), PixelsToTwips(start.top));
    ASSERT_EQ(ticks.size(), 51u);
    for (const Tick& tick : ticks) {
        std::optional<AboutZoom::Frame> frame = expected.Tick();
        ASSERT_TRUE(frame);
        EXPECT_EQ(tick.counter, expected.Counter());
        EXPECT_EQ(tick.window.left, TwipsToPixels(frame->window.left)) << tick.counter;
        EXPECT_EQ(tick.window.top, TwipsToPixels(frame->window.top)) << tick.counter;
        EXPECT_EQ(tick.dyna.left, TwipsToPixels(frame->dyna.left)) << tick.counter;
        EXPECT_EQ(tick.dyna.right - tick.dyna.left, TwipsToPixels(frame->dyna.width));
    }
    EXPECT_EQ(ticks.back().counter, -2);
    RECT end = about.WindowRectPixels();
    EXPECT_EQ(end.left, 0);
    EXPECT_EQ(end.top, 0);
    EXPECT_EQ(end.right - end.left, 1000); // 15000 x 15360 twips
    EXPECT_EQ(end.bottom - end.top, 1024);
    RECT dyna = InParent(about.dyna.hWnd());
    EXPECT_EQ(dyna.left, 0);
    EXPECT_EQ(dyna.right, 1000);
    EXPECT_EQ(about.Caption(), L"About Brenlow");

    // The links of the grown panel are within reach.
    ClickOn(about.Image2.hWnd());
    ClickOn(about.Image3.hWnd());
    EXPECT_EQ(links, (std::vector<std::wstring>{AppPath() + L"\\README.txt", L"mailto:"}));
}

TEST_F(AboutWindowTest, OkHalfwayThroughTheZoomClosesAtOnce) {
    ClickOn(about.Image1.hWnd());
    ASSERT_TRUE(PumpUntil([&] { return ticks.size() >= 20; }));
    about.Btn2.Click(); // what the button raises when clicked
    EXPECT_FALSE(about.IsOpen());
    std::size_t seen = ticks.size();
    PumpUntil(std::chrono::milliseconds(200), [] { return false; });
    EXPECT_EQ(ticks.size(), seen);

    // Opening again starts afresh.
    ASSERT_TRUE(about.Open());
    EXPECT_EQ(about.Caption(), L"About Velt");
    EXPECT_FALSE(IsWindowVisible(about.dyna.hWnd()));
    EXPECT_FALSE(about.Zoom().Running());
}

} // namespace
} // namespace velt::testing
