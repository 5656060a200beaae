// Closes a running Velt the way Windows would: WM_CLOSE to its main window, then waits for the
// process to end (at most ten seconds). Exit status 0 when Velt has ended or was not running.
#include "platform/Handles_win.h"

int wmain() {
    HWND main = FindWindowW(L"VeltForm1", nullptr);
    if (!main) return 0;
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    velt::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD waited = process ? WaitForSingleObject(process.get(), 10000) : WAIT_FAILED;
    return waited == WAIT_OBJECT_0 ? 0 : 1;
}
