// Loading, copying and saving: the parts of c32bppDIB that move pictures in and out.
#include "imaging/c32bppDIB.h"

#include "imaging/DecodeScratch.h"
#include "imaging/DecoderChain.h"
#include "imaging/PlatformHooks.h"
#include "imaging/PngParser.h"
#include "imaging/SoftwareDraw.h"
#include "imaging/ZlibBinding.h"
#include "platform/Files.h"

#include <cstring>

namespace velt {

namespace {

// Shorter data cannot hold any picture the decoders read.
constexpr int64_t kMinimumPictureBytes = 57;
constexpr size_t kBitmapHeaderBytes = 54;

void PutU16(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

int32_t Magnitude(int32_t value) {
    return value == INT32_MIN ? INT32_MAX : (value < 0 ? -value : value);
}

} // namespace

bool c32bppDIB::LoadPicture_File(const std::filesystem::path& Filename, int32_t iconCx,
                                 int32_t iconCy, bool SaveFormat, int32_t iconBitDepth) {
    if (!FileExists(Filename) || FileLength(Filename) < kMinimumPictureBytes) {
        DestroyDIB();
        return false;
    }
    return LoadFromSource(&Filename, {}, iconCx, iconCy, 0, 0, SaveFormat, iconBitDepth);
}

bool c32bppDIB::LoadPicture_Stream(std::span<const uint8_t> inStream, int32_t iconCx,
                                   int32_t iconCy, int32_t streamStart, int32_t streamLength,
                                   bool SaveFormat, int32_t iconBitDepth) {
    const int64_t size = static_cast<int64_t>(inStream.size());
    int64_t start = streamStart < 0 ? 0 : streamStart;
    int64_t length = streamLength == 0 ? size - start : streamLength;
    // A slice that is not inside the array is refused rather than read past its end.
    if (size == 0 || start >= size || length < kMinimumPictureBytes || start + length > size) {
        DestroyDIB();
        return false;
    }
    return LoadFromSource(nullptr, inStream, iconCx, iconCy, static_cast<size_t>(start),
                          static_cast<size_t>(length), SaveFormat, iconBitDepth);
}

bool c32bppDIB::LoadPicture_FromOrignalFormat(int32_t iconCx, int32_t iconCy,
                                              int32_t iconBitDepth) {
    std::vector<uint8_t> bytes = std::move(m_originalFormat); // the load empties it anyway
    return LoadPicture_Stream(bytes, iconCx, iconCy, 0, 0, true, iconBitDepth);
}

bool c32bppDIB::GetOrginalFormat(std::vector<uint8_t>& outStream) const {
    try {
        outStream = m_originalFormat;
    } catch (const std::bad_alloc&) {
        outStream.clear();
        return false;
    }
    return !outStream.empty();
}

bool c32bppDIB::LoadFromSource(const std::filesystem::path* Filename,
                               std::span<const uint8_t> bytes, int32_t iconCx, int32_t iconCy,
                               size_t start, size_t length, bool SaveFormat, int32_t iconBitDepth) {
    DestroyDIB();
    std::vector<uint8_t> fileBytes;
    if (Filename) {
        if (!ReadWholeFile(*Filename, fileBytes)) return false;
        bytes = fileBytes;
        start = 0;
        length = fileBytes.size();
    }
    if (iconCx < 0) iconCx = 0;
    if (iconCy < 0) iconCy = 0;
    if (iconBitDepth < 0 || iconBitDepth > 32) iconBitDepth = 32;

    bool recognised;
    ZlibLibrary zlib; // bound for this load only; PNG entries of icon files use it too
    const PngServices services{PlatformPngLoader(), zlib.api()};
    {
        cPNGparser parser(services, &DecoderAccess::Scratch(*this));
        recognised = Filename ? parser.LoadFileBytes(*Filename, bytes, *this)
                              : parser.LoadStream(bytes, *this, start, length);
    }
    if (!recognised) {
        StreamSource source{bytes.subspan(start, length), iconCx, iconCy, iconBitDepth, &services};
        for (StreamDecoder decode : StreamDecodersAfterPng())
            if (decode(source, *this)) break;
    }
    if (m_bits && SaveFormat) {
        try {
            m_originalFormat.assign(bytes.begin(), bytes.end());
        } catch (const std::bad_alloc&) {
            m_originalFormat.clear();
        }
    }
    return m_bits != nullptr;
}

void c32bppDIB::CopyImageTo(std::unique_ptr<c32bppDIB>& cDIBclass, int32_t newWidth,
                            int32_t newHeight, bool CopyOriginalFormat) {
    if (!m_bits) return;
    if (!cDIBclass) {
        cDIBclass = std::make_unique<c32bppDIB>();
        cDIBclass->isGDIplusEnabled(isGDIplusEnabled());
        cDIBclass->HighQualityInterpolation(m_highQuality);
    }
    CopyImageTo(*cDIBclass, newWidth, newHeight, CopyOriginalFormat);
}

void c32bppDIB::CopyImageTo(c32bppDIB& target, int32_t newWidth, int32_t newHeight,
                            bool CopyOriginalFormat) {
    if (!m_bits || &target == this) return;
    if (newWidth == 0) newWidth = m_width;
    if (newHeight == 0) newHeight = m_height;
    const int32_t width = Magnitude(newWidth);
    const int32_t height = Magnitude(newHeight);
    if (target.m_width != width || target.m_height != height) {
        if (!target.InitializeDIB(width, height)) return;
    }
    target.m_alpha = m_alpha;
    target.m_imageType = m_imageType;
    if (newWidth == m_width && newHeight == m_height) {
        std::memcpy(target.m_bits, m_bits,
                    static_cast<size_t>(m_width) * static_cast<size_t>(m_height) * 4);
    } else {
        WritePixelsTo(target, newWidth, newHeight);
    }
    if (CopyOriginalFormat) DecoderAccess::SetOriginalFormat(target, m_originalFormat);
}

bool c32bppDIB::WritePixelsTo(c32bppDIB& target, int32_t newWidth, int32_t newHeight) {
    // Systems that cannot AlphaBlend between two DIBs draw copies another way.
    const uint32_t saved = m_capabilities;
    if ((m_capabilities & cfAlphaBlendNoDibCopy) && (m_capabilities & cfAlphaBlendOn))
        m_capabilities &= ~uint32_t{cfAlphaBlendOn};
    bool ok;
    const PixelView targetPixels = target.Pixels();
    if (isGDIplusEnabled() && (!isAlphaBlendFriendly() || m_highQuality)) {
        ok = CopyWithGdiplus(target, newWidth, newHeight);
    } else if (newWidth < 0 || newHeight < 0) {
        SourceRect src{0, 0, m_width, m_height};
        int32_t w = newWidth, h = newHeight;
        if (Magnitude(newWidth) == m_width && Magnitude(newHeight) == m_height) {
            ok = MirrorCopy(Pixels(), src, w, h, nullptr, &targetPixels);
        } else {
            // Mirrored and resized: mirror first, then resample into the target.
            WorkBuffer mirrored;
            ok = MirrorCopy(Pixels(), src, w, h, &mirrored, nullptr) &&
                 ScaleCopy(mirrored.view(), src, w, h, m_highQuality, nullptr, &targetPixels);
        }
    } else if (!isAlphaBlendFriendly() || m_highQuality) {
        ok = ScaleCopy(Pixels(), {0, 0, m_width, m_height}, newWidth, newHeight, m_highQuality,
                       nullptr, &targetPixels);
    } else {
        ok = CopyWithAlphaBlend(target, newWidth, newHeight);
    }
    m_capabilities = saved;
    return ok;
}

void c32bppDIB::BuildBitmapFile(std::vector<uint8_t>& header) const {
    const uint32_t bitCount = m_alpha ? 32 : 24;
    const uint32_t imageBytes = static_cast<uint32_t>(
                                    RowBytes(static_cast<int32_t>(bitCount), m_width)) *
                                static_cast<uint32_t>(m_height);
    header.assign(kBitmapHeaderBytes, 0);
    uint8_t* p = header.data();
    p[0] = 'B';
    p[1] = 'M';
    PutU32(p + 2, static_cast<uint32_t>(kBitmapHeaderBytes) + imageBytes);
    PutU32(p + 10, static_cast<uint32_t>(kBitmapHeaderBytes));
    PutU32(p + 14, 40);
    PutU32(p + 18, static_cast<uint32_t>(m_width));
    PutU32(p + 22, static_cast<uint32_t>(m_height));
    PutU16(p + 26, 1);
    PutU16(p + 28, bitCount);
    PutU32(p + 34, imageBytes);
}

bool c32bppDIB::SaveToStream(std::vector<uint8_t>& outStream) const {
    if (!m_bits) return false;
    try {
        std::vector<uint8_t> pixels;
        if (!m_alpha && !GetDIBbits(pixels, {.as32bpp = false})) return false;
        BuildBitmapFile(outStream);
        if (m_alpha)
            outStream.insert(outStream.end(), m_bits,
                             m_bits +
                                 static_cast<size_t>(scanWidth()) * static_cast<size_t>(m_height));
        else outStream.insert(outStream.end(), pixels.begin(), pixels.end());
    } catch (const std::bad_alloc&) {
        outStream.clear();
        return false;
    }
    return true;
}

bool c32bppDIB::SaveToFile(const std::filesystem::path& Filename, bool PromptOverwrite) {
    if (Filename.empty() || !m_bits) return false;
    if (PromptOverwrite && FileExists(Filename) && !ConfirmOverwrite()) return false;
    std::vector<uint8_t> header;
    std::vector<uint8_t> converted;
    try {
        BuildBitmapFile(header);
        if (!m_alpha && !GetDIBbits(converted, {.as32bpp = false})) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::span<const uint8_t> pixels = m_alpha ? std::span<const uint8_t>(
                                                    m_bits, static_cast<size_t>(scanWidth()) *
                                                                static_cast<size_t>(m_height))
                                              : std::span<const uint8_t>(converted);
    const std::span<const uint8_t> parts[] = {header, pixels};
    return ReplaceFileWith(Filename, parts);
}

bool c32bppDIB::SaveToFile_PNG(const std::filesystem::path& Filename, bool PromptOverwrite) {
    if (Filename.empty() || !m_bits) return false;
    if (PromptOverwrite && FileExists(Filename) && !ConfirmOverwrite()) return false;
    return WritePng(&Filename, nullptr);
}

bool c32bppDIB::SaveToStream_PNG(std::vector<uint8_t>& outStream) {
    if (!m_bits) return false;
    return WritePng(nullptr, &outStream);
}

bool c32bppDIB::WritePng(const std::filesystem::path* file, std::vector<uint8_t>* out) {
    // Only our encoder writes the chunks that properties ask for, so it goes first when any
    // are set; otherwise the platform's writer does, and each is the other's fallback.
    if (m_pngProperties) return WritePngOurselves(file, out) || SavePngWithPlatform(file, out);
    return SavePngWithPlatform(file, out) || WritePngOurselves(file, out);
}

} // namespace velt
