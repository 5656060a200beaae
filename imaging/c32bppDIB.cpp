#include "imaging/c32bppDIB.h"

#include "imaging/DecodeScratch.h"

#include <algorithm>
#include <cstring>

namespace velt {

namespace {

// The rectangle GetDIBbits, SetDIBbits and GetAlphaMask work on: 0 means the image's size, and
// the rectangle is clipped to the image. False when nothing of it is inside.
bool DefaultRect(int32_t imageWidth, int32_t imageHeight, int32_t x, int32_t y, int32_t& width,
                 int32_t& height) {
    if (x < 0 || y < 0 || width < 0 || height < 0) return false;
    if (width == 0) width = imageWidth;
    if (height == 0) height = imageHeight;
    if (x >= imageWidth || y >= imageHeight) return false;
    width = std::min(width, imageWidth - x);
    height = std::min(height, imageHeight - y);
    return true;
}

size_t DibRowLength(const DibBitsFormat& format, int32_t width) {
    if (format.as32bpp) return static_cast<size_t>(width) * 4;
    if (format.asWordAligned) return static_cast<size_t>(RowBytes(24, width));
    return static_cast<size_t>(width) * 3;
}

bool TryResize(std::vector<uint8_t>& bytes, size_t size) {
    try {
        bytes.assign(size, 0);
        return true;
    } catch (const std::bad_alloc&) {
        bytes.clear();
        return false;
    }
}

} // namespace

c32bppDIB::c32bppDIB() {
    m_capabilities = DetectCapabilities();
    isGDIplusEnabled(true);
    m_highQuality = isGDIplusEnabled();
}

c32bppDIB::~c32bppDIB() { DestroyDIB(); }

DecodeScratch& DecoderAccess::Scratch(c32bppDIB& image) {
    if (!image.m_scratch) image.m_scratch = std::make_unique<DecodeScratch>();
    return *image.m_scratch;
}

bool c32bppDIB::InitializeDIB(int32_t Width, int32_t Height) {
    DestroyDIB();
    if (Width < 1 || Height == 0 || Height == INT32_MIN) return false;
    if (Height < 0) Height = -Height;
    if (int64_t{Width} * Height * 4 > INT32_MAX) return false;
    if (!AllocatePixels(Width, Height)) return false;
    m_width = Width;
    m_height = Height;
    m_alpha = true;
    m_imageType = itBlank;
    return true;
}

void c32bppDIB::DestroyDIB() {
    if (m_bits) m_originalFormat.clear();
    ReleasePixels();
    m_bits = nullptr;
    m_width = 0;
    m_height = 0;
    m_alpha = false;
    m_imageType = itNone;
}

void c32bppDIB::EraseDIB() {
    if (!m_bits) return;
    std::memset(m_bits, 0, static_cast<size_t>(m_width) * static_cast<size_t>(m_height) * 4);
    m_imageType = itBlank;
    m_alpha = true;
}

void c32bppDIB::isAlphaBlendFriendly(bool value) {
    if (!value) m_capabilities &= ~uint32_t{cfAlphaBlendOn};
    else if (m_capabilities & cfAlphaBlendUsable) m_capabilities |= cfAlphaBlendOn;
}

void c32bppDIB::isGDIplusEnabled(bool value) {
    m_capabilities &= ~uint32_t{cfGdiPlusOn};
    if (value && !(m_capabilities & cfNoGdiPlus) && PlatformGdiplusUsable())
        m_capabilities |= cfGdiPlusOn;
}

int32_t c32bppDIB::GetPixel(int32_t x, int32_t Y, uint8_t& AlphaValue, bool asPremultiplied) const {
    AlphaValue = 0;
    if (!m_bits || x < 0 || x >= m_width || Y < 0 || Y >= m_height) return -1;
    const uint8_t* p = Pixels().Pixel(x, Y);
    const uint32_t a = p[3];
    AlphaValue = static_cast<uint8_t>(a);
    uint32_t blue = p[0], green = p[1], red = p[2];
    if (!asPremultiplied && a != 0 && a != 255) {
        blue = std::min<uint32_t>(255, blue * 255 / a);
        green = std::min<uint32_t>(255, green * 255 / a);
        red = std::min<uint32_t>(255, red * 255 / a);
    }
    return static_cast<int32_t>(red | green << 8 | blue << 16);
}

uint8_t* c32bppDIB::SetPixel(int32_t x, int32_t Y, uint32_t Color, int32_t AlphaValue,
                             bool isPremultiplied) {
    if (!m_bits || AlphaValue < 0 || AlphaValue > 255) return nullptr;
    if (x < 0 || x >= m_width || Y < 0 || Y >= m_height) return nullptr;
    uint8_t* p = Pixels().Pixel(x, Y);
    const uint32_t a = static_cast<uint32_t>(AlphaValue);
    if (a == 0) {
        std::memset(p, 0, 4);
        m_alpha = true;
        return p;
    }
    const uint32_t channels[3] = {(Color >> 16) & 0xFF, (Color >> 8) & 0xFF, Color & 0xFF};
    for (int i = 0; i < 3; ++i) {
        uint32_t c = channels[i];
        bool scale = !(isPremultiplied || a == 255) || c > a;
        p[i] = static_cast<uint8_t>(scale ? MulDiv255(c, a) : c);
    }
    p[3] = static_cast<uint8_t>(a);
    if (a != 255) m_alpha = true;
    return p;
}

bool c32bppDIB::GetDIBbits(std::vector<uint8_t>& outStream, const DibBitsFormat& format, int32_t x,
                           int32_t Y, int32_t Width, int32_t Height) const {
    if (!m_bits || !DefaultRect(m_width, m_height, x, Y, Width, Height)) return false;
    const size_t bpp = format.as32bpp ? 4 : 3;
    const size_t rowLength = DibRowLength(format, Width);
    if (!TryResize(outStream, rowLength * static_cast<size_t>(Height))) return false;
    const bool wholeImage = x == 0 && Y == 0 && Width == m_width && Height == m_height;
    if (format.as32bpp && format.asBGRformat && format.asBottomUp && format.asPremultiplied &&
        wholeImage) {
        std::memcpy(outStream.data(), m_bits, outStream.size());
        return true;
    }
    const PixelView pixels = Pixels();
    for (int32_t row = 0; row < Height; ++row) {
        const uint8_t* p = pixels.Pixel(x, Y + row);
        size_t outRow = format.asBottomUp ? static_cast<size_t>(Height - 1 - row)
                                          : static_cast<size_t>(row);
        uint8_t* o = outStream.data() + outRow * rowLength;
        for (int32_t col = 0; col < Width; ++col, p += 4, o += bpp) {
            const uint32_t a = p[3];
            uint32_t c[3] = {p[0], p[1], p[2]};
            if (!format.asPremultiplied && a != 255) {
                for (uint32_t& channel : c)
                    channel = a == 0 ? 0 : std::min<uint32_t>(255, channel * 255 / a);
            }
            if (!format.asBGRformat) std::swap(c[0], c[2]);
            o[0] = static_cast<uint8_t>(c[0]);
            o[1] = static_cast<uint8_t>(c[1]);
            o[2] = static_cast<uint8_t>(c[2]);
            if (bpp == 4) o[3] = static_cast<uint8_t>(a);
        }
    }
    return true;
}

bool c32bppDIB::SetDIBbits(std::span<const uint8_t> inStream, const DibBitsFormat& format,
                           int32_t dstX, int32_t dstY, int32_t dstWidth, int32_t dstHeight) {
    if (!m_bits || inStream.empty()) return false;
    if (!DefaultRect(m_width, m_height, dstX, dstY, dstWidth, dstHeight)) return false;
    const size_t bpp = format.as32bpp ? 4 : 3;
    const size_t rowLength = DibRowLength(format, dstWidth);
    // Measured against the whole image's height, which also covers the rectangle's rows.
    if (inStream.size() < rowLength * static_cast<size_t>(m_height)) return false;
    const PixelView pixels = Pixels();
    for (int32_t row = 0; row < dstHeight; ++row) {
        size_t inRow = format.asBottomUp ? static_cast<size_t>(dstHeight - 1 - row)
                                         : static_cast<size_t>(row);
        const uint8_t* in = inStream.data() + inRow * rowLength;
        uint8_t* p = pixels.Pixel(dstX, dstY + row);
        for (int32_t col = 0; col < dstWidth; ++col, p += 4, in += bpp) {
            std::memcpy(p, in, bpp);
            if (!format.asBGRformat) std::swap(p[0], p[2]);
        }
    }
    int32_t type = itBlank;
    m_alpha = ClassifyAlpha(pixels, true, type);
    return true;
}

bool c32bppDIB::GetAlphaMask(std::vector<uint8_t>& outStream, bool asWordAligned, bool asBottomUp,
                             int32_t x, int32_t Y, int32_t Width, int32_t Height) const {
    if (!m_bits || !DefaultRect(m_width, m_height, x, Y, Width, Height)) return false;
    const size_t rowLength = asWordAligned ? static_cast<size_t>(RowBytes(8, Width))
                                           : static_cast<size_t>(Width);
    if (!TryResize(outStream, rowLength * static_cast<size_t>(Height))) return false;
    const PixelView pixels = Pixels();
    for (int32_t row = 0; row < Height; ++row) {
        const uint8_t* p = pixels.Pixel(x, Y + row);
        size_t outRow = asBottomUp ? static_cast<size_t>(Height - 1 - row)
                                   : static_cast<size_t>(row);
        uint8_t* o = outStream.data() + outRow * rowLength;
        for (int32_t col = 0; col < Width; ++col, p += 4) o[col] = p[3];
    }
    return true;
}

} // namespace velt
