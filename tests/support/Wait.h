#pragma once
// Waiting for something to happen. Every wait in a test is on a condition, with a deadline far
// beyond what the condition normally takes: a busy machine slows a test down without failing it.
#include <chrono>
#include <functional>
#include <thread>

namespace velt::testing {

inline constexpr std::chrono::milliseconds kPatience{20000};

// Polls holds() until it is true; false when the deadline passed first.
inline bool WaitUntil(std::chrono::milliseconds deadline, const std::function<bool()>& holds) {
    auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (holds()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

inline bool WaitUntil(const std::function<bool()>& holds) { return WaitUntil(kPatience, holds); }

} // namespace velt::testing
