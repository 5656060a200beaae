#include "platform/App_win.h"
#include "tests/controls/ButtonHost_win.h"

#include <gtest/gtest.h>

#include <memory>

namespace velt::testing {
namespace {

using Log = std::vector<std::string>;

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.Place(button);
        host.log.clear();
    }
    void Tick(int count = 1) {
        for (int i = 0; i < count; ++i) timers.TickAll();
    }
    bool Fading() const { return !timers.running.empty(); }

    FakeTimers timers;
    ButtonHost host;
    ctlVistorButton button{timers};
};

TEST_F(ButtonTest, EnteringShowsOverAndLeavingShowsUpAtOnce) {
    EXPECT_EQ(Shown(button, 5, 5), kUp);
    host.Move(button, 5, 5);
    EXPECT_EQ(host.log, (Log{"Move", "Over", "Move"}));
    EXPECT_EQ(Shown(button, 5, 5), kOver);
    EXPECT_EQ(GetCapture(), button.hWnd());
    EXPECT_FALSE(Fading());

    host.log.clear();
    host.Move(button, -3, 5);
    EXPECT_EQ(host.log, (Log{"Move", "Out", "Move"}));
    EXPECT_EQ(Shown(button, 5, 5), kUp);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ButtonTest, TheRightAndBottomEdgesCountAsInside) {
    host.Move(button, 5, 5);
    host.log.clear();
    host.Move(button, kFaceWidth, kFaceHeight); // one past the last pixel
    EXPECT_EQ(host.log, (Log{"Move", "Over", "Move"}));
    EXPECT_EQ(GetCapture(), button.hWnd());
    host.log.clear();
    host.Move(button, kFaceWidth + 1, kFaceHeight);
    EXPECT_EQ(host.log, (Log{"Move", "Out", "Move"}));
}

TEST_F(ButtonTest, ReleaseInsideShowsUpAndRaisesClickThenMouseUp) {
    host.Move(button, 10, 10);
    host.Press(button, 10, 10);
    EXPECT_EQ(Shown(button, 5, 5), kDown);
    host.log.clear();
    host.Release(button, 10, 10);
    EXPECT_EQ(host.log, (Log{"Click", "Up"}));
    EXPECT_EQ(Shown(button, 5, 5), kUp);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(Fading());

    host.log.clear();
    host.Move(button, 11, 10); // over again: captures again
    EXPECT_EQ(GetCapture(), button.hWnd());
    EXPECT_EQ(Shown(button, 5, 5), kOver);
}

TEST_F(ButtonTest, DraggedOutsideShowsOverAndReleaseThereRaisesNoClick) {
    host.Move(button, 10, 10);
    host.Press(button, 10, 10);
    host.Move(button, 80, 10, MK_LBUTTON);
    EXPECT_EQ(Shown(button, 5, 5), kOver);
    EXPECT_EQ(GetCapture(), button.hWnd()); // still pressed: the capture stays
    host.Move(button, 12, 10, MK_LBUTTON);
    EXPECT_EQ(Shown(button, 5, 5), kDown);
    host.Move(button, 80, 10, MK_LBUTTON);

    host.log.clear();
    host.Release(button, 80, 10); // over the host, not the button
    EXPECT_EQ(host.log, Log{});
    // The fade towards Up starts even without UseAlphaBlend; its first tick, at level 0, blends
    // Up at half strength over Over, and ends the fade.
    ASSERT_TRUE(Fading());
    Tick();
    EXPECT_TRUE(Near(Shown(button, 5, 5), Blended(kUp, kOver, 128), 2)) << Shown(button, 5, 5);
    EXPECT_FALSE(Fading());
}

