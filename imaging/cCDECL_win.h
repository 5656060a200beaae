#pragma once
// Calls an entry point of a library loaded at run time by name, with up to five integer
// arguments. Failures are recorded for the caller to read rather than thrown.
#include "platform/Handles_win.h"

#include <cstdint>
#include <span>
#include <string>

namespace velt {

struct CdeclError {
    uint32_t number = 0; // 0: the last call went through
    std::string source;
    std::string description;
};

class cCDECL {
public:
    static constexpr uint32_t kDllNotLoaded = 0x80040000;
    static constexpr uint32_t kFunctionNotFound = 0x80040001;
    static constexpr uint32_t kTooManyParameters = 0x80040002;

    // sName is a file name, looked for in the application's folder, then the system folder.
    bool DllLoad(const std::string& sName);
    bool DllUnload();
    // The entry point's 32-bit result; 0 with Error() set when the call could not be made.
    int32_t CallFunc(const std::string& sFunction, std::span<const intptr_t> ParmLongs);
    // The platform's last-error value right after the last call.
    uint32_t LastError() const { return m_lastError; }
    const CdeclError& Error() const { return m_error; }
    // A routine C-convention code can call in place of a standard-call one. x64 has one calling
    // convention, so that is the routine itself.
    static uintptr_t WrapCallback(uintptr_t nModFuncAddr, int32_t nParms);

private:
    int32_t Fail(uint32_t number, std::string description);

    UniqueModule m_library;
    FARPROC m_function = nullptr;
    std::string m_lastFunction;
    bool m_reresolve = false;
    uint32_t m_lastError = 0;
    CdeclError m_error;
};

} // namespace velt
