#pragma once
// The container side of windowless controls on a toolkit window (Window::Windowless()).
//
// - Painting: on every paint of the container, after the container has drawn its own picture,
//   each shown control paints in z-order (first added lowest), clipped to its bounds, with the
//   device context's origin at its top-left corner.
// - Hit query: a point of the client area is offered to the shown controls that take the pointer,
//   topmost first, and only to those whose bounds hold it; the first whose HitTest answers true
//   has the pointer there. A point no control takes belongs to the container.
// - Pointer: moves, button presses and releases go to the control the hit query answers, in
//   control pixels. A press captures the mouse for that control until its last button is up, so
//   moves and the release reach it wherever the pointer goes. A left release over the pressed
//   control raises OnClick after its release; a left double click raises OnDblClick in place of
//   the second press. What a control takes the container's own handler never sees.
// - Cursor: over a control, the cursor its CursorOver names; elsewhere the container's.
// - The controls learn when the container is shown and hidden, and are hidden when it is
//   destroyed, so that none keeps timers on a dead window.
//
// A control may be destroyed, or the container unloaded, inside any of its handlers.
#include "platform/Win32_win.h"
#include "platform/WindowlessControl.h"

#include <memory>
#include <vector>

namespace velt {

class Window;

class WindowlessHost final : public WindowlessSite {
public:
    explicit WindowlessHost(Window& container) : m_container(container) {}
    ~WindowlessHost() override;
    WindowlessHost(const WindowlessHost&) = delete;
    WindowlessHost& operator=(const WindowlessHost&) = delete;

    // Places the control on top of the others at (left, top), width x height pixels of the
    // client area. A control placed on another container leaves that one first.
    void Add(WindowlessControl& control, int left, int top, int width, int height);
    // To the top (or the bottom) of the z-order.
    void ZOrder(WindowlessControl& control, bool toTop = true);
    // Bottom first.
    const std::vector<WindowlessControl*>& Controls() const { return m_controls; }
    // The control the hit query answers at a client point, or null.
    WindowlessControl* ControlAt(int x, int y);
    // The control holding the mouse capture while a button is down, or null.
    WindowlessControl* Captured() const { return m_captured; }
    // The container's measuring unit as reported to its controls (1 twips, 3 pixels).
    void SetScaleMode(std::int32_t scaleMode) { m_scaleMode = scaleMode; }

    // Called by the toolkit window. PaintControls draws into dc over the area (client pixels);
    // Route takes the container's pointer, cursor, show and destroy messages and answers true
    // when a control took one, with result the message's answer.
    void PaintControls(HDC dc, const RECT& area);
    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // WindowlessSite
    std::uintptr_t ContainerWindow() const override;
    void InvalidateControl(const WindowlessControl& control, const Rect& area) override;
    void RemoveControl(WindowlessControl& control) override;
    std::int32_t ScaleMode() const override { return m_scaleMode; }

private:
    bool Holds(const WindowlessControl* control) const;
    void TellShown(bool shown);
    bool Pointer(PointerAction action, std::int16_t button, WPARAM keys, POINT at);
    bool DoubleClick(std::int16_t button, POINT at);
    bool SetCursorOver();

    Window& m_container;
    std::vector<WindowlessControl*> m_controls;
    WindowlessControl* m_captured = nullptr;
    std::int16_t m_buttonsDown = 0; // held on the captured control
    bool m_doubleClicking = false;  // the release that ends a double click raises no click
    std::int32_t m_scaleMode = 1;
    // Cleared when the host goes: a handler may destroy the container under a dispatch.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace velt
