// What the poll and a switch cost, against the bare platform calls they cannot avoid, with 100
// visible top-level windows of another process. Prints medians and ratios. tools/poll-bench/run.sh
// runs it under Wine and adds the idle CPU figures, which it measures from outside.
//   poll-bench.exe HELPER.exe       tick, switch and capture costs
//   poll-bench.exe --bare-idle S    the bare loop ten times a second for S seconds
#include "engine/MainWindow_win.h"
#include "platform/Win32Desktop_win.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Time(const std::function<void()>& work) {
    auto start = Clock::now();
    work();
    return Milliseconds(Clock::now() - start);
}

// The least any poll must do: every top-level window, its visibility and its title.
void BareLoop() {
    EnumWindows(
        [](HWND window, LPARAM) -> BOOL {
            if (IsWindowVisible(window)) {
                wchar_t title[255];
                GetWindowTextW(window, title, 255);
            }
            return TRUE;
        },
        0);
}

// The main window as the poll and a switch use it, minus the screen captures.
class NoCaptureView final : public velt::Form1View {
public:
    explicit NoCaptureView(velt::MainWindow& main) : m_main(main) {}
    velt::WindowId Handle() override { return m_main.Handle(); }
    bool Visible() override { return m_main.Visible(); }
    void Show() override { m_main.Show(); }
    void Hide() override { m_main.Hide(); }
    void ZOrder() override { m_main.ZOrder(); }
    void MakeTopmost() override { m_main.MakeTopmost(); }
    void DoEvents() override { m_main.DoEvents(); }
    void Iconize(int, const std::vector<velt::WindowId>&) override {}
    void BlurBkg() override {}
    void PlacePointer(int index) override { m_main.PlacePointer(index); }
    void HoverHighlight() override { m_main.HoverHighlight(); }
    void CheckDesktopEntry(int index, bool checked) override {
        m_main.CheckDesktopEntry(index, checked);
    }
    void RemoveTrayIcon() override {}
    bool PromptVisible() override { return m_main.PromptVisible(); }
    std::wstring InputDialog(const std::wstring&, const std::wstring&) override { return {}; }

private:
    velt::MainWindow& m_main;
};

struct Child {
    velt::UniqueHandle process;
    bool Start(std::wstring commandLine) {
        STARTUPINFOW startup{sizeof(startup)};
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &info))
            return false;
        velt::UniqueHandle thread(info.hThread);
        process.reset(info.hProcess);
        return true;
    }
    void Stop() {
        if (!process) return;
        TerminateProcess(process.get(), 0);
        WaitForSingleObject(process.get(), 5000);
        process.reset();
    }
};

// Runs the bare loop ten times a second for a while: the baseline of an idle poll.
int BareIdle(int seconds) {
    SetTimer(nullptr, 0, 100, nullptr);
    auto end = Clock::now() + std::chrono::seconds(seconds);
    MSG msg;
    while (Clock::now() < end && GetMessageW(&msg, nullptr, 0, 0) > 0)
        if (msg.message == WM_TIMER) BareLoop();
    return 0;
}

std::vector<velt::WindowId> FindHelpers(int count) {
    std::vector<velt::WindowId> windows;
    for (int i = 1; i <= count; ++i)
        if (HWND w = FindWindowW(L"VeltTestHelper", (L"Bench " + std::to_wstring(i)).c_str()))
            windows.push_back(reinterpret_cast<velt::WindowId>(w));
    return windows;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"--bare-idle") return BareIdle(_wtoi(argv[2]));
    if (argc < 2) {
        std::fprintf(stderr, "usage: poll-bench HELPER.exe | --bare-idle SECONDS\n");
        return 2;
    }
    constexpr int kWindows = 100;
    constexpr int kRounds = 100;

    std::wstring helperLine = L"\"" + std::wstring(argv[1]) + L"\" --seconds 600";
    for (int i = 1; i <= kWindows; ++i) helperLine += L" \"Bench " + std::to_wstring(i) + L"\"";
    Child helper;
    if (!helper.Start(helperLine)) return 1;
    std::vector<velt::WindowId> windows;
    for (int i = 0; i < 200 && windows.size() < kWindows; ++i) {
        Sleep(100);
        windows = FindHelpers(kWindows);
    }
    if (windows.size() < kWindows) return 1;
    Sleep(500);

    velt::Win32Desktop desktop;
    velt::MainWindow main(desktop);
    if (!main.Create()) return 1;
    NoCaptureView view(main);
    velt::Settings settings;
    settings.CornerSensitive = true;
    settings.Hotkeys[0] = velt::KeyCombo{16, 17, 81};
    velt::Form1 form(desktop, view, settings);
    SetCursorPos(400, 300);

    // Alternate the two sides so that drift on a shared machine hits both alike.
    std::vector<double> bare, tick;
    for (int round = 0; round < kRounds; ++round) {
        bare.push_back(Time(BareLoop));
        tick.push_back(Time([&] { form.Timer1_Timer(); }));
    }

    // Two desktops of 50 windows each; a switch hides one and shows the other.
    form.Dex[4].assign(windows.begin(), windows.begin() + 50);
    form.Dex[3].assign(windows.begin() + 50, windows.end());
    for (size_t i = 50; i < windows.size(); ++i)
        ShowWindow(reinterpret_cast<HWND>(windows[i]), SW_HIDE);
    std::vector<double> bareSwitch, veltSwitch;
    for (int round = 0; round < 20; ++round) {
        int from = form.CurrentSlot, to = from == 4 ? 3 : 4;
        std::vector<velt::WindowId> showing = form.Dex[static_cast<size_t>(to)];
        std::vector<velt::WindowId> hiding = form.Dex[static_cast<size_t>(from)];
        veltSwitch.push_back(Time([&] { form.GoZorvan(to); }));
        // The same calls by hand, back again: show the other list, hide this one.
        bareSwitch.push_back(Time([&] {
            for (auto it = hiding.rbegin(); it != hiding.rend(); ++it)
                ShowWindow(reinterpret_cast<HWND>(*it), SW_SHOW);
            for (auto it = showing.rbegin(); it != showing.rend(); ++it)
                ShowWindow(reinterpret_cast<HWND>(*it), SW_HIDE);
        }));
        form.CurrentSlot = from; // both lists are as they were: the next round repeats this one
    }

    std::vector<double> iconize, blur;
    for (int round = 0; round < 10; ++round) {
        iconize.push_back(Time([&] { main.Iconize(4, form.Dex[4]); }));
        blur.push_back(Time([&] { main.BlurBkg(); }));
    }

    helper.Stop();

    double bareMs = Median(bare), tickMs = Median(tick);
    double bareSwitchMs = Median(bareSwitch), veltSwitchMs = Median(veltSwitch);
    std::printf("windows: %d visible top-level windows of another process\n", kWindows);
    std::printf("poll tick:  %.2f ms vs bare loop %.2f ms  ratio %.2f (target <= 1.30)\n", tickMs,
                bareMs, tickMs / bareMs);
    std::printf(
        "switch:     %.1f ms vs bare ShowWindow loop %.1f ms  ratio %.2f (target <= 1.20)\n",
        veltSwitchMs, bareSwitchMs, veltSwitchMs / bareSwitchMs);
    std::printf(
        "captures:   thumbnail %.1f ms (%.2f bare loops), background %.1f ms (%.2f bare loops)\n",
        Median(iconize), Median(iconize) / bareMs, Median(blur), Median(blur) / bareMs);
    return 0;
}
