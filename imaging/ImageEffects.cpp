// Effects of c32bppDIB that work on its pixels in place: mirroring, a key colour made
// transparent, and the checkerboard a designer shows for a control without a picture.
#include "imaging/c32bppDIB.h"

#include "imaging/SoftwareDraw.h"

#include <cstring>

namespace velt {

bool c32bppDIB::MirrorImage(bool MirrorAxisX, bool MirrorAxisY) {
    if (!m_bits || (!MirrorAxisX && !MirrorAxisY)) return false;
    SourceRect whole{0, 0, m_width, m_height};
    int32_t width = MirrorAxisX ? -m_width : m_width;
    int32_t height = MirrorAxisY ? -m_height : m_height;
    WorkBuffer flipped;
    if (!MirrorCopy(Pixels(), whole, width, height, &flipped, nullptr)) return false;
    std::memcpy(m_bits, flipped.bytes.data(), flipped.bytes.size());
    return true;
}

bool c32bppDIB::MakeTransparent(uint32_t TransparentColor) {
    if (!m_bits) return false;
    // Stored as blue, green, red, alpha: only a fully opaque pixel can match.
    const uint8_t key[4] = {static_cast<uint8_t>(TransparentColor >> 16),
                            static_cast<uint8_t>(TransparentColor >> 8),
                            static_cast<uint8_t>(TransparentColor), 255};
    const size_t count = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    bool cleared = false;
    for (uint8_t* p = m_bits; p != m_bits + count * 4; p += 4) {
        if (std::memcmp(p, key, 4) != 0) continue;
        std::memset(p, 0, 4);
        cleared = true;
    }
    if (cleared) m_alpha = true;
    return true;
}

bool c32bppDIB::CreateCheckerBoard(int32_t CheckerSize, uint32_t FirstColor, uint32_t SecondColor) {
    if (!m_bits || CheckerSize < 1) return false;
    auto bgra = [](uint32_t colour) {
        return static_cast<uint32_t>(((colour & 0xFF) << 16) | (colour & 0xFF00) |
                                     ((colour >> 16) & 0xFF) | 0xFF000000u);
    };
    const uint32_t colours[2] = {bgra(FirstColor), bgra(SecondColor)};
    const PixelView pixels = Pixels();
    // Rows of squares from the top-left corner; each row starts with the colour the row above
    // did not start with.
    for (int32_t y = 0; y < m_height; ++y) {
        uint8_t* row = pixels.Row(y);
        const int32_t band = y / CheckerSize;
        for (int32_t x = 0; x < m_width; ++x) {
            const uint32_t colour = colours[(band + x / CheckerSize) & 1];
            std::memcpy(row + static_cast<size_t>(x) * 4, &colour, 4);
        }
    }
    m_alpha = false;
    m_imageType = itCheckerBoard;
    return true;
}

} // namespace velt
