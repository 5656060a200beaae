#include "engine/Form1.h"

#include "platform/Units.h"

#include <algorithm>
#include <cwctype>

namespace velt {

namespace {

constexpr int kTitleBuffer = 255;      // titles read for the enumeration filter
constexpr int kLongTitleBuffer = 1024; // titles read to decide whether a window may be carried

bool IsShellDesktopTitle(const std::wstring& title) {
    static constexpr std::wstring_view kShellDesktop = L"program manager";
    if (title.size() != kShellDesktop.size()) return false;
    for (size_t i = 0; i < title.size(); ++i)
        if (static_cast<wchar_t>(std::towlower(title[i])) != kShellDesktop[i]) return false;
    return true;
}

} // namespace

Form1::Form1(Desktop& desktop, Form1View& view, const Settings& settings)
    : m_desktop(desktop), m_view(view), m_settings(settings) {}

void Form1::GoZorvan(int Index, WindowId drg) {
    if (Index < 0 || Index >= kSlotCount || Index == CurrentSlot) return;

    if (!SlotPasswords[Index].empty()) {
        std::wstring answer = m_view.InputDialog(L"Locked Desktop!", L"Enter Password to Unlock");
        if (answer != SlotPasswords[Index]) return;
    }

    // Until the switch is over, the record names the windows of both sides: whichever of them
    // is hidden when a crash comes can be given back.
    std::vector<WindowId> both;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (SlotPasswords[slot].empty())
            both.insert(both.end(), Dex[slot].begin(), Dex[slot].end());
    if (drg && SlotPasswords[Index].empty()) both.push_back(drg);
    RecordHiddenWindows(std::move(both));

    m_view.PlacePointer(Index);
    m_view.Show();
    m_view.Iconize(CurrentSlot, Dex[CurrentSlot]);

    // Work on copies: the show and hide calls reach other programs, and messages sent back to us
    // meanwhile must not invalidate what we are walking.
    std::vector<WindowId> arriving = Dex[Index];
    for (auto it = arriving.rbegin(); it != arriving.rend(); ++it)
        if (*it != drg) m_desktop.ShowWindow(*it, true);

    if (drg) Dex[Index].push_back(drg);

    std::vector<WindowId> leaving = Dex[CurrentSlot];
    if (drg) std::erase(Dex[CurrentSlot], drg);
    for (auto it = leaving.rbegin(); it != leaving.rend(); ++it)
        if (*it != drg) m_desktop.ShowWindow(*it, false);

    if (drg) cenwin(drg);

    for (int n = 0; n < kSlotCount; ++n) m_view.CheckDesktopEntry(n, n == Index);
    CurrentSlot = Index;
    RecordHiddenWindows(HiddenWindows(CurrentSlot));
    m_view.ZOrder();

    m_view.DoEvents();
    m_view.BlurBkg();
    m_view.DoEvents();

    if (!OverviewHotkeyHeld()) m_view.Hide();
    // Typing after a switch goes where the user looks, never to a window just hidden.
    FocusDesktop(Index);
}

void Form1::FocusDesktop(int slot) {
    std::vector<WindowId> members = Dex[slot];
    std::sort(members.begin(), members.end());
    std::vector<WindowId> frontToBack;
    m_desktop.EnumWindows([&](WindowId window) {
        if (std::binary_search(members.begin(), members.end(), window) &&
            m_desktop.IsWindowVisible(window) && !m_desktop.IsIconic(window))
            frontToBack.push_back(window);
        return true;
    });
    for (WindowId window : frontToBack)
        if (m_desktop.Activate(window)) return;
    if (WindowId shell = m_desktop.ShellWindow()) m_desktop.Activate(shell);
}

std::vector<WindowId> Form1::HiddenWindows(int current) const {
    std::vector<WindowId> windows;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (slot != current && SlotPasswords[slot].empty())
            windows.insert(windows.end(), Dex[slot].begin(), Dex[slot].end());
    return windows;
}

void Form1::RecordHiddenWindows(std::vector<WindowId> windows) {
    if (!m_recovery) return;
    std::sort(windows.begin(), windows.end());
    windows.erase(std::unique(windows.begin(), windows.end()), windows.end());
    if (m_recordWritten && windows == m_recorded) return;
    m_recovery->Write(DescribeWindows(windows, m_desktop));
    m_recorded = std::move(windows);
    m_recordWritten = true;
}

void Form1::cenwin(WindowId lng) {
    Rect rect;
    if (!m_desktop.GetWindowRect(lng, rect)) return; // window gone: nothing to centre
    Size screen = m_desktop.ScreenSize();
    int x = RoundHalfEven(screen.cx / 2.0 - (rect.right - rect.left) / 2.0);
    int y = RoundHalfEven(screen.cy / 2.0 - (rect.bottom - rect.top) / 2.0);
    m_desktop.MoveToTop(lng, Point{x, y});
}

int Form1::RefreshWindowList(std::vector<WindowId>& list) {
    list.clear();
    m_taskbar = m_desktop.TaskbarWindow();
    m_desktop.EnumWindows([&](WindowId window) { return CollectWindow(window, list); });
    return static_cast<int>(list.size());
}

bool Form1::CollectWindow(WindowId window, std::vector<WindowId>& list) {
    if (!m_desktop.IsWindowVisible(window)) return true;
    if (window == m_view.Handle() || (m_taskbar && window == m_taskbar)) return true;
    if (IsShellDesktopTitle(m_desktop.WindowTitle(window, kTitleBuffer))) return true;
    list.push_back(window);
    return true;
}

void Form1::refine(WindowId& lng) {
    if (lng == 0) return;
    if (lng == m_view.Handle() || lng == m_desktop.TaskbarWindow() ||
        m_desktop.WindowTitle(lng, kLongTitleBuffer).empty())
        lng = 0;
}

bool Form1::OverviewHotkeyHeld() {
    const KeyCombo& keys = m_settings.Hotkeys[0];
    return m_desktop.IsKeyDown(keys.Control) && m_desktop.IsKeyDown(keys.Shift) &&
           m_desktop.IsKeyDown(keys.Alt);
}

void Form1::Timer1_Timer() {
    if (m_view.PromptVisible()) {
        m_desktop.TakeAltDigitPresses(); // typed at the prompt: not meant as switches
        return;
    }
    // A switch started by this tick lets pending messages run; a tick arriving then would see
    // the cursor still on the edge and the dwell count full, and switch a second time.
    if (m_inTick) return;
    m_inTick = true;

    RefreshWindowList(Dex[CurrentSlot]);

    if (m_view.Visible()) m_view.HoverHighlight();

    // Presses made since the last tick act first, once each; then the keys held now, unless
    // they are the press just acted on.
    std::array<bool, 10> acted{};
    for (int digit : m_desktop.TakeAltDigitPresses()) {
        if (digit < 1 || digit > 9) continue;
        GoZorvan(digit - 1);
        acted[static_cast<size_t>(digit)] = true;
    }
    for (int digit = 1; digit <= 9; ++digit)
        if (!acted[static_cast<size_t>(digit)] && m_desktop.IsKeyDown(kVkMenu) &&
            m_desktop.IsKeyDown('0' + digit))
            GoZorvan(digit - 1);

    if (m_settings.CornerSensitive) GetKeyPos();

    if (OverviewHotkeyHeld()) {
        if (!m_view.Visible()) {
            m_view.Iconize(CurrentSlot, Dex[CurrentSlot]);
            m_view.MakeTopmost();
            m_view.BlurBkg();
            m_view.Show();
        }
    } else if (m_view.Visible()) {
        m_view.Hide();
    }

    // A desktop locked or unlocked since the last tick changes what a crash would strand.
    RecordHiddenWindows(HiddenWindows(CurrentSlot));
    m_inTick = false;
}

void Form1::Timer2_Timer() {
    if (m_view.Visible()) m_view.Iconize(CurrentSlot, Dex[CurrentSlot]);
}

void Form1::GetKeyPos() {
    Point cursor = m_desktop.GetCursorPos();
    Size screen = m_desktop.ScreenSize();
    double centreX = screen.cx / 2.0;
    double centreY = screen.cy / 2.0;

    WindowId carried = 0;
    // The primary button, whichever physical button the user has made it.
    if (m_desktop.IsKeyDown(m_desktop.MouseButtonsSwapped() ? kVkRightButton : kVkLeftButton)) {
        carried = TopOfParentChain(m_desktop.WindowFromPoint(cursor),
                                   [&](WindowId window) { return m_desktop.GetParent(window); });
    }
    refine(carried);

    int column = CurrentSlot % 3;
    int target = -1;
    if (cursor.y < kEdgeWidth && CurrentSlot > 2) target = CurrentSlot - 3;
    else if (cursor.x < kEdgeWidth && column != 0) target = CurrentSlot - 1;
    else if (cursor.y > screen.cy - 1 - kEdgeWidth && CurrentSlot < 6) target = CurrentSlot + 3;
    else if (cursor.x > screen.cx - 1 - kEdgeWidth && column != 2) target = CurrentSlot + 1;

    if (target < 0) {
        EdgeDwell = 0;
        return;
    }
    if (htt()) return;
    GoZorvan(target, carried);
    m_desktop.SetCursorPos(Point{RoundHalfEven(centreX), RoundHalfEven(centreY)});
}

bool Form1::htt() {
    if (EdgeDwell < kDwellLimit) {
        ++EdgeDwell;
        return true;
    }
    return false;
}

void Form1::Form_Terminate() {
    if (m_terminated) return;
    m_terminated = true;
    m_view.RemoveTrayIcon();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!SlotPasswords[slot].empty()) continue; // a locked desktop stays hidden
        for (WindowId window : Dex[slot]) m_desktop.ShowWindow(window, true);
    }
    if (m_recovery) m_recovery->Remove(); // nothing left to recover
}

} // namespace velt
