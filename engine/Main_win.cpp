// Velt's entry point: one instance, one main window, one message loop.
#include "engine/MainWindow_win.h"
#include "engine/RecoveryFile_win.h"
#include "platform/App_win.h"
#include "platform/Win32Desktop_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    velt::SingleInstance instance(L"Local\\Velt.VirtualDesktops");
    // The record of a running copy is that copy's own: only a copy that runs alone may act on it.
    if (instance.AlreadyRunning()) return 0;

    velt::Win32Desktop desktop;
    // Before anything else of the start-up: the windows a run that crashed or was killed left
    // hidden come back first.
    velt::RecoveryFile record = velt::RecoveryFile::ForThisProgram();
    record.RecoverLeftovers(desktop);

    velt::MainWindow main(desktop);
    main.Engine().SetRecoveryStore(&record);
    velt::ExitEngineOnCrash(&main.Engine());
    desktop.RecordAltDigitPresses(); // without it only presses that last a poll switch
    if (!main.Start()) return 1;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    velt::ExitEngineOnCrash(nullptr);
    return 0;
}
