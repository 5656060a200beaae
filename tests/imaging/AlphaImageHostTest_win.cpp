// The alpha image control on a real window: drawn over its container's picture, asked the
// container's hit query, given the pointer, tracking the pointer and fading on window timers.
#include "PngBuilder.h"

#include "imaging/aicAlphaImage.h"
#include "platform/Handles_win.h"
#include "platform/Window_win.h"
#include "platform/WindowlessHost_win.h"
#include "tests/support/Gui_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace velt::testing {
namespace {

using Log = std::vector<std::string>;

constexpr COLORREF kGrey = RGB(128, 128, 128);

// A 4 x 4 picture: the left half opaque red, the right half transparent.
std::vector<uint8_t> HalfRed() {
    test::PngPicture p;
    p.width = 4;
    p.height = 4;
    p.colourType = 6;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool red = x < 2;
            for (uint16_t sample :
                 {uint16_t(red ? 255 : 0), uint16_t(0), uint16_t(0), uint16_t(red ? 255 : 0)})
                p.samples.push_back(sample);
        }
    return test::BuildPng(p);
}

class Container final : public Window {
public:
    explicit Container(Log& log) : m_log(log) {
        RegisterWindowClass({L"VeltAlphaImageHost", CS_DBLCLKS, nullptr});
        Create({L"VeltAlphaImageHost", L"host", WS_POPUP, WS_EX_TOOLWINDOW, 50, 50, 200, 100});
    }

protected:
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override {
        UniqueBrush brush(CreateSolidBrush(kGrey));
        RECT client{0, 0, 200, 100};
        FillRect(dc, &client, brush.get());
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LBUTTONDOWN) m_log.push_back("container Down");
        return Window::OnMessage(message, wParam, lParam);
    }

private:
    Log& m_log;
};

void Listen(aicAlphaImage& control, const std::string& name, Log& log) {
    auto mouse = [&log, name](const char* what) {
        return [&log, name, what](std::int16_t& button, std::int16_t&, float& x, float& y) {
            log.push_back(name + " " + what + " " + std::to_string(button) + " " +
                          std::to_string(static_cast<int>(x)) + "," +
                          std::to_string(static_cast<int>(y)));
        };
    };
    control.MouseDown = mouse("MouseDown");
    control.MouseUp = mouse("MouseUp");
    control.Click = [&log, name] { log.push_back(name + " Click"); };
    control.DblClick = [&log, name] { log.push_back(name + " DblClick"); };
    control.MouseEnter = [&log, name] { log.push_back(name + " MouseEnter"); };
    control.MouseExit = [&log, name] { log.push_back(name + " MouseExit"); };
    control.FadeTerminated = [&log, name](std::int32_t opacity) {
        log.push_back(name + " FadeTerminated " + std::to_string(opacity));
    };
}

class HostedAlphaImage : public ::testing::Test {
protected:
    void SetUp() override {
        Place(image, "image", 20, 20);
        ASSERT_TRUE(image.LoadImage_FromArray(HalfRed()));
        log.clear();
    }
    void Place(aicAlphaImage& control, const std::string& name, int left, int top) {
        control.AutoSize(false);
        control.ScaleMethod(1);
        control.StretchQuality(false);
        control.HitTest(3);
        container.Windowless().Add(control, left, top, 40, 40);
        Listen(control, name, log);
    }
    COLORREF At(int x, int y) { return PrintedPixel(container.hWnd(), x, y); }
    void Send(UINT message, int x, int y, WPARAM keys = 0) {
        SendMessageW(container.hWnd(), message, keys, MAKELPARAM(x, y));
    }

    Log log;
    Container container{log};
    aicAlphaImage image;
};

