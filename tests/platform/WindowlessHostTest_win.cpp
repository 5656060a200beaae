#include "platform/Handles_win.h"
#include "platform/Window_win.h"
#include "platform/WindowlessHost_win.h"
#include "tests/support/Gui_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velt::testing {
namespace {

using Log = std::vector<std::string>;

constexpr COLORREF kContainerColour = RGB(128, 128, 128);

// A control that fills itself with one colour and writes what reaches it into a shared log.
class Swatch final : public WindowlessControl {
public:
    Swatch(std::string name, COLORREF colour, Log& log)
        : m_name(std::move(name)), m_colour(colour), m_log(log) {}

    void Paint(NativeDC dc) override {
        // Far beyond the control: the host's clipping keeps it inside.
        UniqueBrush brush(CreateSolidBrush(m_colour));
        RECT everything{-500, -500, 500, 500};
        FillRect(dc, &everything, brush.get());
        SetPixel(dc, 0, 0, RGB(0, 255, 0)); // marks the control's origin
    }
    bool HitTest(float x, float y) override {
        ++queries;
        return !hits || hits(x, y);
    }
    bool TakesPointer() const override { return enabled; }
    void OnPointer(const PointerArgs& args) override {
        const char* what = args.action == PointerAction::Down ? "Down"
                           : args.action == PointerAction::Up ? "Up"
                                                              : "Move";
        m_log.push_back(m_name + " " + what + " " + std::to_string(args.button) + " " +
                        std::to_string(static_cast<int>(args.x)) + "," +
                        std::to_string(static_cast<int>(args.y)));
        if (auto handler = onPointer) handler(args); // a copy: the handler may destroy this
    }
    void OnClick() override {
        m_log.push_back(m_name + " Click");
        if (auto handler = onClick) handler();
    }
    void OnDblClick() override { m_log.push_back(m_name + " DblClick"); }
    std::uintptr_t CursorOver() const override { return cursor; }

    std::function<bool(float, float)> hits; // null: every point of the control
    std::function<void(const PointerArgs&)> onPointer;
    std::function<void()> onClick;
    bool enabled = true;
    std::uintptr_t cursor = 0;
    int queries = 0;
    int shows = 0;
    int hides = 0;

protected:
    void OnShow() override { ++shows; }
    void OnHide() override { ++hides; }

private:
    std::string m_name;
    COLORREF m_colour;
    Log& m_log;
};

// A container that paints itself grey and logs the pointer messages it gets itself.
class Container final : public Window {
public:
    explicit Container(Log& log) : m_log(log) {
        RegisterWindowClass({L"VeltWindowlessTest", CS_DBLCLKS, nullptr});
        Create(
            {L"VeltWindowlessTest", L"windowless", WS_POPUP, WS_EX_TOOLWINDOW, 100, 100, 200, 150});
    }

protected:
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override {
        UniqueBrush brush(CreateSolidBrush(kContainerColour));
        RECT client{0, 0, 200, 150};
        FillRect(dc, &client, brush.get());
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LBUTTONDOWN) m_log.push_back("container Down");
        if (message == WM_LBUTTONUP) m_log.push_back("container Up");
        return Window::OnMessage(message, wParam, lParam);
    }

private:
    Log& m_log;
};

class WindowlessHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        host().Add(a, 10, 10, 40, 40); // below
        host().Add(b, 30, 30, 40, 40); // above, overlapping a from (30, 30) to (50, 50)
    }
    WindowlessHost& host() { return container.Windowless(); }
    HWND window() { return container.hWnd(); }
    void Send(UINT message, int x, int y, WPARAM keys = 0) {
        SendMessageW(window(), message, keys, MAKELPARAM(x, y));
    }
    void ClickAt(int x, int y) {
        Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        Send(WM_LBUTTONUP, x, y);
    }
    COLORREF At(int x, int y) { return PrintedPixel(window(), x, y); }

    Log log;
    Container container{log};
    Swatch a{"a", RGB(255, 0, 0), log};
    Swatch b{"b", RGB(0, 0, 255), log};
};

