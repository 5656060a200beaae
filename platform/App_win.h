#pragma once
// The running program: where it lives, whether it already runs, how it ends.
#include "platform/Handles_win.h"

#include <string>

namespace velt {

std::wstring AppPath(); // the executable's folder, without a trailing backslash
std::wstring ExeName(); // the executable's file name without its extension
std::wstring ExePath(); // AppPath() + "\" + ExeName() + ".exe"

// Holds a named mutex for the life of the process; a second holder learns the first exists.
class SingleInstance {
public:
    explicit SingleInstance(const wchar_t* name);
    bool AlreadyRunning() const { return m_alreadyRunning; }

private:
    UniqueHandle m_mutex;
    bool m_alreadyRunning = false;
};

[[noreturn]] void EndProcess(unsigned exitCode = 0);

} // namespace velt
