#pragma once
// Windowless controls: controls without a window of their own. Their container draws them on its
// own surface in z-order, asks each whether a point hits it, and gives the pointer to the one that
// answers. A control keeps its place in the container and says what it shows; the container
// (WindowlessHost_win.h on Windows) keeps the order and does the routing.
#include "platform/Desktop.h"

#include <cstdint>

struct HDC__;

namespace velt {

using NativeDC = HDC__*; // a device context; HDC on Windows

class WindowlessControl;

// What a container offers the windowless controls placed on it.
class WindowlessSite {
public:
    virtual ~WindowlessSite() = default;
    // The container's native window.
    virtual std::uintptr_t ContainerWindow() const = 0;
    // Repaints that part of the control (control pixels) when the container next paints.
    virtual void InvalidateControl(const WindowlessControl& control, const Rect& area) = 0;
    // The control is going away: the container forgets it.
    virtual void RemoveControl(WindowlessControl& control) = 0;
    // False while a designer edits the control rather than the program running it.
    virtual bool UserMode() const { return true; }
    // The container's measuring unit, as a scale-mode number: 1 twips, 3 pixels.
    virtual std::int32_t ScaleMode() const { return 1; }
};

// Pointer buttons: 1 left, 2 right, 4 middle. Shift keys: 1 Shift, 2 Ctrl, 4 Alt.
enum class PointerAction { Move, Down, Up };

struct PointerArgs {
    PointerAction action = PointerAction::Move;
    std::int16_t button = 0; // the button pressed or released; for moves, the buttons held
    std::int16_t shift = 0;
    float x = 0; // control pixels
    float y = 0;
    std::int16_t held = 0; // the buttons down once this event is over
};

class WindowlessControl {
public:
    WindowlessControl() = default;
    virtual ~WindowlessControl() {
        if (m_site) m_site->RemoveControl(*this);
    }
    WindowlessControl(const WindowlessControl&) = delete;
    WindowlessControl& operator=(const WindowlessControl&) = delete;

    WindowlessSite* Site() const { return m_site; }
    // Set by the container when it takes the control and cleared when it lets it go.
    void SetSite(WindowlessSite* site) { m_site = site; }

    // Placement in the container's client area, pixels.
    const Rect& Bounds() const { return m_bounds; }
    int Left() const { return m_bounds.left; }
    int Top() const { return m_bounds.top; }
    int Width() const { return m_bounds.right - m_bounds.left; }
    int Height() const { return m_bounds.bottom - m_bounds.top; }
    // Moves and sizes the control; a new size raises OnResize. Both places are repainted.
    void Move(int left, int top, int width, int height) {
        if (width < 0) width = 0;
        if (height < 0) height = 0;
        const bool resized = width != Width() || height != Height();
        Invalidate();
        m_bounds = Rect{left, top, left + width, top + height};
        Invalidate();
        if (resized) OnResize();
    }
    void Resize(int width, int height) { Move(m_bounds.left, m_bounds.top, width, height); }

    // Whether the control is to be seen; it is shown while it is visible and its container is.
    bool Visible() const { return m_visible; }
    void Visible(bool visible) {
        if (visible == m_visible) return;
        const bool wasShown = Shown();
        m_visible = visible;
        Invalidate();
        ShownChanged(wasShown);
    }
    // The container tells its controls when it is shown or hidden.
    void ContainerShown(bool shown) {
        if (shown == m_containerShown) return;
        const bool wasShown = Shown();
        m_containerShown = shown;
        ShownChanged(wasShown);
    }
    bool Shown() const { return m_visible && m_containerShown; }

    // Repaints the whole control.
    void Invalidate() { Invalidate(Rect{0, 0, Width(), Height()}); }
    void Invalidate(const Rect& area) {
        if (m_site && Width() > 0 && Height() > 0) m_site->InvalidateControl(*this, area);
    }

    // The container's requests. Paint gets a device context whose origin is the control's top-left
    // corner, clipped to the control and to what needs painting.
    virtual void Paint(NativeDC dc) = 0;
    // Whether (x, y), in control pixels, hits the control. Asked only inside its bounds.
    virtual bool HitTest(float x, float y) = 0;
    // Only controls that are enabled take the pointer.
    virtual bool TakesPointer() const { return true; }
    virtual void OnPointer(const PointerArgs&) {}
    virtual void OnClick() {}
    virtual void OnDblClick() {}
    // The cursor to show over the control, as a MousePointer number: 0 the container's own,
    // 1 arrow, 2 cross, 3 I-beam, 4 icon, 5 and 15 size all, 6 NE-SW, 7 N-S, 8 NW-SE, 9 W-E,
    // 10 up arrow, 11 hourglass, 12 no drop, 13 arrow and hourglass, 14 arrow and question mark.
    virtual std::uintptr_t CursorOver() const { return 0; }

protected:
    virtual void OnResize() {}
    virtual void OnShow() {}
    virtual void OnHide() {}

private:
    void ShownChanged(bool wasShown) {
        if (Shown() == wasShown) return;
        if (Shown()) OnShow();
        else OnHide();
    }

    WindowlessSite* m_site = nullptr;
    Rect m_bounds{};
    bool m_visible = true;
    bool m_containerShown = false;
};

} // namespace velt
