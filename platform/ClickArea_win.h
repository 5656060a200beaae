#pragma once
// A transparent click area: a child window that shows what its container shows under it and
// raises Click when pressed and released on it. Its free text Tag says what the click is for.
#include "platform/WindowDefinition.h"
#include "platform/Window_win.h"

#include <functional>
#include <string>

namespace velt {

// Paints into dc what the child's parent shows under it (its background and its client
// drawing), so that the child looks transparent.
void PaintParentUnder(HWND child, HDC dc);

class ClickArea final : public Window {
public:
    // Creates the area where its definition places it; its Tag comes from there too.
    bool Create(HWND parent, const ControlDefinition& definition);
    std::wstring Tag;
    std::function<void()> Click;

protected:
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override { PaintParentUnder(hWnd(), dc); }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool m_pressed = false;
};

} // namespace velt
