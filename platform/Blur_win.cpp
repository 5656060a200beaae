#include "platform/Blur_win.h"

#include "platform/TrustedLibrary_win.h"

namespace velt {

// Like zlib and GDI+, only from the program's own folder or the system folder.
BlurLibrary::BlurLibrary(const wchar_t* fileName) : m_module(LoadTrustedLibrary(fileName)) {
    if (m_module)
        m_fxBlur = reinterpret_cast<FxBlur>(
            reinterpret_cast<void*>(GetProcAddress(m_module.get(), "fxBlur")));
}

void BlurLibrary::BlurInPlace(HDC dc, int width, int height) const {
    if (!m_fxBlur || !dc) return; // no library: the picture stays sharp
    // A handle's significant bits fit in 32, which is how the library takes it.
    auto handle = static_cast<std::int32_t>(HandleToLong(dc));
    m_fxBlur(handle, 0, 0, width, height, handle, 0, 0, width, height, 0);
}

void BlurInPlace(HDC dc, int width, int height, int, int) {
    static const BlurLibrary library(L"DesktopsManager.dll");
    library.BlurInPlace(dc, width, height);
}

} // namespace velt
