// Hover tracking and fading of the alpha image control, on fake windows and a fake clock.
#include "FakeControlHost.h"
#include "PngBuilder.h"

#include "imaging/aicAlphaImage.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace velt::test {
namespace {

constexpr std::uintptr_t kWindow = 100;
constexpr Point kOrigin{500, 400};

// An opaque 4 x 4 picture, or one whose left half is transparent.
std::vector<uint8_t> Square(bool leftHalfClear = false) {
    PngPicture p;
    p.width = p.height = 4;
    p.colourType = 6;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const uint16_t a = leftHalfClear && x < 2 ? 0 : 255;
            p.samples.insert(p.samples.end(), {200, 100, 50, a});
        }
    return BuildPng(p);
}

// Controls on one window, every event they raise written to one log.
struct Stage {
    Stage() : site(kWindow) { windows.AddWindow(kWindow, kWindow, 0, kOrigin); }

    std::unique_ptr<aicAlphaImage> Add(const std::string& name, int left, int width = 4,
                                       bool leftHalfClear = false, FakeSite* on = nullptr) {
        auto control = std::make_unique<aicAlphaImage>(windows);
        control->InitProperties();
        control->AutoSize(false);
        control->ScaleMethod(3);
        (on ? *on : site).Add(*control, left, 0, width, 4);
        control->LoadImage_FromArray(Square(leftHalfClear));
        control->MouseEnter = [this, name] { log += name + " enter;"; };
        control->MouseExit = [this, name] { log += name + " exit;"; };
        control->FadeTerminated = [this, name](std::int32_t opacity) {
            log += name + " faded " + std::to_string(opacity) + ";";
        };
        return control;
    }

    // The pointer over a control's point (x, y): the container asks it, as it would on a move.
    bool PointAt(aicAlphaImage& control, int x, int y) {
        windows.MovePointer({kOrigin.x + control.Left() + x, kOrigin.y + control.Top() + y},
                            kWindow);
        return control.HitTest(float(x), float(y));
    }

    std::wstring Capture() const { return L"AIC1.0:Capture"; }

    FakeWindows windows;
    FakeSite site;
    std::string log;
};

TEST(AlphaImageHover, EnteringLeavingAndHandingOverInOrder) {
    Stage stage;
    auto a = stage.Add("a", 0);
    auto b = stage.Add("b", 10);
    EXPECT_TRUE(stage.PointAt(*a, 1, 1));
    EXPECT_EQ(stage.log, "a enter;");
    EXPECT_EQ(a->Tag(), L"Timer");
    EXPECT_EQ(stage.windows.ReadProp(kWindow, stage.Capture()),
              reinterpret_cast<std::uintptr_t>(a.get()));
    EXPECT_TRUE(stage.PointAt(*a, 2, 2)); // still inside: nothing new
    EXPECT_EQ(stage.log, "a enter;");

    // Straight onto the other control: the first leaves before the second enters.
    EXPECT_TRUE(stage.PointAt(*b, 1, 1));
    EXPECT_EQ(stage.log, "a enter;a exit;b enter;");
    EXPECT_EQ(a->Tag(), L"");
    EXPECT_FALSE(stage.windows.TimerRunning(kWindow, reinterpret_cast<std::uintptr_t>(a.get())));

    // Onto the bare container: the poll notices within one tick.
    stage.windows.MovePointer({kOrigin.x + 30, kOrigin.y + 30}, kWindow);
    stage.windows.Advance(99);
    EXPECT_EQ(stage.log, "a enter;a exit;b enter;");
    stage.windows.Advance(1);
    EXPECT_EQ(stage.log, "a enter;a exit;b enter;b exit;");
    EXPECT_EQ(stage.windows.ReadProp(kWindow, stage.Capture()), 0u);
    EXPECT_EQ(stage.windows.TimerCount(), 0u);

    // Onto another window, while the pointer is still over the control's place.
    stage.log.clear();
    stage.PointAt(*a, 1, 1);
    stage.windows.MovePointer({kOrigin.x + 1, kOrigin.y + 1}, 999);
    stage.windows.Advance(100);
    EXPECT_EQ(stage.log, "a enter;a exit;");
}

