#pragma once
// Alt+digit presses in the order they were made, each once however long its key is held: a held
// key repeats its key-down, and only the first one after a key-up is a press.
#include <bitset>
#include <cstddef>
#include <vector>

namespace velt {

class AltDigitLog {
public:
    // One key event; altDown tells whether Alt was held as it happened.
    void Key(int virtualKey, bool down, bool altDown);
    // The digits 1 to 9 pressed with Alt since the last call, oldest first.
    std::vector<int> Take();

    // Beyond this many unread presses new ones are dropped: nobody means forty switches.
    static constexpr std::size_t kMostKept = 32;

private:
    std::bitset<10> m_down;
    std::vector<int> m_pressed;
};

} // namespace velt