TEST_F(ButtonTest, PanelPressesShowNoDownFaceButStillClick) {
    button.Panel(true);
    host.Move(button, 10, 10);
    host.log.clear();
    host.Press(button, 10, 10);
    EXPECT_EQ(host.log, Log{"Down"});
    EXPECT_EQ(Shown(button, 5, 5), kOver);
    host.Release(button, 10, 10);
    EXPECT_EQ(host.log, (Log{"Down", "Click", "Up"}));
    EXPECT_EQ(Shown(button, 5, 5), kOver); // nothing drawn on release

    button.Caption(L"Go"); // a press on the caption shows Down whatever Panel says
    RECT client{};
    GetClientRect(button.hWnd(), &client);
    host.Press(button, client.right / 2, client.bottom / 2);
    EXPECT_EQ(Shown(button, 1, 1), kDown);
    host.Release(button, client.right / 2, client.bottom / 2);
}

TEST_F(ButtonTest, FadeInTakesThirteenTicksAndFadeOutOnePerLevel) {
    button.UseAlphaBlend(true);
    host.Move(button, 5, 5);
    EXPECT_EQ(Shown(button, 5, 5), kUp); // nothing yet: the fade starts on the next tick
    ASSERT_EQ(timers.running.size(), 1u);
    EXPECT_EQ(timers.running[0].milliseconds, 40);

    COLORREF expected = kUp;
    for (int tick = 1; tick <= 13; ++tick) {
        EXPECT_TRUE(Fading()) << tick;
        Tick();
        expected = Blended(kOver, expected, std::min(10 * tick, 128));
        EXPECT_TRUE(Near(Shown(button, 5, 5), expected, 2 + tick / 4)) << tick;
    }
    EXPECT_FALSE(Fading());

    host.Move(button, -3, 5);
    for (int tick = 1; tick <= 128; ++tick) {
        ASSERT_TRUE(Fading()) << tick;
        Tick();
    }
    EXPECT_FALSE(Fading());
    EXPECT_TRUE(Near(Shown(button, 5, 5), kUp, 2));
}

TEST_F(ButtonTest, AFadeReversesFromItsCurrentLevel) {
    button.UseAlphaBlend(true);
    host.Move(button, 5, 5);
    Tick(3); // level 30
    COLORREF before = Shown(button, 5, 5);
    host.Move(button, -3, 5);
    EXPECT_EQ(Shown(button, 5, 5), before); // no jump
    for (int tick = 1; tick <= 30; ++tick) {
        ASSERT_TRUE(Fading()) << tick;
        Tick();
    }
    EXPECT_FALSE(Fading());
}

TEST_F(ButtonTest, ThePressStopsTheFade) {
    button.UseAlphaBlend(true);
    host.Move(button, 5, 5);
    Tick(2);
    host.Press(button, 5, 5);
    EXPECT_FALSE(Fading());
    EXPECT_EQ(Shown(button, 5, 5), kDown);
}

TEST_F(ButtonTest, TheControlAlwaysTakesTheUpFaceSize) {
    MoveWindow(button.hWnd(), 0, 0, 100, 50, TRUE);
    RECT client{};
    GetClientRect(button.hWnd(), &client);
    EXPECT_EQ(client.right, kFaceWidth);
    EXPECT_EQ(client.bottom, kFaceHeight);

    UniqueBitmap wider = SolidBitmap(60, 24, kUp);
    button.ImgUp(wider.get());
    GetClientRect(button.hWnd(), &client);
    EXPECT_EQ(client.right, 60);
    EXPECT_EQ(client.bottom, 24);
}

TEST_F(ButtonTest, CaptionIsCentredAndTakesThePointerOverItsOwnArea) {
    button.Caption(L"Go");
    RECT client{};
    GetClientRect(button.hWnd(), &client);
    host.Move(button, client.right / 2, client.bottom / 2);
    // Over the caption MouseMove comes once, before the face changes.
    ASSERT_GE(host.log.size(), 2u);
    EXPECT_EQ(host.log[0], "Move");
    EXPECT_EQ(host.log[1], "Over");
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "Move"), 1);
    EXPECT_EQ(Shown(button, 1, 1), kOver);
    // The caption's text is drawn in the middle, not at the corners.
    EXPECT_EQ(Shown(button, 0, client.bottom / 2), kOver);
}