TEST_F(WindowlessHostTest, PaintsControlsInZOrderEachClippedToItselfAtItsOwnOrigin) {
    EXPECT_EQ(At(5, 5), kContainerColour);
    EXPECT_EQ(At(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(At(40, 40), RGB(0, 0, 255)); // b lies above a
    EXPECT_EQ(At(60, 60), RGB(0, 0, 255));
    EXPECT_EQ(At(75, 75), kContainerColour);
    EXPECT_EQ(At(10, 10), RGB(0, 255, 0));
    EXPECT_EQ(At(30, 30), RGB(0, 255, 0));

    host().ZOrder(a);
    EXPECT_EQ(At(40, 40), RGB(255, 0, 0));
    EXPECT_EQ(At(30, 30), RGB(255, 0, 0)); // b's origin is under a now
    EXPECT_EQ(host().Controls(), (std::vector<WindowlessControl*>{&b, &a}));

    a.Visible(false);
    EXPECT_EQ(At(40, 40), RGB(0, 0, 255));
    EXPECT_EQ(At(20, 20), kContainerColour);

    b.Move(100, 100, 10, 10);
    EXPECT_EQ(At(60, 60), kContainerColour);
    EXPECT_EQ(At(105, 105), RGB(0, 0, 255));
}

TEST_F(WindowlessHostTest, AControlAsksForItsOwnAreaToBePaintedAgain) {
    container.Show();
    ValidateRect(window(), nullptr);
    b.Invalidate(Rect{2, 3, 5, 7});
    RECT dirty{};
    ASSERT_TRUE(GetUpdateRect(window(), &dirty, FALSE));
    EXPECT_EQ(dirty.left, 32);
    EXPECT_EQ(dirty.top, 33);
    EXPECT_EQ(dirty.right, 35);
    EXPECT_EQ(dirty.bottom, 37);

    ValidateRect(window(), nullptr);
    b.Invalidate(Rect{-20, -20, 100, 100}); // only what lies inside the control
    ASSERT_TRUE(GetUpdateRect(window(), &dirty, FALSE));
    EXPECT_EQ(dirty.left, 30);
    EXPECT_EQ(dirty.bottom, 70);

    ValidateRect(window(), nullptr);
    {
        Swatch gone{"gone", RGB(1, 2, 3), log};
        host().Add(gone, 150, 100, 10, 10);
    }
    ValidateRect(window(), nullptr);
    EXPECT_EQ(host().Controls().size(), 2u); // a destroyed control leaves its container
}

TEST_F(WindowlessHostTest, TheTopmostControlWhoseHitQueryAnswersTakesThePointer) {
    b.hits = [](float x, float) { return x < 10; }; // only b's left quarter is solid
    Send(WM_LBUTTONDOWN, 35, 35, MK_LBUTTON);
    Send(WM_LBUTTONUP, 35, 35);
    Send(WM_LBUTTONDOWN, 45, 45, MK_LBUTTON); // b's transparent part: a beneath takes it
    Send(WM_LBUTTONUP, 45, 45);
    Send(WM_LBUTTONDOWN, 60, 60, MK_LBUTTON); // nothing beneath b there: the container's
    Send(WM_LBUTTONUP, 60, 60);
    EXPECT_EQ(log, (Log{"b Down 1 5,5", "b Up 1 5,5", "b Click", "a Down 1 35,35", "a Up 1 35,35",
                        "a Click", "container Down", "container Up"}));

    // Controls the point is outside of are not asked; nor are hidden or disabled ones.
    log.clear();
    a.queries = b.queries = 0;
    Send(WM_MOUSEMOVE, 15, 15);
    EXPECT_EQ(b.queries, 0);
    EXPECT_EQ(a.queries, 1);
    b.hits = nullptr;
    b.enabled = false;
    Send(WM_MOUSEMOVE, 40, 40);
    a.Visible(false);
    Send(WM_MOUSEMOVE, 41, 41);
    EXPECT_EQ(b.queries, 0);
    EXPECT_EQ(log, (Log{"a Move 0 5,5", "a Move 0 30,30"}));
    EXPECT_EQ(host().ControlAt(41, 41), nullptr);
    b.enabled = true;
    EXPECT_EQ(host().ControlAt(41, 41), &b);
    EXPECT_EQ(host().ControlAt(70, 70), nullptr); // right and bottom edges lie outside
}

TEST_F(WindowlessHostTest, APressKeepsThePointerOnItsControlUntilTheLastButtonIsUp) {
    Send(WM_LBUTTONDOWN, 60, 60, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), window());
    EXPECT_EQ(host().Captured(), &b);
    Send(WM_MOUSEMOVE, 150, 5, MK_LBUTTON | MK_SHIFT);     // far outside, over nothing
    Send(WM_RBUTTONDOWN, 20, 20, MK_LBUTTON | MK_RBUTTON); // over a: still b's
    Send(WM_LBUTTONUP, 20, 20, MK_RBUTTON);
    EXPECT_EQ(GetCapture(), window()); // the right button is still down
    Send(WM_RBUTTONUP, 20, 20);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(host().Captured(), nullptr);
    // Released away from b: no click.
    EXPECT_EQ(log, (Log{"b Down 1 30,30", "b Move 1 120,-25", "b Down 2 -10,-10", "b Up 1 -10,-10",
                        "b Up 2 -10,-10"}));

    log.clear();
    Send(WM_RBUTTONDOWN, 60, 60, MK_RBUTTON);
    Send(WM_RBUTTONUP, 60, 60);
    EXPECT_EQ(log, (Log{"b Down 2 30,30", "b Up 2 30,30"})); // only the left button clicks

    log.clear();
    Send(WM_LBUTTONDOWN, 60, 60, MK_LBUTTON);
    Send(WM_MOUSEMOVE, 150, 5, MK_LBUTTON);
    Send(WM_LBUTTONUP, 61, 61); // dragged out and back
    EXPECT_EQ(log, (Log{"b Down 1 30,30", "b Move 1 120,-25", "b Up 1 31,31", "b Click"}));

    // A control that lets the capture go itself on the release still gets its click.
    log.clear();
    b.onPointer = [](const PointerArgs& args) {
        if (args.action == PointerAction::Up) ReleaseCapture();
    };
    ClickAt(60, 60);
    ClickAt(20, 20);
    EXPECT_EQ(log, (Log{"b Down 1 30,30", "b Up 1 30,30", "b Click", "a Down 1 10,10",
                        "a Up 1 10,10", "a Click"}));
}

TEST_F(WindowlessHostTest, ADoubleClickRaisesDblClickInPlaceOfTheSecondPress) {
    ClickAt(60, 60);
    Send(WM_LBUTTONDBLCLK, 60, 60, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), window());
    Send(WM_LBUTTONUP, 60, 60);
    EXPECT_EQ(log,
              (Log{"b Down 1 30,30", "b Up 1 30,30", "b Click", "b DblClick", "b Up 1 30,30"}));
    EXPECT_EQ(GetCapture(), nullptr);

    log.clear();
    ClickAt(60, 60); // the next single click clicks again
    EXPECT_EQ(log, (Log{"b Down 1 30,30", "b Up 1 30,30", "b Click"}));
}

