// Hover tracking and fading on the running system: the pointer, window properties, and window
// timers whose one shared callback finds its control through AlphaImageTimers.
#include "imaging/HoverPlatform.h"

#include "platform/Win32_win.h"

namespace velt {

namespace {

VOID CALLBACK SharedTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    try {
        AlphaImageTimers::Tick(id);
    } catch (...) {
        // nothing may unwind through user32: this tick is lost, the next one comes
    }
}

HWND AsWindow(HoverPlatform::Window window) { return reinterpret_cast<HWND>(window); }

class Win32Hover final : public HoverPlatform {
public:
    Point CursorPos() override {
        POINT at{};
        GetCursorPos(&at);
        return {at.x, at.y};
    }
    Window WindowFromPoint(Point screen) override {
        return reinterpret_cast<Window>(::WindowFromPoint(POINT{screen.x, screen.y}));
    }
    Point ClientOrigin(Window window) override {
        POINT origin{};
        ClientToScreen(AsWindow(window), &origin);
        return {origin.x, origin.y};
    }
    Window TopLevel(Window window) override {
        return reinterpret_cast<Window>(GetAncestor(AsWindow(window), GA_ROOT));
    }
    Window Owner(Window window) override {
        return reinterpret_cast<Window>(GetWindow(AsWindow(window), GW_OWNER));
    }
    std::uintptr_t ReadProp(Window window, const std::wstring& name) override {
        return reinterpret_cast<std::uintptr_t>(GetPropW(AsWindow(window), name.c_str()));
    }
    void WriteProp(Window window, const std::wstring& name, std::uintptr_t value) override {
        SetPropW(AsWindow(window), name.c_str(), reinterpret_cast<HANDLE>(value));
    }
    void DeleteProp(Window window, const std::wstring& name) override {
        RemovePropW(AsWindow(window), name.c_str());
    }
    void SetTimer(Window window, std::uintptr_t id, std::uint32_t milliseconds) override {
        ::SetTimer(AsWindow(window), id, milliseconds, SharedTimerProc);
    }
    void KillTimer(Window window, std::uintptr_t id) override { ::KillTimer(AsWindow(window), id); }
};

} // namespace

HoverPlatform& SystemHoverPlatform() {
    // Never destroyed: a control living in a static may outlast any other static.
    static auto* platform = new Win32Hover();
    return *platform;
}

} // namespace velt
