// Opens the configuration and About windows as Velt shows them and leaves pictures of them in
// the folder given as the argument: both pages of the first, the second before and after its zoom.
// Run by tools/screenshots.sh in a Wine desktop, from a folder that holds a copy of Velt's skin
// folder and a Config.ini.
#include "dialogs/FrmAbout_win.h"
#include "settings/FrmConfig_win.h"
#include "tests/support/Gui_win.h"
#include "tests/support/Process_win.h"

#include <string>

namespace {

using namespace velt;

// Lets the window paint, then has ImageMagick take its rectangle from the screen.
bool Shoot(HWND window, const std::wstring& folder, const wchar_t* name) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    testing::PumpUntil(std::chrono::milliseconds(500), [] { return false; });
    RECT r{};
    GetWindowRect(window, &r);
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    std::wstring crop = std::to_wstring(r.right - r.left) + L"x" +
                        std::to_wstring(r.bottom - r.top) + L"+" + std::to_wstring(r.left) + L"+" +
                        std::to_wstring(r.top);
    return testing::RunUnix(L"import -window root -crop " + crop + L" +repage '" + folder + L"/" +
                            name + L".png'");
}

// The Run keys left alone: the pictures need no registry value.
struct NoRunKeys final : RunKeys {
    bool Write(Scope, const std::wstring&) override { return true; }
    std::wstring Read(Scope) override { return {}; }
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring folder = argv[1]; // a path of the machine Wine runs on
    int failures = 0;

    NoRunKeys run;
    FrmConfig config({[] {}, [](const std::wstring&) {}, [] {}, &run});
    if (!config.Open()) return 1;
    failures += !Shoot(config.hWnd(), folder, L"config-appearance");
    config.Btn_Click(1);
    failures += !Shoot(config.hWnd(), folder, L"config-keys");
    config.Unload();

    FrmAbout about;
    about.OpenLink = [](const std::wstring&) {};
    if (!about.Open()) return 1;
    failures += !Shoot(about.hWnd(), folder, L"about");
    about.Image1_Click();
    testing::PumpUntil([&] { return !about.Zoom().Running(); });
    failures += !Shoot(about.hWnd(), folder, L"about-zoomed");
    about.Unload();
    return failures == 0 ? 0 : 1;
}
