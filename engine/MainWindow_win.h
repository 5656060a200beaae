#pragma once
// The main window: the engine's home, the overview panel and the tray icon's receiver. It owns
// what lives as long as the program: the settings, the tray menu and icon, and the prompt.
#include "dialogs/FrmAbout_win.h"
#include "dialogs/FrmPass_win.h"
#include "dialogs/TrayMenu_win.h"
#include "engine/Form1.h"
#include "engine/Thumbnail_win.h"
#include "engine/TrayIcon_win.h"
#include "imaging/aicAlphaImage.h"
#include "platform/Desktop.h"
#include "platform/Handles_win.h"
#include "platform/Shape_win.h"
#include "platform/Surface_win.h"
#include "platform/Window_win.h"
#include "settings/FrmConfig_win.h"
#include "settings/LoadSettings_win.h"

#include <array>
#include <functional>
#include <string>

namespace velt {

// The hidden child that receives the tray icon's notifications.
class TrayReceiver final : public Window {
public:
    bool Create(HWND parent, std::function<void()> onNotification);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void()> m_onNotification;
};

class MainWindow final : public Window, public Form1View {
public:
    explicit MainWindow(Desktop& desktop);
    ~MainWindow() override;

    // The window and its children, hidden, with nothing running yet.
    bool Create();
    // Start-up: the window, settings, the menu's desktop entries, the icon, the timers. Starting
    // again leaves one set of entries and one icon.
    bool Start();
    Form1& Engine() { return m_form; }
    const TrayMenu& Menu() const { return m_menu; }
    const TrayIcon& Icon() const { return m_trayIcon; }
    const std::wstring& GlassPath() const { return m_glassPath; }
    // The glass: the skin stretched over the whole panel, over what lay behind it.
    aicAlphaImage Glass;

    // Form1View
    WindowId Handle() override { return reinterpret_cast<WindowId>(hWnd()); }
    bool Visible() override { return Window::Visible(); }
    // The overview is looked at, not typed into: it never takes the focus from the user's window.
    void Show() override { ShowWindow(hWnd(), SW_SHOWNA); }
    void Hide() override { Window::Hide(); }
    void ZOrder() override { Window::ZOrder(); }
    void MakeTopmost() override;
    void DoEvents() override;
    void Iconize(int index, const std::vector<WindowId>& list) override;
    void BlurBkg() override;
    void PlacePointer(int index) override;
    void HoverHighlight() override;
    void CheckDesktopEntry(int index, bool checked) override;
    void RemoveTrayIcon() override;
    bool PromptVisible() override;
    std::wstring InputDialog(const std::wstring& caption, const std::wstring& prompt) override;

protected:
    void OnLoad() override;
    void OnResize() override;
    void OnUnload() override;
    void OnTimer(UINT_PTR id) override;
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override;
    void OnPaintOver(HDC dc) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnTrayNotification();
    void RunCommand(UINT command);

    Desktop& m_desktop;
    Settings m_settings; // read by the engine on every tick
    Form1 m_form;
    // A hidden, untitled owner: an owned window gets no taskbar button, whichever shell runs.
    Window m_owner;
    std::array<Thumbnail, 9> DexIcon;
    TrayReceiver pic;
    TrayMenu m_menu;
    TrayIcon m_trayIcon;
    FrmPass m_prompt;
    SettingsTargets m_settingsTargets;
    FrmAbout m_about;         // created when opened, destroyed when closed
    FrmConfig m_config;       // the same; it keeps the skin picked last
    Shape Pointer;            // the frame around the current desktop's thumbnail
    Surface m_background;     // what lay behind the panel when it was last shown
    std::wstring m_glassPath; // the skin the glass will show
    bool m_menuOpen = false;
    UINT m_taskbarCreated = 0;
};

} // namespace velt
