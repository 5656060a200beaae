#include "imaging/GdiplusApi_win.h"

#include "platform/TrustedLibrary_win.h"

#include <memory>

namespace velt {

namespace {

template <typename Fn>
bool Bind(HMODULE module, const char* name, Fn& function) {
    function = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

} // namespace

GdiplusApi::GdiplusApi() : m_module(LoadTrustedLibrary(L"gdiplus.dll")) {
    HMODULE module = m_module.get();
    if (!module) return;
    bool ok = Bind(module, "GdiplusStartup", GdiplusStartup);
    ok = Bind(module, "GdiplusShutdown", GdiplusShutdown) && ok;
#define VELT_GDIPLUS_BIND(name) ok = Bind(module, #name, name) && ok;
    VELT_GDIPLUS_FUNCTIONS(VELT_GDIPLUS_BIND)
#undef VELT_GDIPLUS_BIND
    m_ok = ok;
}

const GdiplusApi* ProcessGdiplus() {
    // Never shut down: objects of the library may live in statics of any order, and the system
    // frees what is left when the process ends.
    static const GdiplusApi* started = []() -> const GdiplusApi* {
        auto api = std::make_unique<GdiplusApi>();
        Gdiplus::GdiplusStartupInput input; // version 1, no debug callback, nothing suppressed
        ULONG_PTR token = 0;
        if (!api->ok() || api->GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
            return nullptr;
        return api.release();
    }();
    return started;
}

} // namespace velt
