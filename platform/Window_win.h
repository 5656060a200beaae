#pragma once
// Our window toolkit: a native window bound to a C++ object, with the events the program's
// windows need (load, resize, unload, timers, paint) and measures in twips.
#include "platform/Win32_win.h"

#include <memory>
#include <string>

namespace velt {

class WindowlessHost;

struct WindowClassSpec {
    const wchar_t* name = nullptr;
    UINT style = CS_DBLCLKS;
    HBRUSH background = nullptr; // null: the window paints all of itself
    HICON icon = nullptr;
};

// Registers a class whose windows are Window objects; later calls with the same name do nothing.
bool RegisterWindowClass(const WindowClassSpec& spec);

struct WindowSpec {
    const wchar_t* className = nullptr;
    std::wstring caption;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT; // pixels, outer size
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;
    UINT_PTR childId = 0;
};

class Window {
public:
    Window();
    // Destroys a native window still alive. By then the derived part is gone, so a window whose
    // OnUnload matters is unloaded by its owner (or its own destructor) first.
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the native window; OnLoad runs inside. False when the platform refused.
    bool Create(const WindowSpec& spec);
    HWND hWnd() const { return m_hwnd; }

    void Show();
    void Hide();
    bool Visible() const;
    // Shows the window and runs a nested message loop until it is hidden or destroyed; the
    // owner is disabled meanwhile. Timer ticks and other windows' events keep running.
    void ShowModal(HWND owner);
    void Unload(); // destroys the native window; OnUnload runs inside

    void SetCaption(const std::wstring& caption);
    std::wstring Caption() const;

    // Outer position and size in twips (15 to a pixel).
    void Move(int leftTwips, int topTwips, int widthTwips, int heightTwips);
    // Resizes so that the client area has this size in twips.
    void SetClientSizeTwips(int widthTwips, int heightTwips);
    RECT WindowRectPixels() const; // screen coordinates
    SIZE ClientSizePixels() const;
    void CentreOnScreen();
    void ZOrder(); // to the front of the z-order

    void StartTimer(UINT_PTR id, UINT milliseconds);
    void StopTimer(UINT_PTR id);
    void Refresh(); // repaint now

    // The windowless controls placed on this window (platform/WindowlessHost_win.h): painted after
    // OnPaint, and given the pointer before OnMessage sees it.
    WindowlessHost& Windowless();

protected:
    virtual void OnLoad() {}
    virtual void OnResize() {}
    virtual void OnUnload() {}
    virtual void OnTimer(UINT_PTR) {}
    // A window that draws all of itself says so: its background is then never erased, and
    // OnPaint gets the paint DC (or the DC a WM_PRINTCLIENT brings).
    virtual bool DrawsItself() const { return false; }
    virtual void OnPaint(HDC) {}
    // What a window that draws itself draws over its windowless controls (shapes, lines).
    virtual void OnPaintOver(HDC) {}
    // Every message arrives here first; call Window::OnMessage for what is not handled.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend bool RegisterWindowClass(const WindowClassSpec& spec);
    bool HasWindowless() const;
    void PaintLayers(HDC dc, const RECT& area); // the window's own picture, then its controls
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
    std::unique_ptr<WindowlessHost> m_windowless;
};

// Lets pending messages run (repaints, timer ticks, input) and returns when the queue is empty.
void DoEvents();

} // namespace velt
