#pragma once
// A picture surface: a persistent drawing target, a bitmap with its own device context that is
// drawn on and shown in place. Pictures are loaded and saved by the image object (c32bppDIB).
#include "platform/Handles_win.h"
#include "platform/PropertyBag.h"

#include <span>
#include <string>

namespace velt {

class Surface {
public:
    Surface() = default;
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    bool Empty() const { return !m_bitmap; }
    int Width() const { return m_width; } // pixels; 0 without a picture
    int Height() const { return m_height; }
    HDC dc() const { return m_dc.get(); } // null until the first picture

    // Each of these leaves the surface as it was when it fails.
    bool Assign(HBITMAP source);        // a copy of any bitmap not selected into a device context
    bool Assign(const Surface& source); // a copy of the other surface's picture
    // A blank picture of that size filled with colour, the old picture kept where they overlap.
    bool Resize(int width, int height, COLORREF fill);
    void Clear();

    UniqueBitmap Copy() const; // null when empty

private:
    bool Adopt(UniqueBitmap bitmap, int width, int height);
    UniqueMemoryDC m_dc;
    UniqueBitmap m_bitmap;
    HGDIOBJ m_original = nullptr; // what the device context held before our first picture
    int m_width = 0;
    int m_height = 0;
};

// A 32-bit top-down DIB section; bits receives its pixels when given.
UniqueBitmap CreateSurfaceBitmap(int width, int height, void** bits = nullptr);

} // namespace velt
