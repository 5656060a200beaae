// Velt's entry point: one instance, one main window, one message loop.
#include "engine/MainWindow_win.h"
#include "platform/App_win.h"
#include "platform/Win32Desktop_win.h"

namespace {

velt::Form1* g_engine = nullptr;

// A crash must not strand the user's windows on hidden desktops.
LONG WINAPI ShowWindowsOnCrash(EXCEPTION_POINTERS*) {
    if (g_engine) g_engine->Form_Terminate();
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    velt::SingleInstance instance(L"Local\\Velt.VirtualDesktops");
    if (instance.AlreadyRunning()) return 0;

    velt::Win32Desktop desktop;
    velt::MainWindow main(desktop);
    g_engine = &main.Engine();
    SetUnhandledExceptionFilter(ShowWindowsOnCrash);
    if (!main.Start()) return 1;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    g_engine = nullptr;
    return 0;
}
