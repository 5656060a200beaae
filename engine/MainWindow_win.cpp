#include "engine/MainWindow_win.h"

#include "engine/OverviewLayout.h"
#include "engine/ThumbnailCommands.h"
#include "platform/App_win.h"
#include "platform/Shell_win.h"
#include "platform/Units.h"
#include "platform/WindowHelpers_win.h"
#include "platform/WindowlessHost_win.h"

namespace velt {

namespace {

constexpr UINT_PTR kTimer1 = 1; // the poll
constexpr UINT_PTR kTimer2 = 2; // the thumbnail refresh
constexpr UINT kPollMilliseconds = 100;
constexpr UINT kRefreshMilliseconds = 6000;
constexpr int kOverviewAlpha = 200;
constexpr COLORREF kPointerColour = RGB(13, 23, 94);
constexpr COLORREF kPanelColour = RGB(236, 238, 244);
constexpr wchar_t kTrayTip[] = L"Velt : Click for Options";

RECT ToPixels(const TwipsRect& r) {
    int left = TwipsToPixels(r.left);
    int top = TwipsToPixels(r.top);
    return RECT{left, top, left + TwipsToPixels(r.width), top + TwipsToPixels(r.height)};
}

} // namespace

bool TrayReceiver::Create(HWND parent, std::function<void()> onNotification) {
    m_onNotification = std::move(onNotification);
    RegisterWindowClass({L"VeltTrayReceiver", 0, nullptr});
    return Window::Create({L"VeltTrayReceiver", L"", WS_CHILD, 0, 0, 1, 1, 0, parent, 1});
}

LRESULT TrayReceiver::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The tray's callback message is the mouse-move message; its wParam is the icon id 1, which
    // reads as the left-button flag, so every notification from the icon passes this test.
    if (message == kTrayCallbackMessage && (wParam & MK_LBUTTON)) {
        if (m_onNotification) m_onNotification();
        return 0;
    }
    return Window::OnMessage(message, wParam, lParam);
}

MainWindow::MainWindow(Desktop& desktop)
    : m_desktop(desktop),
      m_form(desktop, *this, m_settings), m_settingsTargets{[this](const std::wstring& caption) {
                                                                m_menu.SetSwitchCaption(caption);
                                                            },
                                                            [this](const std::wstring& path) {
                                                                m_glassPath = path;
                                                                Glass.LoadImage_FromFile(path);
                                                            }},
      m_config({[this] { LoadSettings(m_settings, m_settingsTargets); },
                [this](const std::wstring& path) { m_settingsTargets.skin(path); },
                [this] { m_about.Open(); }}) {}

MainWindow::~MainWindow() { Unload(); }

bool MainWindow::Create() {
    RegisterWindowClass({L"VeltOwner", 0, nullptr});
    RegisterWindowClass({L"VeltForm1", CS_DBLCLKS, nullptr});
    if (!m_owner.Create({L"VeltOwner", L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0})) return false;
    int width = TwipsToPixels(kOverviewClientWidth);
    int height = TwipsToPixels(kOverviewClientHeight);
    return Window::Create({L"VeltForm1", L"Velt", WS_POPUP | WS_CLIPCHILDREN,
                           WS_EX_TOPMOST | WS_EX_TOOLWINDOW, 0, 0, width, height, m_owner.hWnd()});
}

bool MainWindow::Start() {
    if (!Create()) return false;

    LoadSettings(m_settings, m_settingsTargets);
    m_form.CurrentSlot = kStartSlot;
    velt::MakeTopmost(hWnd());
    SetWindowAlpha(hWnd(), kOverviewAlpha);
    for (int n = m_menu.DesktopEntryCount() + 1; n <= kSlotCount; ++n) {
        std::wstring number = std::to_wstring(n);
        m_menu.AddDesktopEntry(L"Desktop " + number + L" -- (Alt + " + number + L")");
    }
    m_menu.SetDesktopChecked(kStartSlot, true);
    m_trayIcon.AddTrayIcon(AssociatedIcon(ExePath()), pic.hWnd(), kTrayTip);

    // Shown once, as a start-up window is; the first poll hides it unless the hotkey is held.
    Show();
    StartTimer(kTimer1, kPollMilliseconds);
    StartTimer(kTimer2, kRefreshMilliseconds);
    return true;
}

void MainWindow::OnLoad() {
    m_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    // The glass lies beneath the frame; the thumbnails, windows of their own, lie above both.
    Glass.AutoSize(false);
    Glass.ScaleMethod(1);
    SIZE client = ClientSizePixels();
    Windowless().Add(Glass, 0, 0, client.cx, client.cy);
    Pointer.BorderColor(kPointerColour);
    for (int i = 0; i < 9; ++i) {
        Thumbnail& thumb = DexIcon[static_cast<size_t>(i)];
        thumb.Create(hWnd(), i);
        thumb.MouseDown = [this, i](int button) { DexIcon_MouseDown(m_form, *this, i, button); };
    }
    pic.Create(hWnd(), [this] { OnTrayNotification(); });
}

