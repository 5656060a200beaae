// The platform half of c32bppDIB for builds without Windows: pixels in heap memory, no GDI,
// no GDI+ and nobody to ask before a file is replaced.
#include "imaging/c32bppDIB.h"

#include "imaging/PlatformHooks.h"
#include "imaging/ZlibBinding.h"

#include <cstdlib>

namespace velt {

void c32bppDIB::FreeDeleter::operator()(uint8_t* p) const { std::free(p); }

bool c32bppDIB::AllocatePixels(int32_t width, int32_t height) {
    size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    m_heap.reset(static_cast<uint8_t*>(std::calloc(bytes, 1)));
    m_bits = m_heap.get();
    return m_bits != nullptr;
}

void c32bppDIB::ReleasePixels() { m_heap.reset(); }

c32bppDIB::ImageHandle c32bppDIB::Handle() const { return m_bits; }

uint32_t c32bppDIB::DetectCapabilities() const { return cfNoGdiPlus; }

bool c32bppDIB::PlatformGdiplusUsable() const { return false; }

void c32bppDIB::ManageOwnDC(bool value) { m_manageOwnDC = value; }

bool c32bppDIB::isZlibEnabled() const { return ProbeZlib(true).found; }

bool c32bppDIB::CopyWithGdiplus(c32bppDIB&, int32_t, int32_t) { return false; }

bool c32bppDIB::CopyWithAlphaBlend(c32bppDIB&, int32_t, int32_t) { return false; }

bool c32bppDIB::SavePngWithPlatform(const std::filesystem::path*, std::vector<uint8_t>*) {
    return false; // no GDI+: our own encoder is the only PNG writer
}

// No one can be asked, so an existing file is kept.
bool c32bppDIB::ConfirmOverwrite() { return false; }

PngServices::PlatformLoader PlatformPngLoader() { return nullptr; }

} // namespace velt
