// The button's faces, caption, layout, persisted properties and fade.
#include "controls/ctlVistorButton_win.h"

#include "platform/Units.h"
#include "platform/WindowlessHost_win.h"

namespace velt {

namespace {

constexpr wchar_t kClassName[] = L"VeltImageButton";
constexpr std::int32_t kFadeMilliseconds = 40;
constexpr int kFadeIn = 10; // per tick towards Over
constexpr int kFadeOut = 1; // per tick towards Up
constexpr int kFadeFull = 128;
constexpr double kCaptionDrop = 10; // twips below the centre
constexpr COLORREF kCaptionColour = RGB(0x1F, 0x2A, 0x3C);
constexpr wchar_t kDefaultCaption[] = L"TovikButton";

} // namespace

ctlVistorButton::ctlVistorButton() : ctlVistorButton(SystemTimers()) {}

ctlVistorButton::ctlVistorButton(TimerPlatform& timers) : MinSz(timers) {
    for (c32bppDIB* face : {&PicUp, &PicOver, &PicDown, &m_background}) face->ManageOwnDC(true);
    MinSz.Intervalle(kFadeMilliseconds);
    MinSz.Action = [this] { MinSz_Action(); };
}

ctlVistorButton::~ctlVistorButton() {
    *m_alive = false;
    Unload(); // while the members the unload touches are still here
}

bool ctlVistorButton::Create(HWND parent, int leftTwips, int topTwips, int widthTwips,
                             int heightTwips) {
    RegisterWindowClass({kClassName, CS_DBLCLKS, nullptr});
    m_captionFont.reset(CreateFontW(-MulDiv(9, 96, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Arial"));
    return Window::Create({kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                           TwipsToPixels(leftTwips), TwipsToPixels(topTwips),
                           TwipsToPixels(widthTwips), TwipsToPixels(heightTwips), parent});
}

bool ctlVistorButton::Create(HWND parent, const ControlDefinition& definition) {
    const PropertyBag& properties = definition.properties;
    if (!Create(parent, properties.ReadInteger(L"Left", 0), properties.ReadInteger(L"Top", 0),
                properties.ReadInteger(L"Width", 0), properties.ReadInteger(L"Height", 0)))
        return false;
    ReadProperties(properties);
    return true;
}

void ctlVistorButton::OnLoad() {
    m_pressed = 0;
    m_fadeLevel = 0;
    m_over = false;
    MeasureCaption();
    Windowless().Add(lblCaption, 0, 0, 0, 0);
    FitImage();
    ShowFace(PicUp);
    LayOut();
}

void ctlVistorButton::OnResize() {
    FitImage();
    LayOut();
}

void ctlVistorButton::FitImage() {
    // What was drawn stays where the old and new sizes overlap. A control without an Up face
    // has no size: its drawing is kept for the face that comes next.
    SIZE size = ClientSizePixels();
    if (size.cx <= 0 || size.cy <= 0) return;
    if (size.cx != m_image.Width() || size.cy != m_image.Height())
        m_image.Resize(size.cx, size.cy, GetSysColor(COLOR_BTNFACE));
}

void ctlVistorButton::InitProperties() { m_useAlphaBlend = false; }

void ctlVistorButton::ReadProperties(const PropertyBag& bag) {
    // Each picture that is absent or unreadable leaves its face empty; the next is still read.
    for (auto [key, face] : {std::pair{L"ImgUp", &PicUp}, std::pair{L"ImgDown", &PicDown},
                             std::pair{L"ImgOver", &PicOver}}) {
        Bytes picture = bag.ReadBytes(key);
        if (picture.empty() || !face->LoadPicture_Stream(picture)) face->DestroyDIB();
    }
    m_caption = bag.ReadText(L"Caption", kDefaultCaption);
    MeasureCaption();
    m_useAlphaBlend = bag.ReadBoolean(L"UseAlphaBlend", false);
    m_panel = bag.ReadBoolean(L"Panel", false);
    ShowFace(PicUp);
    LayOut();
}

void ctlVistorButton::WriteProperties(PropertyBag& bag) const {
    for (auto [key, face] : {std::pair{L"ImgUp", &PicUp}, std::pair{L"ImgDown", &PicDown},
                             std::pair{L"ImgOver", &PicOver}}) {
        Bytes picture; // a bitmap file: empty for an empty face
        if (face->BitsPointer()) face->SaveToStream(picture);
        bag.WriteBytes(key, picture);
    }
    bag.WriteText(L"Caption", m_caption, kDefaultCaption);
    bag.WriteBoolean(L"UseAlphaBlend", m_useAlphaBlend, false);
    bag.WriteBoolean(L"Panel", m_panel, false);
}

void ctlVistorButton::Changed(const wchar_t* key) {
    if (PropertyChanged) PropertyChanged(key);
}

void ctlVistorButton::DoFadeOut() { ShowFace(PicUp); }

void ctlVistorButton::DoSetCapture() {
    m_captured = true;
    SetCapture(hWnd());
}

void ctlVistorButton::DoReleaseCapture() {
    m_captured = false;
    ReleaseCapture();
}

void ctlVistorButton::UseAlphaBlend(bool Valeur) {
    m_useAlphaBlend = Valeur;
    Changed(L"UseAlphaBlend");
}

void ctlVistorButton::Caption(const std::wstring& strCaption) {
    m_caption = strCaption;
    Changed(L"Caption");
    MeasureCaption();
    m_captionLeft = (PixelsToTwips(ClientSizePixels().cx) - PixelsToTwips(m_captionWidth)) / 2.0;
    PlaceCaption();
}

void ctlVistorButton::Panel(bool Value) {
    m_panel = Value;
    Changed(L"Panel");
}

void ctlVistorButton::ImgUp(HBITMAP Valeur) {
    if (!Valeur) PicUp.DestroyDIB();
    else PicUp.LoadPicture_ByHandle(Valeur);
    Changed(L"ImgUp");
    LayOut();
}

void ctlVistorButton::ImgDown(HBITMAP Valeur) {
    if (!Valeur) PicDown.DestroyDIB();
    else PicDown.LoadPicture_ByHandle(Valeur);
    Changed(L"ImgDown");
    LayOut();
}

void ctlVistorButton::ImgOver(HBITMAP Valeur) {
    if (!Valeur) PicOver.DestroyDIB();
    else PicOver.LoadPicture_ByHandle(Valeur);
    Changed(L"ImgOver");
    LayOut();
}

void ctlVistorButton::refimg() { TakePicture(PicUp); }

void ctlVistorButton::RefImgOver() { TakePicture(PicOver); }

UniqueBitmap ctlVistorButton::FaceBitmap(const c32bppDIB& face) {
    HDC from = FaceDC(const_cast<c32bppDIB&>(face));
    if (!from) return {};
    UniqueBitmap copy = CreateSurfaceBitmap(face.Width(), face.Height());
    UniqueMemoryDC to(CreateCompatibleDC(nullptr));
    if (!copy || !to) return {};
    Selected selected(to.get(), copy.get());
    if (!BitBlt(to.get(), 0, 0, face.Width(), face.Height(), from, 0, 0, SRCCOPY)) return {};
    return copy;
}

void ctlVistorButton::TakePicture(c32bppDIB& face) {
    if (!hWnd()) return;
    SetWindowPos(hWnd(), nullptr, 0, 0, face.Width(), face.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HDC from = FaceDC(face);
    if (!from || !m_background.InitializeDIB(face.Width(), face.Height())) return;
    BitBlt(FaceDC(m_background), 0, 0, face.Width(), face.Height(), from, 0, 0, SRCCOPY);
    // A new background picture replaces what was drawn on the control.
    if (!m_image.Empty()) {
        RECT all{0, 0, m_image.Width(), m_image.Height()};
        FillRect(m_image.dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    ShowFace(m_background);
}

void ctlVistorButton::LayOut() {
    if (!hWnd()) return;
    SIZE size = ClientSizePixels();
    if (size.cx != PicUp.Width() || size.cy != PicUp.Height()) {
        // The WM_SIZE this sends lays out again, at the new size.
        SetWindowPos(hWnd(), nullptr, 0, 0, PicUp.Width(), PicUp.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    m_captionLeft = PixelsToTwips(size.cx) / 2.0 - PixelsToTwips(m_captionWidth) / 2.0;
    m_captionTop = PixelsToTwips(size.cy) / 2.0 - PixelsToTwips(m_captionHeight) / 2.0 +
                   kCaptionDrop;
    PlaceCaption();
    Refresh();
}

void ctlVistorButton::PlaceCaption() {
    lblCaption.Move(TwipsToPixels(m_captionLeft), TwipsToPixels(m_captionTop), m_captionWidth,
                    m_captionHeight);
    lblCaption.Visible(!m_caption.empty());
    lblCaption.Invalidate();
}

void ctlVistorButton::CaptionLabel::Paint(NativeDC dc) {
    Selected font(dc, m_owner.m_captionFont.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kCaptionColour);
    TextOutW(dc, 0, 0, m_owner.m_caption.c_str(), static_cast<int>(m_owner.m_caption.size()));
}

void ctlVistorButton::MeasureCaption() {
    WindowDC screen(nullptr);
    if (!screen) return;
    Selected font(screen.get(), m_captionFont.get());
    SIZE extent{};
    TEXTMETRICW metrics{};
    GetTextExtentPoint32W(screen.get(), m_caption.c_str(), static_cast<int>(m_caption.size()),
                          &extent);
    GetTextMetricsW(screen.get(), &metrics);
    m_captionWidth = m_caption.empty() ? 0 : extent.cx;
    m_captionHeight = metrics.tmHeight;
}

void ctlVistorButton::ShowFace(c32bppDIB& face) {
    HDC from = FaceDC(face);
    if (!from || m_image.Empty()) return; // nothing to copy, or nowhere to copy it
    BitBlt(m_image.dc(), 0, 0, face.Width(), face.Height(), from, 0, 0, SRCCOPY);
    Refresh();
}

void ctlVistorButton::Blend(c32bppDIB& face, int alpha) {
    HDC from = FaceDC(face);
    if (!from || m_image.Empty()) return;
    // Constant alpha only: the faces carry no per-pixel alpha.
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    AlphaBlend(m_image.dc(), 0, 0, face.Width(), face.Height(), from, 0, 0, face.Width(),
               face.Height(), blend);
}

void ctlVistorButton::MinSz_Action() {
    // Blends accumulate on what is shown, so fading in reaches Over within 13 ticks, and
    // fading out reaches Up long before the level is back at 0.
    if (m_over) {
        m_fadeLevel += kFadeIn;
        if (m_fadeLevel >= kFadeFull) {
            MinSz.Actif(false);
            m_fadeLevel = kFadeFull;
        }
        Blend(PicOver, m_fadeLevel);
    } else {
        m_fadeLevel -= kFadeOut;
        if (m_fadeLevel <= 0) {
            MinSz.Actif(false);
            m_fadeLevel = 0;
        }
        Blend(PicUp, kFadeFull - m_fadeLevel);
    }
    Refresh();
}

void ctlVistorButton::OnPaint(HDC dc) {
    // The caption follows, painted by its label over this.
    if (!m_image.Empty())
        BitBlt(dc, 0, 0, m_image.Width(), m_image.Height(), m_image.dc(), 0, 0, SRCCOPY);
}

LRESULT ctlVistorButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the next move over the control captures it again.
        if (reinterpret_cast<HWND>(lParam) != hWnd()) m_captured = false;
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: OnPointer(message, wParam, lParam); return 0;
    }
    return Window::OnMessage(message, wParam, lParam);
}

std::int32_t ctlVistorButton::Handle() const {
    // Window handles keep their significant bits in 32, so this is the handle itself.
    return hWnd() ? static_cast<std::int32_t>(HandleToLong(hWnd())) : 0;
}

bool ctlVistorButton::IsOver() const {
    POINT at{};
    if (!hWnd() || !GetCursorPos(&at)) return false;
    return WindowFromPoint(at) == hWnd();
}

} // namespace velt
