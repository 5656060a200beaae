#include "platform/PictureBox_win.h"

#include "imaging/c32bppDIB.h"
#include "platform/Form_win.h"
#include "platform/Units.h"

namespace velt {

namespace {

constexpr wchar_t kClass[] = L"VeltPictureBox";

} // namespace

bool LoadSurfacePicture(Surface& surface, const Bytes& bytes, COLORREF background) {
    c32bppDIB image;
    if (bytes.empty() || !image.LoadPicture_Stream(bytes)) return false;
    Surface drawn;
    if (!drawn.Resize(image.Width(), image.Height(), background)) return false;
    image.Render(drawn.dc(), 0, 0, image.Width(), image.Height());
    return surface.Assign(drawn);
}

bool PictureBox::Create(HWND parent, const ControlDefinition& definition) {
    const PropertyBag& properties = definition.properties;
    m_backColor = static_cast<COLORREF>(properties.ReadInteger(
        L"BackColor", static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE))));
    LoadSurfacePicture(m_picture, properties.ReadBytes(L"Picture"), m_backColor);
    RegisterWindowClass({kClass, CS_DBLCLKS, nullptr});
    RECT at = PlacementPixels(properties);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (properties.ReadBoolean(L"Visible", true)) style |= WS_VISIBLE;
    return Window::Create(
        {kClass, L"", style, 0, at.left, at.top, at.right - at.left, at.bottom - at.top, parent});
}

void PictureBox::SetPicture(const Surface& picture) {
    m_picture.Assign(picture);
    Refresh();
}

RECT PictureBox::ParentRect() const {
    RECT r = WindowRectPixels();
    MapWindowPoints(nullptr, GetParent(hWnd()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int PictureBox::LeftTwips() const { return PixelsToTwips(ParentRect().left); }
int PictureBox::TopTwips() const { return PixelsToTwips(ParentRect().top); }
int PictureBox::WidthTwips() const { return PixelsToTwips(ClientSizePixels().cx); }
int PictureBox::HeightTwips() const { return PixelsToTwips(ClientSizePixels().cy); }

void PictureBox::MoveTwips(int left, int top, int width, int height) {
    Move(left, top, width, height);
}

void PictureBox::SetVisible(bool visible) {
    if (visible) Show();
    else Hide();
}

void PictureBox::OnPaint(HDC dc) {
    SIZE client = ClientSizePixels();
    RECT all{0, 0, client.cx, client.cy};
    SetBkColor(dc, m_backColor);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    if (!m_picture.Empty())
        BitBlt(dc, 0, 0, m_picture.Width(), m_picture.Height(), m_picture.dc(), 0, 0, SRCCOPY);
    for (const Shape* shape : m_shapes) shape->Draw(dc);
    if (PaintOver) PaintOver(dc);
}

LRESULT PictureBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC) {
        // Labels are transparent over the picture; each keeps its ForeColor in its user data.
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, static_cast<COLORREF>(
                             GetWindowLongPtrW(reinterpret_cast<HWND>(lParam), GWLP_USERDATA)));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    return Window::OnMessage(message, wParam, lParam);
}

} // namespace velt
