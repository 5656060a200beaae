#pragma once
// Sees Alt+digit presses as they happen, through a low-level keyboard hook on a thread of its
// own, so that a tap shorter than the poll is not missed. It only looks: every key goes on to
// the program with the focus, and the thread answers at once whatever the main thread is doing
// (the system drops a hook that keeps it waiting).
#include "platform/AltDigitLog.h"
#include "platform/Handles_win.h"
#include "platform/Win32_win.h"

#include <atomic>
#include <vector>

namespace velt {

class AltDigitHook {
public:
    AltDigitHook() = default;
    ~AltDigitHook(); // removes the hook and ends its thread
    AltDigitHook(const AltDigitHook&) = delete;
    AltDigitHook& operator=(const AltDigitHook&) = delete;

    // False when the system refused the hook, or another one runs in this process.
    bool Start();
    // The digits pressed with Alt since the last call, oldest first; empty when not started.
    std::vector<int> Take();

private:
    static DWORD WINAPI Run(void* self);
    static LRESULT CALLBACK OnKey(int code, WPARAM wParam, LPARAM lParam);
    void Stop();

    SRWLOCK m_lock = SRWLOCK_INIT;
    AltDigitLog m_log;
    UniqueHandle m_thread;
    UniqueHandle m_ready;
    DWORD m_threadId = 0;
    std::atomic<bool> m_hooked{false};
};

} // namespace velt
