// cPNGwriter::WritePng: the chunks of a PNG around the encoded image, compressed and
// checksummed by zlib, into memory and from there into a file.
#include "imaging/PngWriter.h"

#include "imaging/AnsiText.h"
#include "imaging/PngEncoder.h"
#include "imaging/ZlibBinding.h"
#include "imaging/c32bppDIB.h"
#include "platform/Files.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace velt {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kMaxChunkLength = 0x7FFFFFFF;
// Longer custom texts go into zTXt.
constexpr size_t kLongText = 1024;

void PutU32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value >> 24);
    p[1] = static_cast<uint8_t>(value >> 16);
    p[2] = static_cast<uint8_t>(value >> 8);
    p[3] = static_cast<uint8_t>(value);
}

class Deflater {
public:
    explicit Deflater(const ZlibApi& zlib) : m_zlib(zlib) {}

    // The room compression gets: n x 1.01 + 12 bytes, which deflate's stored blocks always fit.
    static size_t RoomFor(size_t n) { return (n * 101 + 50) / 100 + 12; }

    // Compresses source into out (sized RoomFor); the compressed length, or 0 on failure.
    size_t Compress(std::span<const uint8_t> source, uint8_t* out, size_t room) const {
        unsigned long outLength = static_cast<unsigned long>(room);
        if (source.size() > static_cast<unsigned long>(-1) || room != outLength) return 0;
        const auto sourceLength = static_cast<unsigned long>(source.size());
        const int status = m_zlib.compress2
                               ? m_zlib.compress2(out, &outLength, source.data(), sourceLength, 9)
                               : m_zlib.compress(out, &outLength, source.data(), sourceLength);
        return status == 0 ? outLength : 0;
    }

private:
    const ZlibApi& m_zlib;
};

// Appends chunks to a PNG in memory.
class ChunkWriter {
public:
    ChunkWriter(std::vector<uint8_t>& png, const ZlibApi& zlib) : m_png(png), m_zlib(zlib) {}

    void Chunk(const char (&type)[5], std::span<const uint8_t> data) {
        const size_t at = Begin(type);
        m_png.insert(m_png.end(), data.begin(), data.end());
        End(at);
    }

    // The chunk's data is written straight into the PNG: reserve room, fill it, then End with
    // the length used.
    size_t Begin(const char (&type)[5]) {
        const size_t at = m_png.size();
        m_png.resize(at + 8);
        std::memcpy(m_png.data() + at + 4, type, 4);
        return at;
    }
    uint8_t* Room(size_t bytes) {
        m_png.resize(m_png.size() + bytes);
        return m_png.data() + m_png.size() - bytes;
    }
    void Shrink(size_t unused) { m_png.resize(m_png.size() - unused); }
    void End(size_t at) {
        const size_t length = m_png.size() - at - 8;
        PutU32(m_png.data() + at, static_cast<uint32_t>(length));
        // The checksum covers the type and the data; crc32 takes at most 4 GB at a time.
        unsigned long crc = m_zlib.crc32(0, nullptr, 0);
        const uint8_t* p = m_png.data() + at + 4;
        for (size_t left = length + 4; left > 0;) {
            const auto step = static_cast<unsigned int>(std::min<size_t>(left, 0x40000000));
            crc = m_zlib.crc32(crc, p, step);
            p += step;
            left -= step;
        }
        uint8_t stored[4];
        PutU32(stored, static_cast<uint32_t>(crc));
        m_png.insert(m_png.end(), stored, stored + 4);
    }

private:
    std::vector<uint8_t>& m_png;
    const ZlibApi& m_zlib;
};

std::vector<uint8_t> TextChunk(std::wstring_view keyword, std::wstring_view text) {
    std::vector<uint8_t> data;
    const std::string k = ToAnsi(keyword), t = ToAnsi(text);
    data.insert(data.end(), k.begin(), k.end());
    data.push_back(0);
    data.insert(data.end(), t.begin(), t.end());
    return data;
}

// bKGD for the layout, or an empty chunk when the colour cannot be given (a full palette
// without it). May add the colour to the palette.
std::vector<uint8_t> BackgroundChunk(uint32_t colour, PngLayout& layout) {
    const uint8_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    switch (layout.colourType) {
    case pngGrey: return {0, red};
    case pngIndexed: {
        const size_t entries = layout.palette.size() / 3;
        for (size_t i = 0; i < entries; ++i) {
            const uint8_t* rgb = &layout.palette[i * 3];
            if (rgb[0] == red && rgb[1] == green && rgb[2] == blue)
                return {static_cast<uint8_t>(i)};
        }
        if (entries >= 256) return {};
        layout.palette.insert(layout.palette.end(), {red, green, blue});
        return {static_cast<uint8_t>(entries)};
    }
    default: return {0, red, 0, green, 0, blue};
    }
}

