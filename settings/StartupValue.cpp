#include "settings/StartupValue.h"

namespace velt {

std::wstring StartupData(const std::wstring& exeFolder, const std::wstring& exeName, bool on) {
    return exeFolder + L"\\" + exeName + (on ? L".exe" : L"NR");
}

bool StartupDataIsOn(const std::wstring& data) { return !data.empty() && !data.ends_with(L"NR"); }

bool StartupIsOn(RunKeys& keys) {
    return StartupDataIsOn(keys.Read(RunKeys::Scope::Machine)) ||
           StartupDataIsOn(keys.Read(RunKeys::Scope::User));
}

void WriteStartup(RunKeys& keys, const std::wstring& data) {
    const bool machineWritten = keys.Write(RunKeys::Scope::Machine, data);
    // A user's value left from a refused write would otherwise keep starting the program after
    // it was turned off machine-wide.
    if (!machineWritten || !keys.Read(RunKeys::Scope::User).empty())
        keys.Write(RunKeys::Scope::User, data);
}

} // namespace velt
