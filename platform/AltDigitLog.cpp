#include "platform/AltDigitLog.h"

#include <utility>

namespace velt {

void AltDigitLog::Key(int virtualKey, bool down, bool altDown, bool ctrlDown) {
    if (virtualKey < '1' || virtualKey > '9') return;
    auto digit = static_cast<std::size_t>(virtualKey - '0');
    bool repeat = down && m_down[digit];
    m_down[digit] = down;
    if (down && !repeat && altDown && !ctrlDown && m_pressed.size() < kMostKept)
        m_pressed.push_back(static_cast<int>(digit));
}

std::vector<int> AltDigitLog::Take() { return std::exchange(m_pressed, {}); }

} // namespace velt
