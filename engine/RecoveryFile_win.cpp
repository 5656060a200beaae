#include "engine/RecoveryFile_win.h"

#include "platform/App_win.h"
#include "platform/Files.h"
#include "platform/Win32_win.h"

#include <atomic>
#include <shlobj.h>

namespace velt {

namespace {

std::atomic<Form1*> g_crashingEngine{nullptr};

bool WriteText(const std::wstring& path, const std::string& text) {
    std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                        text.size());
    return ReplaceFileWith(path, {&bytes, 1});
}

} // namespace

RecoveryFile::RecoveryFile(std::wstring primary, std::wstring fallback)
    : m_primary(std::move(primary)), m_fallback(std::move(fallback)) {}

RecoveryFile RecoveryFile::ForThisProgram() {
    std::wstring fallback;
    wchar_t local[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local)))
        fallback = std::wstring(local) + L"\\Velt\\" + kRecoveryFileName;
    return RecoveryFile(AppPath() + L"\\" + kRecoveryFileName, fallback);
}

void RecoveryFile::Write(std::span<const RecoveryEntry> entries) {
    std::string text = FormatRecoveryRecord(entries);
    if (WriteText(m_primary, text)) {
        // A record from when the program's folder could not be written is out of date now.
        if (!m_fallback.empty()) RemoveFile(m_fallback);
        return;
    }
    if (m_fallback.empty()) return;
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(m_fallback).parent_path(), ignored);
    WriteText(m_fallback, text);
}

void RecoveryFile::Remove() {
    RemoveFile(m_primary);
    if (!m_fallback.empty()) RemoveFile(m_fallback);
}

std::vector<WindowId> RecoveryFile::RecoverLeftovers(Desktop& desktop) {
    // Both are there when the first place could not be replaced for a while (another program had
    // it open): the older one names windows that may have moved since, to a locked desktop too.
    std::filesystem::path latest = NewestFile({m_primary, m_fallback});
    std::vector<WindowId> shown;
    std::vector<std::uint8_t> bytes;
    std::vector<RecoveryEntry> entries;
    // A damaged or foreign record is not trusted with anything.
    if (!latest.empty() && ReadWholeFile(latest, bytes) && ParseRecoveryRecord(bytes, entries))
        for (WindowId window : WindowsToShowAgain(entries, desktop)) {
            desktop.ShowWindow(window, true);
            shown.push_back(window);
        }
    Remove();
    return shown;
}

void ExitEngineOnCrash(Form1* engine) {
    g_crashingEngine.store(engine);
    if (engine) SetUnhandledExceptionFilter(EngineCrashFilter);
}

LONG WINAPI EngineCrashFilter(EXCEPTION_POINTERS*) {
    // A crash must not strand the user's windows on hidden desktops: the normal exit, then the
    // system's own handling of the crash.
    if (Form1* engine = g_crashingEngine.exchange(nullptr)) engine->Form_Terminate();
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace velt
