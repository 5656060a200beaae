#pragma once
// A picture box: a child window that shows a persistent picture and, over it, the rectangle
// shapes placed on it; labels and other controls placed on it sit on that picture. Measures in
// twips as the definition gives them.
#include "platform/Shape_win.h"
#include "platform/Surface_win.h"
#include "platform/WindowDefinition.h"
#include "platform/Window_win.h"

#include <functional>
#include <vector>

namespace velt {

// The picture's bytes (any format the image object reads) drawn onto a new surface; false, the
// surface untouched, when they do not decode.
bool LoadSurfacePicture(Surface& surface, const Bytes& bytes, COLORREF background);

class PictureBox : public Window {
public:
    // Creates the box where its definition places it, visible unless Visible is False, with its
    // Picture when it has one.
    bool Create(HWND parent, const ControlDefinition& definition);

    // The persistent picture: what the box shows, kept across repaints.
    Surface& Picture() { return m_picture; }
    // Makes a copy of the surface the displayed picture and repaints.
    void SetPicture(const Surface& picture);
    // Shapes drawn over the picture, in the order given; the box does not own them.
    void AddShape(const Shape& shape) { m_shapes.push_back(&shape); }

    // Placement in the parent's client area, twips.
    int LeftTwips() const;
    int TopTwips() const;
    int WidthTwips() const;
    int HeightTwips() const;
    void MoveTwips(int left, int top, int width, int height);
    void SetVisible(bool visible);

    // Drawn after the picture and the shapes, on every paint.
    std::function<void(HDC dc)> PaintOver;

protected:
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    RECT ParentRect() const;
    Surface m_picture;
    std::vector<const Shape*> m_shapes;
    COLORREF m_backColor = GetSysColor(COLOR_BTNFACE);
};

} // namespace velt
