#pragma once
// Starting with Windows: the value "Velt Startup" in a Run key. On, it holds the program's full
// path; off, the same path with "NR" in place of ".exe", which names no file, so nothing starts.
// The value lives in the machine-wide Run key; without the rights to write that, the current
// user's Run key holds it instead.
#include <string>

namespace velt {

inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kStartupValueName[] = L"Velt Startup";

// folder + "\" + name + ".exe" when on; folder + "\" + name + "NR" when off.
std::wstring StartupData(const std::wstring& exeFolder, const std::wstring& exeName, bool on);

// On when the data is not empty and does not end in "NR".
bool StartupDataIsOn(const std::wstring& data);

// The two Run keys, machine-wide and the current user's.
class RunKeys {
public:
    enum class Scope { Machine, User };
    virtual ~RunKeys() = default;
    // Writes "Velt Startup"; false when the key refused it.
    virtual bool Write(Scope scope, const std::wstring& data) = 0;
    // The data of "Velt Startup", or the empty text when it cannot be read.
    virtual std::wstring Read(Scope scope) = 0;
};

// Whether Windows will start the program: the machine-wide value first, then the user's.
bool StartupIsOn(RunKeys& keys);

// Writes the data machine-wide. When that is refused the user's key takes it, and a user's value
// written so before follows every later change, so that the two never disagree. Nothing is ever
// deleted.
void WriteStartup(RunKeys& keys, const std::wstring& data);

} // namespace velt
