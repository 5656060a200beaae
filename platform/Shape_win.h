#pragma once
// A rectangle shape: a one-pixel border of BorderColor, no fill, drawn by its container over the
// container's picture. Measures in twips.
#include "platform/Win32_win.h"
#include "platform/WindowDefinition.h"

namespace velt {

class Shape {
public:
    void Read(const ControlDefinition& definition);
    void Move(int leftTwips, int topTwips);
    void Move(int leftTwips, int topTwips, int widthTwips, int heightTwips);
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF BorderColor() const { return m_borderColor; }
    void BorderColor(COLORREF colour) { m_borderColor = colour; }
    bool Visible = true;

    RECT Pixels() const;
    void Draw(HDC dc) const;

private:
    int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    COLORREF m_borderColor = RGB(0, 0, 0);
};

} // namespace velt
