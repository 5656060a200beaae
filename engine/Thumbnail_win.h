#pragma once
// One desktop's picture on the overview: a child window that keeps what is drawn into it.
#include "platform/Handles.h"
#include "platform/Window.h"

#include <functional>

namespace velt {

class Thumbnail final : public Window {
public:
    bool Create(HWND parent, int index);
    // Runs draw on the thumbnail's own picture (creating it on first use), then repaints.
    void Draw(const std::function<void(HDC dc, SIZE size)>& draw);
    void SetBorder(bool border); // a single line while the cursor is over it
    bool HasBorder() const;
    SIZE PictureSize() const;

protected:
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override;

private:
    UniqueBitmap m_picture;
    SIZE m_pictureSize{};
};

} // namespace velt
