#pragma once
// One desktop's picture on the overview: a child window that keeps what is drawn into it.
#include "platform/Surface_win.h"
#include "platform/Window_win.h"

#include <functional>

namespace velt {

class Thumbnail final : public Window {
public:
    bool Create(HWND parent, int index);
    // Runs draw on the thumbnail's own picture, then repaints.
    void Draw(const std::function<void(HDC dc, SIZE size)>& draw);
    void SetBorder(bool border); // a single line while the cursor is over it
    bool HasBorder() const;
    SIZE PictureSize() const;

protected:
    void OnResize() override; // the picture keeps the window's size, blank where it grows
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override;

private:
    Surface m_picture;
};

} // namespace velt
