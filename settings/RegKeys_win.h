#pragma once
// RegKeys: one text value written to, and any value read from, a registry key.
#include "platform/Win32_win.h"
#include "settings/StartupValue.h"

#include <string>

// <windows.h> maps RegGetValue to the system's RegGetValueW; ours is a different function.
#undef RegGetValue

namespace velt {

// Opens the key below hive, creating it when missing, and sets the value as REG_SZ without a
// terminating NUL; the empty text is stored as a single space. True when the value was written.
bool RegSetString(HKEY hive, const std::wstring& subkey, const std::wstring& name,
                  const std::wstring& data);

// The value's data as text: REG_SZ and REG_EXPAND_SZ (not expanded) up to their first NUL,
// REG_DWORD as a signed decimal number. The empty text for any other type, for a missing key or
// value, and for data longer than 1024 characters.
std::wstring RegGetValue(HKEY hive, const std::wstring& subkey, const std::wstring& name);

// The Run keys of this machine and its current user, or two other keys for tests.
class SystemRunKeys final : public RunKeys {
public:
    SystemRunKeys() = default;
    SystemRunKeys(HKEY machine, HKEY user) : m_machine(machine), m_user(user) {}
    bool Write(Scope scope, const std::wstring& data) override;
    std::wstring Read(Scope scope) override;

private:
    HKEY Hive(Scope scope) const { return scope == Scope::Machine ? m_machine : m_user; }
    HKEY m_machine = HKEY_LOCAL_MACHINE;
    HKEY m_user = HKEY_CURRENT_USER;
};

} // namespace velt
