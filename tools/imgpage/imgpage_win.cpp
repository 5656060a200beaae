// imgpage: the Image Source page as a tool for window definitions. imgpage [FILE.form]
#include "tools/imgpage/ImageSourceTool_win.h"

#include <objbase.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The open-file dialog and the clipboard's pictures need COM on this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 1;
    {
        velt::ImageSourceTool tool;
        if (tool.Load()) {
            int count = 0;
            LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
            if (arguments) {
                if (count > 1) tool.OpenDefinition(arguments[1]);
                LocalFree(arguments);
            }
            tool.Show();
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                if (IsDialogMessageW(tool.hWnd(), &message)) continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            status = 0;
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return status;
}