bool Encode(const c32bppDIB& image, const cPNGwriter& properties, const ZlibApi& zlib,
            std::vector<uint8_t>& png) {
    const PixelView pixels = image.Pixels();
    const bool alpha = image.Alpha();
    const uint32_t set = properties.SetMask();
    PngLayout layout = ChoosePngLayout(pixels, alpha);
    std::vector<uint8_t> background;
    if (set & pngBackground) background = BackgroundChunk(properties.Background(), layout);
    std::vector<uint8_t> filtered;
    if (!FilteredImage(layout, pixels, alpha, properties.FilterChoice(), filtered)) return false;
    const Deflater deflater(zlib);
    const size_t room = Deflater::RoomFor(filtered.size());
    png.reserve(room + 4096);

    ChunkWriter chunks(png, zlib);
    png.assign(kSignature, kSignature + 8);
    uint8_t header[13] = {};
    PutU32(header, static_cast<uint32_t>(pixels.width));
    PutU32(header + 4, static_cast<uint32_t>(pixels.height));
    header[8] = 8;
    header[9] = layout.colourType;
    chunks.Chunk("IHDR", header);
    // Title and Author come first, the other texts after the image.
    for (int slot : {0, 1})
        if (set & (1u << slot))
            chunks.Chunk("tEXt",
                         TextChunk(StandardKeyword(1 << slot), properties.StandardText(slot)));
    if (layout.colourType == pngIndexed) chunks.Chunk("PLTE", layout.palette);
    if (!background.empty()) chunks.Chunk("bKGD", background);
    if (!layout.transparency.empty()) chunks.Chunk("tRNS", layout.transparency);

    const size_t idat = chunks.Begin("IDAT");
    const size_t used = deflater.Compress(filtered, chunks.Room(room), room);
    if (used == 0 || used > kMaxChunkLength) return false;
    chunks.Shrink(room - used);
    chunks.End(idat);
    filtered = {};

    if (set & pngModifiedTime) {
        const PngDate d = properties.ModifiedTime();
        const uint8_t time[7] = {static_cast<uint8_t>(d.year >> 8), static_cast<uint8_t>(d.year),
                                 static_cast<uint8_t>(d.month),     static_cast<uint8_t>(d.day),
                                 static_cast<uint8_t>(d.hour),      static_cast<uint8_t>(d.minute),
                                 static_cast<uint8_t>(d.second)};
        chunks.Chunk("tIME", time);
    }
    for (int slot = 2; slot < cPNGwriter::kStandardTexts; ++slot)
        if (set & (1u << slot))
            chunks.Chunk("tEXt",
                         TextChunk(StandardKeyword(1 << slot), properties.StandardText(slot)));
    for (const cPNGwriter::CustomText& entry : properties.CustomTexts()) {
        const std::string text = ToAnsi(entry.text);
        if (text.size() > kLongText) {
            const std::string keyword = ToAnsi(entry.keyword);
            const size_t at = chunks.Begin("zTXt");
            uint8_t* head = chunks.Room(keyword.size() + 2);
            std::memcpy(head, keyword.data(), keyword.size());
            head[keyword.size()] = 0;
            head[keyword.size() + 1] = 0; // deflate
            const size_t textRoom = Deflater::RoomFor(text.size());
            const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()),
                                                 text.size());
            const size_t packed = deflater.Compress(bytes, chunks.Room(textRoom), textRoom);
            if (packed != 0) {
                chunks.Shrink(textRoom - packed);
                chunks.End(at);
                continue;
            }
            // Not compressed after all: a plain text chunk instead.
            chunks.Shrink(png.size() - at);
        }
        chunks.Chunk("tEXt", TextChunk(entry.keyword, entry.text));
    }
    chunks.Chunk("IEND", {});
    return true;
}

} // namespace

bool cPNGwriter::WritePng(const c32bppDIB& image, const std::filesystem::path& Filename,
                          std::vector<uint8_t>& outStream) const {
    const bool toFile = !Filename.empty();
    if (!toFile) outStream.clear();
    if (!image.Handle() || image.Pixels().empty()) return false;
    ZlibLibrary library;
    const ZlibApi* zlib = library.api();
    if (!zlib || (!zlib->compress2 && !zlib->compress)) return false;
    std::vector<uint8_t> png;
    try {
        if (!Encode(image, *this, *zlib, png)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!toFile) {
        outStream = std::move(png);
        return true;
    }
    const std::span<const uint8_t> parts[] = {png};
    return ReplaceFileWith(Filename, parts);
}

} // namespace velt
