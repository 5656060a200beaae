#pragma once
// The desktop of the running Windows session.
#include "platform/Desktop.h"

namespace velt {

class Win32Desktop final : public Desktop {
public:
    void EnumWindows(const std::function<bool(WindowId)>& visit) override;
    bool IsWindowVisible(WindowId window) override;
    bool IsIconic(WindowId window) override;
    std::wstring WindowTitle(WindowId window, int bufferChars) override;
    void ShowWindow(WindowId window, bool show) override;
    bool GetWindowRect(WindowId window, Rect& rect) override;
    void MoveToTop(WindowId window, Point position) override;
    WindowId GetParent(WindowId window) override;
    WindowId WindowFromPoint(Point point) override;
    WindowId TaskbarWindow() override;
    bool IsKeyDown(int virtualKey) override;
    Point GetCursorPos() override;
    void SetCursorPos(Point point) override;
    Size ScreenSize() override;
};

} // namespace velt
