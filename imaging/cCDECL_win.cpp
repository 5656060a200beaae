#include "imaging/cCDECL_win.h"

#include "platform/TrustedLibrary_win.h"

namespace velt {

namespace {

using Arg = intptr_t;

// Calls with exactly as many arguments as were given, through a pointer of the matching type.
int32_t Invoke(FARPROC function, std::span<const Arg> a) {
    auto* entry = reinterpret_cast<void*>(function);
    switch (a.size()) {
    case 0: return static_cast<int32_t>(reinterpret_cast<Arg (*)()>(entry)());
    case 1: return static_cast<int32_t>(reinterpret_cast<Arg (*)(Arg)>(entry)(a[0]));
    case 2: return static_cast<int32_t>(reinterpret_cast<Arg (*)(Arg, Arg)>(entry)(a[0], a[1]));
    case 3:
        return static_cast<int32_t>(
            reinterpret_cast<Arg (*)(Arg, Arg, Arg)>(entry)(a[0], a[1], a[2]));
    case 4:
        return static_cast<int32_t>(
            reinterpret_cast<Arg (*)(Arg, Arg, Arg, Arg)>(entry)(a[0], a[1], a[2], a[3]));
    default:
        return static_cast<int32_t>(reinterpret_cast<Arg (*)(Arg, Arg, Arg, Arg, Arg)>(entry)(
            a[0], a[1], a[2], a[3], a[4]));
    }
}

} // namespace

bool cCDECL::DllLoad(const std::string& sName) {
    UniqueModule library = LoadTrustedLibrary(sName.c_str());
    if (!library) return false;
    m_library = std::move(library);
    m_function = nullptr;
    m_reresolve = true;
    return true;
}

bool cCDECL::DllUnload() {
    if (!m_library) return false;
    m_function = nullptr;
    m_library.reset();
    return true;
}

int32_t cCDECL::Fail(uint32_t number, std::string description) {
    m_error = {number, "cCDECL", std::move(description)};
    return 0;
}

int32_t cCDECL::CallFunc(const std::string& sFunction, std::span<const intptr_t> ParmLongs) {
    m_error = {};
    if (!m_library) return Fail(kDllNotLoaded, "DLL not loaded");
    if (sFunction != m_lastFunction || m_reresolve || !m_function) {
        FARPROC function = GetProcAddress(m_library.get(), sFunction.c_str());
        if (!function) return Fail(kFunctionNotFound, "Failed to locate function: " + sFunction);
        m_function = function;
        m_lastFunction = sFunction;
        m_reresolve = false;
    }
    if (ParmLongs.size() > 5) return Fail(kTooManyParameters, "Too many parameters");
    SetLastError(0);
    int32_t result = Invoke(m_function, ParmLongs);
    m_lastError = GetLastError();
    return result;
}

uintptr_t cCDECL::WrapCallback(uintptr_t nModFuncAddr, int32_t) { return nModFuncAddr; }

} // namespace velt
