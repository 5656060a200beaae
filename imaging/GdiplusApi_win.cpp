#include "imaging/GdiplusApi_win.h"

namespace velt {

namespace {

template <typename Fn>
bool Bind(HMODULE module, const char* name, Fn& function) {
    function = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

} // namespace

GdiplusApi::GdiplusApi() : m_module(LoadLibraryW(L"gdiplus.dll")) {
    HMODULE module = m_module.get();
    if (!module) return;
    bool ok = Bind(module, "GdiplusStartup", GdiplusStartup);
    ok = Bind(module, "GdiplusShutdown", GdiplusShutdown) && ok;
#define VELT_GDIPLUS_BIND(name) ok = Bind(module, #name, name) && ok;
    VELT_GDIPLUS_FUNCTIONS(VELT_GDIPLUS_BIND)
#undef VELT_GDIPLUS_BIND
    m_ok = ok;
}

GdiplusSession::GdiplusSession() {
    if (!m_api.ok()) return;
    Gdiplus::GdiplusStartupInput input; // version 1, no debug callback, nothing suppressed
    ULONG_PTR token = 0;
    if (m_api.GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) m_token = token;
}

GdiplusSession::~GdiplusSession() {
    if (m_token) m_api.GdiplusShutdown(m_token);
}

} // namespace velt
