// What showing the overview costs, against the bare GDI calls it needs: one halftone StretchBlt
// of the screen to 82 x 64, one BitBlt of the screen behind the panel, one AlphaBlend of the skin
// at the panel's size. And what 100 image objects cost, against one start-up and shut-down of
// GDI+ (which every image object once paid). Prints medians and ratios.
//   overview-bench.exe SKIN.png
#include "engine/MainWindow_win.h"
#include "imaging/c32bppDIB.h"
#include "platform/Handles_win.h"
#include "platform/Surface_win.h"
#include "platform/Win32Desktop_win.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Time(const std::function<void()>& work) {
    auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// GDI+ loaded, bound, started, shut down and unloaded, as every image object once did.
void GdiplusStartAndStop() {
    struct Input {
        UINT32 version = 1;
        void* callback = nullptr;
        BOOL noThread = FALSE;
        BOOL noCodecs = FALSE;
    };
    using Startup = int(WINAPI*)(ULONG_PTR*, const Input*, void*);
    using Shutdown = void(WINAPI*)(ULONG_PTR);
    velt::UniqueModule gdiplus(LoadLibraryW(L"gdiplus.dll"));
    if (!gdiplus) return;
    auto startup = reinterpret_cast<Startup>(
        reinterpret_cast<void*>(GetProcAddress(gdiplus.get(), "GdiplusStartup")));
    auto shutdown = reinterpret_cast<Shutdown>(
        reinterpret_cast<void*>(GetProcAddress(gdiplus.get(), "GdiplusShutdown")));
    if (!startup || !shutdown) return;
    ULONG_PTR token = 0;
    Input input;
    if (startup(&token, &input, nullptr) == 0) shutdown(token);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: overview-bench SKIN.png\n");
        return 2;
    }
    constexpr int kRounds = 30;

    // First, while nothing in the process holds GDI+: each round loads it afresh.
    std::vector<double> gdiplus;
    for (int round = 0; round < 10; ++round) gdiplus.push_back(Time(GdiplusStartAndStop));

    velt::Win32Desktop desktop;
    velt::MainWindow main(desktop);
    if (!main.Create()) return 1;
    if (!main.Glass.LoadImage_FromFile(argv[1])) return 1;
    SendMessageW(main.hWnd(), WM_SIZE, 0, 0); // the layout, as showing runs it
    SIZE panel = main.ClientSizePixels();
    const int thumbWidth = 82, thumbHeight = 64;

    // The bare calls' own targets and source.
    velt::c32bppDIB skin;
    if (!skin.LoadPicture_File(argv[1])) return 1;
    HDC skinDC = skin.LoadDIBinDC(true);
    velt::UniqueBitmap thumbBits = velt::CreateSurfaceBitmap(thumbWidth, thumbHeight);
    velt::UniqueBitmap panelBits = velt::CreateSurfaceBitmap(panel.cx, panel.cy);
    velt::UniqueMemoryDC thumbDC(CreateCompatibleDC(nullptr)), panelDC(CreateCompatibleDC(nullptr));
    velt::Selected t(thumbDC.get(), thumbBits.get()), p(panelDC.get(), panelBits.get());
    // Where Velt's painting of the panel lands.
    velt::UniqueBitmap frameBits = velt::CreateSurfaceBitmap(panel.cx, panel.cy);
    velt::UniqueMemoryDC frameDC(CreateCompatibleDC(nullptr));
    velt::Selected f(frameDC.get(), frameBits.get());
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT at = main.WindowRectPixels();

    std::vector<double> bare, shown;
    for (int round = 0; round < kRounds; ++round) {
        bare.push_back(Time([&] {
            velt::WindowDC screen(GetDesktopWindow(), true);
            SetStretchBltMode(thumbDC.get(), HALFTONE);
            SetBrushOrgEx(thumbDC.get(), 0, 0, nullptr);
            StretchBlt(thumbDC.get(), 0, 0, thumbWidth, thumbHeight, screen.get(), 0, 0,
                       screenWidth - 15, screenHeight - 15, SRCCOPY);
            BitBlt(panelDC.get(), 0, 0, panel.cx, panel.cy, screen.get(), at.left, at.top, SRCCOPY);
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            AlphaBlend(panelDC.get(), 0, 0, panel.cx, panel.cy, skinDC, 0, 0, skin.Width(),
                       skin.Height(), blend);
            GdiFlush();
        }));
        shown.push_back(Time([&] {
            main.Iconize(4, {});
            main.BlurBkg();
            SendMessageW(main.hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(frameDC.get()),
                         PRF_CLIENT);
            GdiFlush();
        }));
    }

    std::vector<double> objects;
    for (int round = 0; round < 10; ++round) {
        objects.push_back(Time([] {
            std::vector<std::unique_ptr<velt::c32bppDIB>> made;
            for (int i = 0; i < 100; ++i) made.push_back(std::make_unique<velt::c32bppDIB>());
        }));
    }

    double bareMs = Median(bare), veltMs = Median(shown);
    std::printf("panel %ldx%ld, skin %dx%d, screen %dx%d\n", panel.cx, panel.cy, skin.Width(),
                skin.Height(), screenWidth, screenHeight);
    std::printf("show overview: %.2f ms vs bare GDI calls %.2f ms  ratio %.2f (target <= 1.50)\n",
                veltMs, bareMs, veltMs / bareMs);
    double objectsMs = Median(objects), gdiplusMs = Median(gdiplus);
    std::printf("100 image objects: %.2f ms vs one GDI+ start-up and shut-down %.2f ms  ratio %.2f "
                "(target < 1.00)\n",
                objectsMs, gdiplusMs, objectsMs / gdiplusMs);
    return 0;
}