TEST_F(ButtonTest, TheCaptionClicksAfterItsReleaseAndASurfacePressKeepsThePointer) {
    button.Caption(L"Go");
    RECT client{};
    GetClientRect(button.hWnd(), &client);
    const int cx = client.right / 2, cy = client.bottom / 2;
    // The caption's text is drawn over the face.
    int inked = 0;
    for (int x = cx - 10; x < cx + 10; ++x)
        for (int y = cy - 8; y < cy + 8; ++y) inked += Shown(button, x, y) != kUp;
    EXPECT_GT(inked, 0);

    host.Move(button, cx, cy);
    host.Press(button, cx, cy);
    host.log.clear();
    host.Release(button, cx, cy);
    EXPECT_EQ(host.log, (Log{"Up", "Click"})); // the caption's own click follows its release
    EXPECT_EQ(GetCapture(), nullptr);

    // Pressed on the surface and dragged over the caption: still the surface's press, which
    // clicks before its release.
    host.Move(button, 2, 2);
    host.Press(button, 2, 2);
    host.Move(button, cx, cy, MK_LBUTTON);
    EXPECT_EQ(Shown(button, 1, 1), kDown);
    host.log.clear();
    host.Release(button, cx, cy);
    EXPECT_EQ(host.log, (Log{"Click", "Up"}));

    // A double click on the caption: one click, and the second release only releases.
    host.Move(button, cx, cy);
    host.Press(button, cx, cy);
    host.Release(button, cx, cy);
    host.log.clear();
    host.Press(button, cx, cy, WM_LBUTTONDBLCLK);
    host.Release(button, cx, cy);
    EXPECT_EQ(host.log, (Log{"Up"}));
}

TEST_F(ButtonTest, DoubleClickOnTheSurfaceIsASecondPress) {
    float pressedX = -1;
    std::int16_t pressedButton = 0;
    button.MouseDown = [&](std::int16_t& b, std::int16_t&, float& x, float&) {
        pressedButton = b;
        pressedX = x;
    };
    host.Move(button, 10, 10);
    host.Press(button, 10, 10, WM_LBUTTONDBLCLK);
    EXPECT_EQ(pressedButton, 1);
    EXPECT_EQ(pressedX, 0.0f);
    EXPECT_EQ(Shown(button, 5, 5), kDown);
}

