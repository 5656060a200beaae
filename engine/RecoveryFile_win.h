#pragma once
// The record of hidden windows on disk: beside Config.ini, or in the user's local application-data
// folder when the program's folder cannot be written (a program installed for all users).
#include "engine/Form1.h"
#include "engine/RecoveryRecord.h"
#include "platform/Desktop.h"
#include "platform/Win32_win.h"

#include <string>
#include <vector>

namespace velt {

inline constexpr wchar_t kRecoveryFileName[] = L"HiddenWindows.txt";

class RecoveryFile final : public RecoveryStore {
public:
    // primary is tried first; fallback when primary cannot be written.
    RecoveryFile(std::wstring primary, std::wstring fallback);
    // Beside the executable, falling back to %LOCALAPPDATA%\Velt.
    static RecoveryFile ForThisProgram();

    void Write(std::span<const RecoveryEntry> entries) override;
    void Remove() override;

    // A record still on disk at start-up was left by a run that did not end normally: shows
    // again the windows it names that still match, as that run's exit would have, and removes
    // the record. Returns the windows shown.
    std::vector<WindowId> RecoverLeftovers(Desktop& desktop);

    const std::wstring& Primary() const { return m_primary; }
    const std::wstring& Fallback() const { return m_fallback; }

private:
    std::wstring m_primary;
    std::wstring m_fallback;
};

// The crash path: a crash runs the engine's exit before the process goes. One engine at a time;
// nullptr takes it back.
void ExitEngineOnCrash(Form1* engine);
// The filter ExitEngineOnCrash installs, for the tests.
LONG WINAPI EngineCrashFilter(EXCEPTION_POINTERS* exception);

} // namespace velt
