#include "platform/AltDigitHook_win.h"

namespace velt {

namespace {

// A hook procedure has no context of its own: the one recorder of this process.
std::atomic<AltDigitHook*> g_recorder{nullptr};

constexpr DWORD kPatienceMs = 5000;

} // namespace

AltDigitHook::~AltDigitHook() { Stop(); }

bool AltDigitHook::Start() {
    if (m_thread) return m_hooked;
    AltDigitHook* none = nullptr;
    if (!g_recorder.compare_exchange_strong(none, this)) return false;
    m_ready.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (m_ready) m_thread.reset(CreateThread(nullptr, 0, Run, this, 0, &m_threadId));
    if (!m_thread) {
        g_recorder = nullptr;
        return false;
    }
    WaitForSingleObject(m_ready.get(), kPatienceMs);
    if (!m_hooked) Stop();
    return m_hooked;
}

void AltDigitHook::Stop() {
    AltDigitHook* self = this;
    g_recorder.compare_exchange_strong(self, nullptr);
    if (m_thread) {
        // A key being recorded as the hook goes still reaches this object: wait for the end.
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(m_thread.get(), INFINITE);
        m_thread.reset();
    }
}

std::vector<int> AltDigitHook::Take() {
    AcquireSRWLockExclusive(&m_lock);
    std::vector<int> pressed = m_log.Take();
    ReleaseSRWLockExclusive(&m_lock);
    return pressed;
}

DWORD WINAPI AltDigitHook::Run(void* param) {
    auto* self = static_cast<AltDigitHook*>(param);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); // the queue Stop posts its quit to
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, OnKey, GetModuleHandleW(nullptr), 0);
    self->m_hooked = hook != nullptr;
    SetEvent(self->m_ready.get());
    if (!hook) return 0;
    // Low-level hooks are called through this thread's message loop.
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    UnhookWindowsHookEx(hook);
    return 0;
}

LRESULT CALLBACK AltDigitHook::OnKey(int code, WPARAM wParam, LPARAM lParam) {
    AltDigitHook* self = g_recorder.load();
    if (code == HC_ACTION && self) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
        // Alt pressed before the hook began is in the key state, not in the flags.
        bool alt = (key->flags & LLKHF_ALTDOWN) || (GetAsyncKeyState(VK_MENU) & 0x8000);
        bool ctrl = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
        AcquireSRWLockExclusive(&self->m_lock);
        self->m_log.Key(static_cast<int>(key->vkCode), down, alt, ctrl);
        ReleaseSRWLockExclusive(&self->m_lock);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace velt