TEST(AlphaImageHover, AMissOnTheOwnerLeavesAtOnceAndClearPixelsNeverEnter) {
    Stage stage;
    auto a = stage.Add("a", 0, 4, true);
    a->HitTest(3);
    EXPECT_FALSE(stage.PointAt(*a, 0, 1)); // the transparent half
    EXPECT_EQ(stage.log, "");
    EXPECT_TRUE(stage.PointAt(*a, 3, 1));
    EXPECT_FALSE(stage.PointAt(*a, 1, 1));
    EXPECT_EQ(stage.log, "a enter;a exit;");
    EXPECT_EQ(stage.windows.TimerCount(), 0u);
}

TEST(AlphaImageHover, HidingAndShowingAgainKeepsItWorking) {
    Stage stage;
    auto a = stage.Add("a", 0);
    a->Visible(false);
    EXPECT_EQ(stage.windows.PropCount(), 0u); // its window's bookkeeping is gone with it
    a->Visible(true);
    EXPECT_TRUE(stage.PointAt(*a, 1, 1));
    a->FadeInOut(50, 25);
    stage.windows.Advance(30);
    EXPECT_EQ(stage.log, "a enter;a faded 50;");
    stage.windows.MovePointer({0, 0}, 0);
    stage.windows.Advance(100);
    EXPECT_EQ(stage.log, "a enter;a faded 50;a exit;");
}

TEST(AlphaImageHover, WindowsOfOneOwnerShareTheirBookkeeping) {
    constexpr std::uintptr_t kOwner = 300, kOther = 101;
    Stage stage;
    stage.windows.AddWindow(kWindow, kWindow, kOwner, kOrigin);
    stage.windows.AddWindow(kOther, kOther, kOwner, {0, 0});
    stage.windows.AddWindow(kOwner, kOwner);
    FakeSite other(kOther);
    auto a = stage.Add("a", 0);
    auto a2 = stage.Add("a2", 10);
    auto c = stage.Add("c", 0, 4, false, &other);
    auto& w = stage.windows;
    EXPECT_EQ(w.ReadProp(kOwner, L"AIC1.0:Client0"), kWindow);
    EXPECT_EQ(w.ReadProp(kOwner, L"AIC1.0:Client1"), kOther);
    EXPECT_EQ(w.ReadProp(kOwner, L"AIC1.0:Ref100"), 2u);
    EXPECT_EQ(w.ReadProp(kOwner, L"AIC1.0:Ref101"), 1u);
    EXPECT_EQ(w.ReadProp(kWindow, L"AIC1.0:Parent"), kOwner);
    EXPECT_EQ(w.ReadProp(kOther, L"AIC1.0:Parent"), kOwner);
    stage.PointAt(*a, 1, 1);
    EXPECT_EQ(w.ReadProp(kOwner, stage.Capture()), reinterpret_cast<std::uintptr_t>(a.get()));

    // The first window closes: its entry goes, the last one moving into its slot.
    a.reset();
    EXPECT_EQ(w.ReadProp(kOwner, stage.Capture()), 0u);
    EXPECT_TRUE(w.HasProp(kOwner, stage.Capture()));
    EXPECT_EQ(w.ReadProp(kOwner, L"AIC1.0:Ref100"), 1u);
    a2.reset();
    EXPECT_EQ(w.ReadProp(kOwner, L"AIC1.0:Client0"), kOther);
    EXPECT_FALSE(w.HasProp(kOwner, L"AIC1.0:Client1"));
    EXPECT_FALSE(w.HasProp(kWindow, L"AIC1.0:Parent"));
    EXPECT_TRUE(w.HasProp(kOwner, stage.Capture()));
    // The other window's control still tracks the pointer.
    w.MovePointer({1, 1}, kOther);
    EXPECT_TRUE(c->HitTest(1, 1));
    EXPECT_EQ(stage.log, "a enter;c enter;"); // a control that goes raises nothing
    // The last one going takes the capture with it: nothing is left on any window.
    c.reset();
    EXPECT_EQ(w.PropCount(), 0u);
    EXPECT_EQ(w.TimerCount(), 0u);
}

