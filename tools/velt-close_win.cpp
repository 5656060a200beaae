// Closes a running Velt the way Windows would: WM_CLOSE to its main window, then waits for the
// process to end (at most ten seconds). Exit status 0 when Velt has ended or was not running.
//   velt-close.exe --wait-shown   only waits (at most ten seconds) until Velt's main window, the
//                                 overview, is on screen; exit status 0 once it is
#include "platform/Handles_win.h"

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wstring(argv[1]) == L"--wait-shown") {
        for (int i = 0; i < 200; ++i) {
            HWND main = FindWindowW(L"VeltForm1", nullptr);
            if (main && IsWindowVisible(main)) return 0;
            Sleep(50);
        }
        return 1;
    }
    HWND main = FindWindowW(L"VeltForm1", nullptr);
    if (!main) return 0;
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    velt::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD waited = process ? WaitForSingleObject(process.get(), 10000) : WAIT_FAILED;
    return waited == WAIT_OBJECT_0 ? 0 : 1;
}