void MainWindow::OnResize() {
    SIZE client = ClientSizePixels();
    if (client.cx > 0 && client.cy > 0 &&
        (client.cx != m_background.Width() || client.cy != m_background.Height()))
        m_background.Resize(client.cx, client.cy, kPanelColour);
    Glass.Move(0, 0, client.cx, client.cy);
    RECT outer = WindowRectPixels();
    OverviewLayout layout = LayOutOverview(
        PixelsToTwips(client.cx), PixelsToTwips(client.cy), PixelsToTwips(outer.right - outer.left),
        PixelsToTwips(outer.bottom - outer.top), PixelsToTwips(GetSystemMetrics(SM_CXSCREEN)),
        PixelsToTwips(GetSystemMetrics(SM_CYSCREEN)));
    SetWindowPos(hWnd(), nullptr, TwipsToPixels(layout.windowLeft), TwipsToPixels(layout.windowTop),
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (size_t i = 0; i < DexIcon.size(); ++i) {
        RECT r = ToPixels(layout.thumbnails[i]);
        MoveWindow(DexIcon[i].hWnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
    PlacePointer(m_form.CurrentSlot);
}

void MainWindow::OnUnload() {
    StopTimer(kTimer1);
    StopTimer(kTimer2);
    m_form.Form_Terminate();
    PostQuitMessage(0);
}

void MainWindow::OnTimer(UINT_PTR id) {
    if (id == kTimer1) m_form.Timer1_Timer();
    if (id == kTimer2) m_form.Timer2_Timer();
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) return TRUE; // never holds up the end of a session
    if (message == WM_ENDSESSION) {
        // Windows is ending the session: give the hidden windows back first.
        if (wParam) m_form.Form_Terminate();
        return 0;
    }
    if (m_taskbarCreated && message == m_taskbarCreated) {
        m_trayIcon.RestoreTrayIcon(); // the shell restarted and forgot the icon
        return 0;
    }
    return Window::OnMessage(message, wParam, lParam);
}

void MainWindow::OnPaint(HDC dc) {
    // The glass follows, painted by its control, and the frame over it.
    if (!m_background.Empty())
        BitBlt(dc, 0, 0, m_background.Width(), m_background.Height(), m_background.dc(), 0, 0,
               SRCCOPY);
}

void MainWindow::OnPaintOver(HDC dc) { Pointer.Draw(dc); }

void MainWindow::MakeTopmost() { velt::MakeTopmost(hWnd()); }

void MainWindow::DoEvents() { velt::DoEvents(); }

void MainWindow::Iconize(int index, const std::vector<WindowId>& list) {
    if (index < 0 || index >= static_cast<int>(DexIcon.size())) return;
    HWND screenWindow = GetDesktopWindow();
    WindowDC screen(screenWindow, true);
    if (!screen) return;
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    SIZE size = DexIcon[0].PictureSize(); // every thumbnail has the same size
    DexIcon[static_cast<size_t>(index)].Draw([&](HDC dc, SIZE) {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        // The last 15 columns and rows stay out of the picture.
        StretchBlt(dc, 0, 0, size.cx, size.cy, screen.get(), 0, 0, screenWidth - 15,
                   screenHeight - 15, SRCCOPY);
        int drawn = 0;
        for (WindowId window : list) {
            HWND hwnd = reinterpret_cast<HWND>(window);
            if (IsIconic(hwnd)) DrawWindowIcon(dc, hwnd, 5 + 20 * drawn++, 5);
        }
    });
}

void MainWindow::BlurBkg() {
    RECT outer = WindowRectPixels();
    WindowDC screen(GetDesktopWindow(), true);
    if (!screen || m_background.Empty()) return;
    // Width and height are the window's right and bottom edges: more than enough; the surplus
    // falls outside the picture.
    BitBlt(m_background.dc(), 0, 0, outer.right, outer.bottom, screen.get(), outer.left, outer.top,
           SRCCOPY);
    InvalidateRect(hWnd(), nullptr, FALSE);
}

void MainWindow::PlacePointer(int index) {
    if (index < 0 || index >= static_cast<int>(DexIcon.size())) return;
    RECT thumb = DexIcon[static_cast<size_t>(index)].WindowRectPixels();
    MapWindowPoints(nullptr, hWnd(), reinterpret_cast<POINT*>(&thumb), 2);
    Pointer.Move(PixelsToTwips(thumb.left) - kPointerMargin,
                 PixelsToTwips(thumb.top) - kPointerMargin,
                 PixelsToTwips(thumb.right - thumb.left) + 2 * kPointerMargin,
                 PixelsToTwips(thumb.bottom - thumb.top) + 2 * kPointerMargin);
    InvalidateRect(hWnd(), nullptr, FALSE);
}

void MainWindow::HoverHighlight() {
    HWND under = WindowUnderCursor();
    for (Thumbnail& thumb : DexIcon) thumb.SetBorder(thumb.hWnd() == under);
}

void MainWindow::CheckDesktopEntry(int index, bool checked) {
    m_menu.SetDesktopChecked(index, checked);
}

void MainWindow::RemoveTrayIcon() { m_trayIcon.RemoveTrayIcon(); }

bool MainWindow::PromptVisible() { return m_prompt.PromptVisible(); }

std::wstring MainWindow::InputDialog(const std::wstring& caption, const std::wstring& prompt) {
    // Owned by the overview, which stays disabled while it waits: no click on a thumbnail then.
    return m_prompt.InputDialog(caption, prompt, hWnd());
}

void MainWindow::OnTrayNotification() {
    // A modal prompt owns the user's attention, and a menu already open has it too.
    if (m_menuOpen || m_prompt.PromptVisible()) return;
    m_menuOpen = true;
    UINT command = m_menu.Popup(hWnd());
    m_menuOpen = false;
    RunCommand(command);
}

void MainWindow::RunCommand(UINT command) {
    if (command == TrayMenu::kExit) {
        Unload();
        EndProcess(0);
    }
    if (command == TrayMenu::kAbout) m_about.Open();
    if (command == TrayMenu::kConfigure) m_config.Open(); // an open one comes to the front
    if (command >= TrayMenu::kDesktopBase && command < TrayMenu::kDesktopBase + kSlotCount)
        m_form.GoZorvan(static_cast<int>(command - TrayMenu::kDesktopBase));
}

} // namespace velt
