#pragma once
// One desktop's picture on the overview: a child window that keeps what is drawn into it.
#include "imaging/c32bppDIB.h"
#include "platform/Window_win.h"

#include <functional>

namespace velt {

class Thumbnail final : public Window {
public:
    Thumbnail() { m_picture.ManageOwnDC(true); }
    bool Create(HWND parent, int index);
    // A mouse button pressed on the thumbnail: 1 left, 2 right, 4 middle.
    std::function<void(int button)> MouseDown;
    // Runs draw on the thumbnail's own picture, then repaints.
    void Draw(const std::function<void(HDC dc, SIZE size)>& draw);
    void SetBorder(bool border); // a single line while the cursor is over it
    bool HasBorder() const;
    SIZE PictureSize() const;

protected:
    void OnResize() override; // the picture keeps the window's size, blank where it grows
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    c32bppDIB m_picture; // what was drawn into it, kept for every repaint
};

} // namespace velt