TEST_F(ButtonTest, AHandlerMayDestroyTheButton) {
    ShowWindow(button.hWnd(), SW_HIDE); // the new one sits where the fixture's does
    auto owned = std::make_unique<ctlVistorButton>(timers);
    host.Place(*owned);
    host.log.clear();
    owned->Click = [&] {
        host.log.push_back("Click");
        owned.reset();
    };
    host.Move(*owned, 10, 10);
    host.Press(*owned, 10, 10);
    HWND window = owned->hWnd();
    host.Release(*owned, 10, 10);
    EXPECT_EQ(owned, nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(host.log.back(), "Click"); // no MouseUp from a button that is gone
    EXPECT_TRUE(timers.running.empty());
}

TEST_F(ButtonTest, AnUnreadableFacePictureLeavesThatFaceEmptyAndTheOthersLoad) {
    PropertyBag bag;
    button.WriteProperties(bag);
    bag.WriteBytes(L"ImgDown", Bytes{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    Bytes cut = bag.ReadBytes(L"ImgOver");
    cut.resize(20); // a bitmap file's header, no more
    bag.WriteBytes(L"ImgOver", cut);
    ctlVistorButton copy(timers);
    copy.Create(host.hWnd(), 0, 0);
    copy.ReadProperties(bag);
    EXPECT_EQ(PixelOf(copy.ImgUp().get(), 2, 2), kUp);
    EXPECT_FALSE(copy.ImgDown());
    EXPECT_FALSE(copy.ImgOver());
}

TEST_F(ButtonTest, SaveThenSkinUpSwapsOverAndDown) {
    button.Save();
    ctlVistorButton other(timers);
    host.Place(other);
    UniqueBitmap blank = SolidBitmap(kFaceWidth, kFaceHeight, RGB(1, 1, 1));
    other.ImgUp(blank.get());
    other.SkinUp(AppPath(), L"Pic", L".bmp");
    EXPECT_EQ(PixelOf(other.ImgUp().get(), 3, 3), kUp);
    EXPECT_EQ(PixelOf(other.ImgOver().get(), 3, 3), kDown);
    EXPECT_EQ(PixelOf(other.ImgDown().get(), 3, 3), kOver);
    EXPECT_EQ(Shown(other, 3, 3), kUp);

    DeleteFileW((AppPath() + L"\\Pic2.bmp").c_str());
    other.SkinUp(AppPath(), L"Pic", L".bmp"); // a missing file leaves its face alone
    EXPECT_EQ(PixelOf(other.ImgOver().get(), 3, 3), kDown);
    for (const wchar_t* file : {L"\\Pic1.bmp", L"\\Pic3.bmp"})
        DeleteFileW((AppPath() + file).c_str());
}

TEST_F(ButtonTest, PersistedPropertiesRoundTripAndDefaultsStayOut) {
    ctlVistorButton fresh(timers);
    fresh.Create(host.hWnd(), 0, 0);
    PropertyBag empty;
    fresh.WriteProperties(empty);
    EXPECT_TRUE(empty.Entries().empty());
    EXPECT_EQ(fresh.Caption(), L"TovikButton");

    button.Caption(L" Go ");
    button.UseAlphaBlend(true);
    button.Panel(true);
    PropertyBag bag;
    button.WriteProperties(bag);
    EXPECT_EQ(bag.Entries().size(), 6u);

    ctlVistorButton copy(timers);
    copy.Create(host.hWnd(), 0, 0);
    copy.ReadProperties(bag);
    EXPECT_EQ(copy.Caption(), L" Go ");
    EXPECT_TRUE(copy.UseAlphaBlend());
    EXPECT_TRUE(copy.Panel());
    EXPECT_EQ(PixelOf(copy.ImgUp().get(), 2, 2), kUp);
    EXPECT_EQ(PixelOf(copy.ImgOver().get(), 2, 2), kOver);
    EXPECT_EQ(PixelOf(copy.ImgDown().get(), 2, 2), kDown);
    RECT client{};
    GetClientRect(copy.hWnd(), &client);
    EXPECT_EQ(client.right, kFaceWidth);

    copy.ReadProperties(PropertyBag()); // every key absent: the defaults
    EXPECT_EQ(copy.Caption(), L"TovikButton");
    EXPECT_FALSE(copy.UseAlphaBlend());
    EXPECT_FALSE(copy.ImgUp());
}

TEST_F(ButtonTest, APointerThatLeftWithoutAMoveIsNoticed) {
    // Entered as a real pointer would, then gone over another program's window, from where the
    // system sends no move to a capture taken with no button down.
    MoveCursor(host.ScreenOf(5, 5));
    host.Move(button, 5, 5);
    EXPECT_EQ(Shown(button, 5, 5), kOver);
    MoveCursor(POINT{700, 600});
    host.log.clear();
    // The control looks for the pointer on a timer of its own.
    PumpUntil([&] { return GetCapture() == nullptr; });
    EXPECT_EQ(Shown(button, 5, 5), kUp);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_GE(std::count(host.log.begin(), host.log.end(), "Out"), 1);
}

TEST_F(ButtonTest, HandleAndIsOver) {
    EXPECT_EQ(reinterpret_cast<HWND>(static_cast<INT_PTR>(button.Handle())), button.hWnd());
    MoveCursor(host.ScreenOf(5, 5));
    EXPECT_TRUE(button.IsOver());
    MoveCursor(host.ScreenOf(100, 5));
    EXPECT_FALSE(button.IsOver());

    ctlVistorButton never(timers);
    EXPECT_EQ(never.Handle(), 0);
    EXPECT_FALSE(never.IsOver());
}

} // namespace
} // namespace velt::testing
