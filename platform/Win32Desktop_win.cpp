#include "platform/Win32Desktop_win.h"

#include "platform/Win32_win.h"
#include "platform/WindowHelpers_win.h"

namespace velt {

namespace {

HWND AsHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
WindowId AsId(HWND window) { return reinterpret_cast<WindowId>(window); }

BOOL CALLBACK VisitWindow(HWND window, LPARAM visit) {
    try {
        return (*reinterpret_cast<const std::function<bool(WindowId)>*>(visit))(AsId(window));
    } catch (...) {
        return FALSE; // nothing may unwind through user32: the walk ends here
    }
}

} // namespace

void Win32Desktop::EnumWindows(const std::function<bool(WindowId)>& visit) {
    ::EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&visit));
}

bool Win32Desktop::IsWindowVisible(WindowId window) { return ::IsWindowVisible(AsHwnd(window)); }

bool Win32Desktop::IsIconic(WindowId window) { return ::IsIconic(AsHwnd(window)); }

std::wstring Win32Desktop::WindowTitle(WindowId window, int bufferChars) {
    return ReadWindowText(AsHwnd(window), bufferChars);
}

void Win32Desktop::ShowWindow(WindowId window, bool show) {
    HWND hwnd = AsHwnd(window);
    int command = show ? SW_SHOW : SW_HIDE;
    DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
    if (!thread) return; // window gone
    // Showing another thread's window waits until that thread has handled it; one that has
    // stopped answering would stall us with it. Its window follows when it answers again.
    if (thread == GetCurrentThreadId() || Answers(hwnd, thread)) ::ShowWindow(hwnd, command);
    else ::ShowWindowAsync(hwnd, command);
}

bool Win32Desktop::Answers(HWND window, DWORD thread) {
    constexpr std::uint64_t kAnsweredMemory = 200; // ms: about one switch
    constexpr std::uint64_t kSilentMemory = 5000;  // ms: a hung program stays hung a while
    constexpr UINT kPatienceMs = 50;
    std::uint64_t now = GetTickCount64();
    auto it = m_verdicts.find(thread);
    if (it != m_verdicts.end() &&
        now - it->second.askedAt < (it->second.answers ? kAnsweredMemory : kSilentMemory))
        return it->second.answers;
    if (m_verdicts.size() > 4096) m_verdicts.clear(); // threads come and go: forget old ones
    DWORD_PTR result = 0;
    bool answers = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                       kPatienceMs, &result) != 0;
    m_verdicts[thread] = Verdict{answers, GetTickCount64()};
    return answers;
}

bool Win32Desktop::GetWindowRect(WindowId window, Rect& rect) {
    RECT r{};
    if (!::GetWindowRect(AsHwnd(window), &r)) return false;
    rect = Rect{r.left, r.top, r.right, r.bottom};
    return true;
}

void Win32Desktop::MoveToTop(WindowId window, Point position) {
    ::SetWindowPos(AsHwnd(window), HWND_TOP, position.x, position.y, 0, 0,
                   SWP_NOSIZE | SWP_FRAMECHANGED);
}

WindowId Win32Desktop::GetParent(WindowId window) { return AsId(::GetParent(AsHwnd(window))); }

WindowId Win32Desktop::WindowFromPoint(Point point) {
    return AsId(::WindowFromPoint(POINT{point.x, point.y}));
}

WindowId Win32Desktop::TaskbarWindow() { return AsId(velt::TaskbarWindow()); }

bool Win32Desktop::IsKeyDown(int virtualKey) {
    // The asynchronous state: the poll runs while other programs have the keyboard focus.
    return virtualKey != 0 && (::GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

Point Win32Desktop::GetCursorPos() {
    POINT at{};
    ::GetCursorPos(&at);
    return Point{at.x, at.y};
}

void Win32Desktop::SetCursorPos(Point point) { ::SetCursorPos(point.x, point.y); }

Size Win32Desktop::ScreenSize() {
    return Size{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

bool Win32Desktop::IsWindow(WindowId window) { return ::IsWindow(AsHwnd(window)); }

std::uint32_t Win32Desktop::WindowProcessId(WindowId window) {
    DWORD process = 0;
    if (!GetWindowThreadProcessId(AsHwnd(window), &process)) return 0;
    return process;
}

std::wstring Win32Desktop::WindowClassName(WindowId window) {
    wchar_t name[257] = {};
    int length = GetClassNameW(AsHwnd(window), name, 257);
    return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

bool Win32Desktop::MouseButtonsSwapped() { return GetSystemMetrics(SM_SWAPBUTTON) != 0; }

bool Win32Desktop::Activate(WindowId window) {
    HWND hwnd = AsHwnd(window);
    DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
    DWORD self = GetCurrentThreadId();
    if (!thread || !::IsWindowVisible(hwnd)) return false;
    // A program that does not answer would never take the focus it is given.
    if (thread != self && !Answers(hwnd, thread)) return false;
    if (GetForegroundWindow() == hwnd || SetForegroundWindow(hwnd)) return true;
    // The system gives the foreground only to the program the user last spoke to; sharing the
    // input of the thread in front lends us its right for a moment.
    HWND front = GetForegroundWindow();
    DWORD frontThread = front ? GetWindowThreadProcessId(front, nullptr) : 0;
    if (!frontThread || frontThread == self || !Answers(front, frontThread)) return false;
    if (!AttachThreadInput(self, frontThread, TRUE)) return false;
    bool done = SetForegroundWindow(hwnd) != FALSE;
    AttachThreadInput(self, frontThread, FALSE);
    return done;
}

WindowId Win32Desktop::ShellWindow() {
    // A system without the desktop's shell window still has the taskbar.
    HWND shell = GetShellWindow();
    return AsId(shell ? shell : velt::TaskbarWindow());
}

} // namespace velt