TEST_F(HostedAlphaImage, DrawsOverItsContainerAtEachOpacityAndScaleMethod) {
    EXPECT_EQ(At(25, 30), RGB(255, 0, 0));
    EXPECT_EQ(At(39, 59), RGB(255, 0, 0)); // stretched: the left half of the control
    EXPECT_EQ(At(41, 30), kGrey);          // the transparent half shows the container
    EXPECT_EQ(At(10, 10), kGrey);

    image.Opacity(50);
    EXPECT_TRUE(Near(At(25, 30), RGB(191, 64, 64), 3));
    EXPECT_EQ(At(41, 30), kGrey);
    image.Opacity(0);
    EXPECT_EQ(At(25, 30), kGrey);

    image.Opacity(100);
    image.ScaleMethod(3); // actual size, centred: 4 x 4 at (18, 18) of the control
    EXPECT_EQ(At(38, 38), RGB(255, 0, 0));
    EXPECT_EQ(At(39, 41), RGB(255, 0, 0));
    EXPECT_EQ(At(40, 38), kGrey);
    EXPECT_EQ(At(37, 38), kGrey);
    EXPECT_EQ(At(38, 42), kGrey);

    image.AutoRedraw(true); // drawn from its control-size copy: the same picture
    EXPECT_EQ(At(38, 38), RGB(255, 0, 0));
    EXPECT_EQ(At(40, 38), kGrey);
}

TEST_F(HostedAlphaImage, OnlyItsDrawnPixelsTakeThePointerAndEventsComeInOrder) {
    // The container stays hidden: no hover tracking, only the pointer events.
    Send(WM_LBUTTONDOWN, 25, 30, MK_LBUTTON);
    Send(WM_LBUTTONUP, 25, 30);
    // Coordinates in the container's unit, twips.
    EXPECT_EQ(log, (Log{"image MouseDown 1 75,150", "image MouseUp 1 75,150", "image Click"}));
    log.clear();
    Send(WM_LBUTTONDOWN, 50, 30, MK_LBUTTON); // inside the control, on a transparent pixel
    EXPECT_EQ(log, (Log{"container Down"}));

    log.clear();
    image.HitTest(0); // the whole control now
    Send(WM_LBUTTONDOWN, 50, 30, MK_LBUTTON);
    Send(WM_LBUTTONUP, 50, 30);
    Send(WM_LBUTTONDBLCLK, 50, 30, MK_LBUTTON);
    Send(WM_LBUTTONUP, 50, 30);
    EXPECT_EQ(log, (Log{"image MouseDown 1 450,150", "image MouseUp 1 450,150", "image Click",
                        "image DblClick", "image MouseUp 1 450,150"}));

    log.clear();
    image.Enabled(false);
    Send(WM_LBUTTONDOWN, 25, 30, MK_LBUTTON);
    EXPECT_EQ(log.back(), "container Down");
}

TEST_F(HostedAlphaImage, ThePointerPassesFromOneControlToTheNextInOrder) {
    container.Show();
    aicAlphaImage second;
    Place(second, "second", 100, 20);
    ASSERT_TRUE(second.LoadImage_FromArray(HalfRed()));
    log.clear();
    Send(WM_MOUSEMOVE, 25, 30);
    Send(WM_MOUSEMOVE, 26, 30); // still inside: nothing new
    Send(WM_MOUSEMOVE, 105, 30);
    EXPECT_EQ(log, (Log{"image MouseEnter", "image MouseExit", "second MouseEnter"}));
}

TEST_F(HostedAlphaImage, AFadeEndsWithFadeTerminatedAndADestroyedControlGetsNoTick) {
    container.Show();
    image.FadeInOut(40, 20, 10);
    EXPECT_TRUE(PumpUntil([&] { return !log.empty(); }));
    EXPECT_EQ(log, (Log{"image FadeTerminated 40"}));
    EXPECT_EQ(image.Opacity(), 40);

    // One control destroyed mid-fade beside one that fades as long: by the time the survivor
    // finishes, the ticks of the other are due too, and must not reach it.
    auto doomed = std::make_unique<aicAlphaImage>();
    Place(*doomed, "doomed", 100, 20);
    ASSERT_TRUE(doomed->LoadImage_FromArray(HalfRed()));
    log.clear();
    doomed->FadeInOut(0, 10, 10);
    image.FadeInOut(100, 10, 20);
    doomed.reset();
    EXPECT_TRUE(PumpUntil([&] { return !log.empty(); }));
    EXPECT_EQ(log, (Log{"image FadeTerminated 100"}));
    EXPECT_EQ(container.Windowless().Controls().size(), 1u);
}

} // namespace
} // namespace velt::testing
