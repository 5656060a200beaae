#include "dialogs/FrmAbout_win.h"

#include "platform/App_win.h"
#include "platform/Resources_win.h"
#include "platform/Shell_win.h"
#include "platform/Units.h"

#include <algorithm>

namespace velt {

namespace {

constexpr UINT_PTR kTmr = 1;
constexpr wchar_t kZoomedCaption[] = L"About Brenlow";

void MoveChild(HWND window, const TwipsBox& box) {
    MoveWindow(window, TwipsToPixels(box.left), TwipsToPixels(box.top), TwipsToPixels(box.width),
               TwipsToPixels(box.height), TRUE);
}

} // namespace

FrmAbout::FrmAbout() : OpenLink([](const std::wstring& target) { OpenWithExplorer(target); }) {}

FrmAbout::~FrmAbout() { Unload(); }

bool FrmAbout::Open() {
    return OpenOrFront([this] { return Load(); });
}

bool FrmAbout::Load() {
    std::optional<ControlDefinition> definition = LoadWindowDefinition(L"FrmAbout");
    if (!definition) return false;
    LoadSurfacePicture(m_face, definition->properties.ReadBytes(L"Picture"), BackColor());
    if (!CreateFromDefinition(*definition, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU)) return false;
    auto place = [&](auto& control, const wchar_t* name, HWND parent) {
        if (const ControlDefinition* placed = definition->Find(name))
            control.Create(parent, *placed);
    };
    place(Btn2, L"Btn2", hWnd());
    place(dyna, L"dyna", hWnd());
    place(Image1, L"Image1", hWnd());
    place(Image4, L"Image4", hWnd());
    place(Image3, L"Image3", dyna.hWnd());
    place(Image2, L"Image2", dyna.hWnd());
    // Front to back: the OK button, the growing panel, the click areas of the face; so OK
    // stays within reach during the zoom and the grown panel covers the face's areas.
    SetWindowPos(dyna.hWnd(), Btn2.hWnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(Image1.hWnd(), dyna.hWnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(Image4.hWnd(), Image1.hWnd(), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (const ControlDefinition* timer = definition->Find(L"tmr"))
        m_tickMilliseconds = static_cast<UINT>(
            timer->properties.ReadInteger(L"Interval", AboutZoom::kTickMilliseconds));
    Image1.Click = [this] { Image1_Click(); };
    Image2.Click = [this] { Link(Image2); };
    Image3.Click = [this] { Link(Image3); };
    Image4.Click = [this] { Link(Image4); };
    Btn2.Click = [this] { Btn2_Click(); };
    return true;
}

void FrmAbout::Image1_Click() {
    RECT area = Image1.WindowRectPixels();
    MapWindowPoints(nullptr, hWnd(), reinterpret_cast<POINT*>(&area), 2);
    MoveWindow(dyna.hWnd(), area.left, area.top, TwipsToPixels(1), TwipsToPixels(1), TRUE);
    dyna.Show();
    DoEvents();
    if (!hWnd()) return; // closed meanwhile
    RECT outer = WindowRectPixels();
    m_zoom.Start(PixelsToTwips(outer.left), PixelsToTwips(outer.top));
    SetCaption(kZoomedCaption);
    StartTimer(kTmr, m_tickMilliseconds);
}

void FrmAbout::tmr_Timer() {
    std::optional<AboutZoom::Frame> frame = m_zoom.Tick();
    if (!m_zoom.Running()) StopTimer(kTmr);
    if (!frame) return;
    MoveChild(dyna.hWnd(), frame->dyna);
    MoveChild(hWnd(), frame->window);
    if (ZoomTicked) ZoomTicked(m_zoom.Counter());
}

void FrmAbout::OnTimer(UINT_PTR id) {
    if (id == kTmr) tmr_Timer();
}

void FrmAbout::Link(const ClickArea& area) {
    if (OpenLink) OpenLink(ResolveLinkTarget(area.Tag, AppPath()));
}

void FrmAbout::Btn2_Click() { Unload(); }

void FrmAbout::OnPaint(HDC dc) {
    RECT client{};
    GetClientRect(hWnd(), &client);
    SetBkColor(dc, BackColor());
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    if (!m_face.Empty())
        BitBlt(dc, 0, 0, m_face.Width(), m_face.Height(), m_face.dc(), 0, 0, SRCCOPY);
}

void FrmAbout::OnUnload() {
    StopTimer(kTmr);
    m_zoom = AboutZoom();
}

LRESULT FrmAbout::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1; // the face covers it all
    case WM_GETMINMAXINFO: {
        // The grown window may be larger than the screen; the system would cut it to that.
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMaxTrackSize.x = std::max<LONG>(limits->ptMaxTrackSize.x, 4096);
        limits->ptMaxTrackSize.y = std::max<LONG>(limits->ptMaxTrackSize.y, 4096);
        return 0;
    }
    case WM_CLOSE: // the close box: the window goes, as OK does
        Unload();
        return 0;
    }
    return Form::OnMessage(message, wParam, lParam);
}

} // namespace velt