TEST(AlphaImageHover, LeftOverBookkeepingIsStartedAgain) {
    Stage stage;
    stage.windows.WriteProp(kWindow, L"AIC1.0:Client0", 555); // a window that does not point back
    stage.windows.WriteProp(kWindow, L"AIC1.0:Client1", 556);
    stage.windows.WriteProp(kWindow, stage.Capture(), 12345); // and a control long gone
    auto a = stage.Add("a", 0);
    EXPECT_EQ(stage.windows.ReadProp(kWindow, L"AIC1.0:Client0"), kWindow);
    EXPECT_FALSE(stage.windows.HasProp(kWindow, L"AIC1.0:Client1"));
    EXPECT_FALSE(stage.windows.HasProp(kWindow, stage.Capture()));
    // A capture naming no live control is passed over.
    stage.windows.WriteProp(kWindow, stage.Capture(), 12345);
    EXPECT_TRUE(stage.PointAt(*a, 1, 1));
    EXPECT_EQ(stage.log, "a enter;");
}

TEST(AlphaImageFade, StepsOnTheClockAndEndsWithTheTarget) {
    Stage stage;
    auto a = stage.Add("a", 0);
    a->FadeInOut(80);
    EXPECT_EQ(a->Opacity(), 90); // the first step at once
    stage.windows.Advance(29);
    EXPECT_EQ(a->Opacity(), 90);
    EXPECT_EQ(stage.log, "");
    stage.windows.Advance(1);
    EXPECT_EQ(a->Opacity(), 80);
    EXPECT_EQ(stage.log, "a faded 80;");
    EXPECT_EQ(stage.windows.TimerCount(), 0u);

    // Upwards by 20 from 30 to 60: 50, then 60 (not 70).
    stage.log.clear();
    a->Opacity(30);
    a->FadeInOut(60, -20, 50);
    EXPECT_EQ(a->Opacity(), 50);
    stage.windows.Advance(50);
    EXPECT_EQ(a->Opacity(), 60);
    EXPECT_EQ(stage.log, "a faded 60;");

    // A delay under 10 ms is 10 ms; a target outside 0..100 is clamped.
    stage.log.clear();
    a->FadeInOut(-40, 25, 5);
    EXPECT_EQ(a->Opacity(), 35);
    stage.windows.Advance(9);
    EXPECT_EQ(a->Opacity(), 35);
    stage.windows.Advance(1);
    EXPECT_EQ(a->Opacity(), 10);
    stage.windows.Advance(10);
    EXPECT_EQ(a->Opacity(), 0);
    EXPECT_EQ(stage.log, "a faded 0;");
}

TEST(AlphaImageFade, AZeroStepOrTheSameOpacityOnlyCancels) {
    Stage stage;
    auto a = stage.Add("a", 0);
    a->FadeInOut(100); // already there
    EXPECT_EQ(stage.windows.TimerCount(), 0u);
    a->FadeInOut(0, 10, 30);
    EXPECT_EQ(a->Opacity(), 90);
    a->FadeInOut(0, 0); // cancels the running fade
    stage.windows.Advance(1000);
    EXPECT_EQ(a->Opacity(), 90);
    EXPECT_EQ(stage.log, "");
    // Hiding cancels a fade too.
    a->FadeInOut(0);
    a->Visible(false);
    stage.windows.Advance(1000);
    EXPECT_EQ(a->Opacity(), 80);
    EXPECT_EQ(stage.log, "");
}

TEST(AlphaImageFade, NoTickReachesADestroyedControl) {
    Stage stage;
    auto a = stage.Add("a", 0);
    a->FadeInOut(0);
    stage.PointAt(*a, 1, 1);
    const std::uintptr_t identity = reinterpret_cast<std::uintptr_t>(a.get());
    const size_t registered = AlphaImageTimers::Count();
    ASSERT_EQ(stage.windows.TimerCount(), 2u);
    a.reset();
    EXPECT_EQ(stage.windows.TimerCount(), 0u);
    EXPECT_EQ(AlphaImageTimers::Count(), registered - 2);
    // Ticks already on their way when it went are dropped by the table.
    AlphaImageTimers::Tick(identity);
    AlphaImageTimers::Tick(0 - identity);
    EXPECT_EQ(stage.log, "a enter;");

    // A handler may destroy the control in the middle of its own fade.
    auto b = stage.Add("b", 0);
    b->FadeTerminated = [&](std::int32_t) { b.reset(); };
    b->FadeInOut(95);
    EXPECT_EQ(b, nullptr);
    EXPECT_EQ(stage.windows.TimerCount(), 0u);
}

} // namespace
} // namespace velt::test