TEST_F(WindowlessHostTest, AControlMayBeDestroyedByItsOwnHandlers) {
    auto doomed = std::make_unique<Swatch>("d", RGB(9, 9, 9), log);
    host().Add(*doomed, 100, 10, 20, 20);
    doomed->onClick = [&] { doomed.reset(); };
    ClickAt(105, 15);
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(log, (Log{"d Down 1 5,5", "d Up 1 5,5", "d Click"}));
    EXPECT_EQ(GetCapture(), nullptr);
    log.clear();
    ClickAt(105, 15);
    EXPECT_EQ(log, (Log{"container Down", "container Up"}));

    // Destroyed while it holds the capture: the capture goes with it.
    doomed = std::make_unique<Swatch>("d", RGB(9, 9, 9), log);
    host().Add(*doomed, 100, 10, 20, 20);
    doomed->onPointer = [&](const PointerArgs&) { doomed.reset(); };
    log.clear();
    Send(WM_LBUTTONDOWN, 105, 15, MK_LBUTTON);
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(host().Captured(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    Send(WM_LBUTTONUP, 105, 15);
    EXPECT_EQ(log, (Log{"d Down 1 5,5", "container Up"}));
}

TEST_F(WindowlessHostTest, ControlsFollowTheirContainerShownHiddenAndDestroyed) {
    EXPECT_FALSE(a.Shown());
    container.Show();
    EXPECT_TRUE(a.Shown());
    EXPECT_TRUE(b.Shown());
    EXPECT_EQ(a.shows, 1);
    container.Hide();
    EXPECT_EQ(a.hides, 1);
    container.Show();
    Swatch late{"late", RGB(1, 1, 1), log};
    host().Add(late, 0, 0, 5, 5); // placed on a shown container: shown at once
    EXPECT_TRUE(late.Shown());
    container.Unload();
    EXPECT_EQ(a.hides, 2);
    EXPECT_FALSE(late.Shown());
    EXPECT_EQ(host().ContainerWindow(), 0u);
}

TEST_F(WindowlessHostTest, TheCursorOverAControlIsTheOneItNames) {
    container.Show();
    b.cursor = 2;  // cross
    a.cursor = 11; // hourglass
    RECT outer = container.WindowRectPixels();
    auto cursorAt = [&](int x, int y) {
        EXPECT_TRUE(MoveCursor(POINT{outer.left + x, outer.top + y}));
        SendMessageW(window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(cursorAt(60, 60), LoadCursorW(nullptr, IDC_CROSS));
    EXPECT_EQ(cursorAt(20, 20), LoadCursorW(nullptr, IDC_WAIT));
    b.cursor = 0; // the container's own: the class cursor
    EXPECT_EQ(cursorAt(60, 60), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(cursorAt(150, 120), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(WindowlessHostTest, AControlMovedToAnotherContainerLeavesTheFirst) {
    Log other;
    Container second{other};
    second.Windowless().Add(a, 0, 0, 10, 10);
    EXPECT_EQ(host().Controls(), (std::vector<WindowlessControl*>{&b}));
    EXPECT_EQ(a.Site(), &second.Windowless());
    SendMessageW(second.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(second.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(log, (Log{"a Down 1 5,5", "a Up 1 5,5", "a Click"}));
}

} // namespace
} // namespace velt::testing
