#pragma once
// Alt+digit presses in the order they were made, each once however long its key is held: a held
// key repeats its key-down, and only the first one after a key-up is a press.
#include <bitset>
#include <cstddef>
#include <vector>

namespace velt {

class AltDigitLog {
public:
    // One key event, and whether Alt and Ctrl were held as it happened. Ctrl and Alt together
    // are AltGr on many layouts, which types characters such as { and @ with the digits: those
    // presses are not switches.
    void Key(int virtualKey, bool down, bool altDown, bool ctrlDown);
    // The digits 1 to 9 pressed with Alt since the last call, oldest first.
    std::vector<int> Take();

    // Beyond this many unread presses new ones are dropped: nobody means forty switches.
    static constexpr std::size_t kMostKept = 32;

private:
    std::bitset<10> m_down;
    std::vector<int> m_pressed;
};

} // namespace velt
