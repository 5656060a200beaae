#include "imaging/PngParser.h"

#include "imaging/ByteReader.h"
#include "imaging/DecodeScratch.h"
#include "imaging/Inflate.h"
#include "imaging/PngRows.h"
#include "imaging/ZlibBinding.h"
#include "imaging/c32bppDIB.h"
#include "platform/Files.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace velt {

namespace {

constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

// Deflate turns at most 2 bits into a 258-byte match, so a stream cannot inflate to more than
// about 1032 times its size. Images demanding more than that from their data are refused
// before anything is allocated for them.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kInflateSlack = 1024;

// Adam7 passes as column start, row start, row step and column step; the eighth entry describes
// a whole image, so every row loop is written once.
struct Pass {
    uint8_t colStart, rowStart, rowStep, colStep;
};
constexpr Pass kPasses[8] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 8, 4}, {2, 0, 4, 4},
                             {0, 2, 4, 2}, {1, 0, 2, 2}, {0, 1, 2, 1}, {0, 0, 1, 1}};
constexpr int kWholeImage = 7;

uint32_t ChunkType(const char (&name)[5]) {
    return ByteReader::ReadU32BE(reinterpret_cast<const uint8_t*>(name));
}

struct Header {
    int32_t width = 0;
    int32_t height = 0;
    uint8_t bitDepth = 0;
    uint8_t colourType = 0;
    uint8_t interlace = 0;
};

struct PngInfo {
    bool haveHeader = false;
    Header header;
    uint8_t palette[256][3] = {};
    bool havePalette = false;
    uint8_t transparency[256] = {}; // palette alpha table
    uint8_t keyBytes[6] = {};       // grey or RGB tRNS samples as stored
    int32_t key = -1;               // -1: no usable tRNS
    size_t compressedSize = 0;
};

uint32_t SamplesPerPixel(uint8_t colourType) {
    switch (colourType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

uint64_t RowBytesFor(const Header& h, uint64_t pixels) {
    return (uint64_t{h.bitDepth} * SamplesPerPixel(h.colourType) * pixels + 7) / 8;
}

uint64_t PassCount(int32_t size, uint8_t start, uint8_t step) {
    uint64_t count = static_cast<uint64_t>(size) / step;
    if (static_cast<uint64_t>(size) % step > start) ++count;
    return count;
}

uint64_t ExpectedSize(const Header& h) {
    if (!h.interlace) return uint64_t(h.height) * (RowBytesFor(h, uint64_t(h.width)) + 1);
    uint64_t total = 0;
    for (int p = 0; p < kWholeImage; ++p) {
        const Pass& pass = kPasses[p];
        // A pass without columns still counts its rows' filter bytes here.
        uint64_t cols = PassCount(h.width, pass.colStart, pass.colStep);
        uint64_t rows = PassCount(h.height, pass.rowStart, pass.rowStep);
        total += rows * (RowBytesFor(h, cols) + 1);
    }
    return total;
}

class ChunkWalk {
public:
    ChunkWalk(const ZlibApi* zlib, ByteBuffer& compressed, size_t inputSize)
        : m_zlib(zlib), m_compressed(compressed), m_inputSize(inputSize) {}

    // Walks the chunks after the signature; false when the walk failed.
    bool Run(std::span<const uint8_t> data, PngInfo& info) {
        ByteReader reader(data);
        reader.Seek(8);
        for (;;) {
            if (!reader.Has(8)) return false;
            uint32_t length = reader.U32BE();
            std::span<const uint8_t> typeAndData = data.subspan(reader.position());
            uint32_t type = reader.U32BE();
            if (!reader.Has(uint64_t{length} + 4)) return false;
            std::span<const uint8_t> body = reader.Take(length);
            uint32_t storedCrc = reader.U32BE();
            if (type == ChunkType("IEND")) return true;
            if (length == 0) continue;
            Chunk chunk{type, body, typeAndData.first(size_t{length} + 4), storedCrc};
            if (!Handle(chunk, info)) return false;
        }
    }

private:
    bool CrcMatches(std::span<const uint8_t> typeAndData, uint32_t stored) const {
        if (!m_zlib || stored == 0) return true;
        unsigned long crc = m_zlib->crc32(0, nullptr, 0);
        // zlib takes 32-bit lengths; feed large chunks in pieces.
        constexpr size_t kPiece = size_t{1} << 30;
        for (size_t at = 0; at < typeAndData.size(); at += kPiece) {
            size_t n = std::min(kPiece, typeAndData.size() - at);
            crc = m_zlib->crc32(crc, typeAndData.data() + at, static_cast<unsigned int>(n));
        }
        uint32_t computed = static_cast<uint32_t>(crc);
        return computed != 0 && computed == stored;
    }

    struct Chunk {
        uint32_t type;
        std::span<const uint8_t> body;
        std::span<const uint8_t> typeAndData;
        uint32_t storedCrc;
    };

    // Only the chunks we read are checked; the others are skipped unread.
    bool Handle(const Chunk& chunk, PngInfo& info) {
        const uint32_t type = chunk.type;
        std::span<const uint8_t> body = chunk.body;
        auto crcOk = [&] { return CrcMatches(chunk.typeAndData, chunk.storedCrc); };
        if (type == ChunkType("IHDR")) return crcOk() && ReadHeader(body, info);
        if (type == ChunkType("PLTE")) {
            uint8_t colourType = info.header.colourType;
            if (colourType == 0 || colourType == 4) return true;
            if (!crcOk() || body.size() % 3 != 0) return false;
            std::memset(info.palette, 0, sizeof info.palette);
            std::memcpy(info.palette, body.data(), std::min(body.size(), sizeof info.palette));
            info.havePalette = true;
            return true;
        }
        if (type == ChunkType("tRNS")) {
            if (crcOk()) ReadTransparency(body, info); // a damaged tRNS is ignored
            return true;
        }
        if (type == ChunkType("IDAT")) return crcOk() && AppendData(body, info);
        return true; // every other chunk is skipped, critical or not
    }

    static bool ReadHeader(std::span<const uint8_t> body, PngInfo& info) {
        ByteReader r(body);
        int32_t width = static_cast<int32_t>(r.U32BE());
        int32_t height = static_cast<int32_t>(r.U32BE());
        uint8_t depth = r.U8(), colourType = r.U8(), compression = r.U8(), filter = r.U8(),
                interlace = r.U8();
        if (!r.ok() || width < 1 || height < 1) return false;
        if (compression != 0 || filter != 0 || interlace > 1) return false;
        if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16) return false;
        if (colourType != 0 && colourType != 2 && colourType != 3 && colourType != 4 &&
            colourType != 6)
            return false;
        // width x 32 x height must fit in 31 bits; divided first so that it cannot overflow.
        if (int64_t{width} * 32 > INT32_MAX / height) return false;
        info.header = {width, height, depth, colourType, interlace};
        info.haveHeader = true;
        return true;
    }

    static void ReadTransparency(std::span<const uint8_t> body, PngInfo& info) {
        info.key = -1;
        switch (info.header.colourType) {
        case 0:
            if (body.size() < 2) return;
            info.keyBytes[0] = body[0];
            info.keyBytes[1] = body[1];
            info.key = body[1];
            return;
        case 2:
            if (body.size() < 6) return;
            std::memcpy(info.keyBytes, body.data(), 6);
            info.key = body[1] << 16 | body[3] << 8 | body[5];
            return;
        case 3: {
            std::memset(info.transparency, 255, sizeof info.transparency);
            std::memcpy(info.transparency, body.data(), std::min(body.size(), size_t{256}));
            info.key = 0;
            return;
        }
        default: return; // grey+alpha and RGBA carry their own alpha
        }
    }

    bool AppendData(std::span<const uint8_t> body, PngInfo& info) {
        size_t needed = info.compressedSize + body.size();
        if (needed > m_compressed.capacity()) {
            // Start at half the input; grow to what is needed plus a quarter of the input.
            size_t target = info.compressedSize == 0 ? std::max(needed, m_inputSize / 2)
                                                     : needed + m_inputSize / 4;
            if (!m_compressed.Grow(target, info.compressedSize)) return false;
        }
        std::memcpy(m_compressed.data() + info.compressedSize, body.data(), body.size());
        info.compressedSize = needed;
        return true;
    }

    const ZlibApi* m_zlib;
    ByteBuffer& m_compressed;
    size_t m_inputSize;
};

void BuildRowFormat(const PngInfo& info, RowFormat& format) {
    const Header& h = info.header;
    format.colourType = h.colourType;
    format.bitDepth = h.bitDepth;
    bool keyed = info.key != -1;
    if (h.colourType == 3 || (h.colourType == 0 && h.bitDepth <= 8)) {
        uint8_t palette[256][3] = {};
        if (h.colourType == 3) {
            if (info.havePalette) std::memcpy(palette, info.palette, sizeof palette);
            else if (h.bitDepth == 1) std::memset(palette[1], 255, 3); // no PLTE: black and white
        } else {
            unsigned levels = 1u << h.bitDepth;
            unsigned stepSize = 255 / (levels - 1);
            for (unsigned i = 1; i < levels; ++i)
                std::memset(palette[i], static_cast<int>(stepSize * i), 3);
        }
        for (unsigned i = 0; i < 256; ++i) {
            uint32_t alpha = 255;
            if (keyed && h.colourType == 3) alpha = info.transparency[i];
            else if (keyed && i == static_cast<uint32_t>(info.key)) alpha = 0;
            format.lookup[i][0] = static_cast<uint8_t>(MulDiv255(palette[i][2], alpha));
            format.lookup[i][1] = static_cast<uint8_t>(MulDiv255(palette[i][1], alpha));
            format.lookup[i][2] = static_cast<uint8_t>(MulDiv255(palette[i][0], alpha));
            format.lookup[i][3] = static_cast<uint8_t>(alpha);
        }
        return;
    }
    format.hasKey = keyed && (h.colourType == 0 || h.colourType == 2);
    if (!format.hasKey) return;
    if (h.colourType == 0) {
        format.key[0] = info.keyBytes[0]; // only 16-bit grey gets here: high byte
    } else if (h.bitDepth == 16) {
        format.key[0] = info.keyBytes[0];
        format.key[1] = info.keyBytes[2];
        format.key[2] = info.keyBytes[4];
    } else {
        format.key[0] = info.keyBytes[1];
        format.key[1] = info.keyBytes[3];
        format.key[2] = info.keyBytes[5];
    }
}

// Unfilters and converts the decompressed scanlines into the host. False when an interlaced
// pass holds a filter type above 4.
bool ProduceRows(const PngInfo& info, uint8_t* data, uint8_t* zeroRow, c32bppDIB& host) {
    const Header& h = info.header;
    ConvertRowFn convert = SelectRowConverter(h.colourType, h.bitDepth);
    RowFormat format;
    BuildRowFormat(info, format);
    size_t unit = std::max<size_t>(1, h.bitDepth / 8 * SamplesPerPixel(h.colourType));
    PixelView pixels = host.Pixels();
    const bool interlaced = h.interlace != 0;
    size_t offset = 0;
    const int firstPass = interlaced ? 0 : kWholeImage;
    const int lastPass = interlaced ? kWholeImage - 1 : kWholeImage;
    for (int p = firstPass; p <= lastPass; ++p) {
        const Pass& pass = kPasses[p];
        size_t cols = static_cast<size_t>(PassCount(h.width, pass.colStart, pass.colStep));
        size_t rows = static_cast<size_t>(PassCount(h.height, pass.rowStart, pass.rowStep));
        if (cols == 0 || rows == 0) continue; // empty passes are not in the data
        size_t rowBytes = static_cast<size_t>(RowBytesFor(h, cols));
        const uint8_t* prior = zeroRow;
        for (size_t r = 0; r < rows; ++r) {
            uint8_t* line = data + offset;
            uint8_t* row = line + 1;
            if (!UnfilterRow(line[0], row, prior, rowBytes, unit) && interlaced) return false;
            int32_t y = static_cast<int32_t>(pass.rowStart + r * pass.rowStep);
            convert(row, pixels.Pixel(pass.colStart, y), cols, pass.colStep, format);
            prior = row;
            offset += rowBytes + 1;
        }
    }
    return true;
}

} // namespace

cPNGparser::cPNGparser(const PngServices& services, DecodeScratch* scratch)
    : m_services(services), m_scratch(scratch) {
    if (!m_scratch) {
        m_ownScratch = std::make_unique<DecodeScratch>();
        m_scratch = m_ownScratch.get();
    }
}

cPNGparser::~cPNGparser() = default;

bool cPNGparser::LoadStream(std::span<const uint8_t> Stream, c32bppDIB& dibClass,
                            size_t streamOffset, size_t streamLength) {
    if (streamOffset >= Stream.size()) return false;
    size_t available = Stream.size() - streamOffset;
    size_t length = streamLength == 0 ? available : std::min(streamLength, available);
    return Load(nullptr, Stream.subspan(streamOffset, length), dibClass);
}

bool cPNGparser::LoadFile(const std::filesystem::path& Filename, c32bppDIB& dibClass) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(Filename, bytes)) return false;
    return Load(&Filename, bytes, dibClass);
}

bool cPNGparser::LoadFileBytes(const std::filesystem::path& Filename,
                               std::span<const uint8_t> fileBytes, c32bppDIB& dibClass) {
    return Load(&Filename, fileBytes, dibClass);
}

bool cPNGparser::Load(const std::filesystem::path* file, std::span<const uint8_t> bytes,
                      c32bppDIB& host) {
    if (bytes.size() < sizeof kSignature || std::memcmp(bytes.data(), kSignature, 8) != 0)
        return false;
    // From here on the data is a PNG: the answer is true whether or not an image is made.
    if (m_services.platformLoader && m_services.platformLoader(file, bytes, host)) {
        m_platformWidth = host.Width();
        m_platformHeight = host.Height();
        return true;
    }

    PngInfo info;
    ChunkWalk walk(m_services.zlib, m_scratch->compressed, bytes.size());
    if (!walk.Run(bytes, info) || !info.haveHeader || info.compressedSize == 0) return true;
    const Header& h = info.header;
    if (!SelectRowConverter(h.colourType, h.bitDepth)) return true;

    uint64_t expected = ExpectedSize(h);
    if (expected > info.compressedSize * kMaxInflateRatio + kInflateSlack) return true;
    uint8_t* inflated = m_scratch->inflated.Reserve(static_cast<size_t>(expected));
    if (!inflated) return true;

    std::span<const uint8_t> compressed(m_scratch->compressed.data(), info.compressedSize);
    size_t produced = 0;
    bool decompressed = false;
    if (const ZlibApi* zlib = m_services.zlib) {
        unsigned long destLen = static_cast<unsigned long>(expected);
        if (compressed.size() <= 0xFFFFFFFFu &&
            zlib->uncompress(inflated, &destLen, compressed.data(),
                             static_cast<unsigned long>(compressed.size())) == 0) {
            decompressed = true;
            produced = destLen;
        }
    }
    if (!decompressed) {
        InflateResult result = InflateZlibStream(compressed,
                                                 {inflated, static_cast<size_t>(expected)});
        decompressed = result.ok;
        produced = result.produced;
    }
    if (!decompressed) return true;
    // A stream that ends early leaves the remaining rows zero rather than undefined.
    std::memset(inflated + produced, 0, static_cast<size_t>(expected) - produced);

    size_t widestRow = static_cast<size_t>(RowBytesFor(h, static_cast<uint64_t>(h.width)));
    uint8_t* zeroRow = m_scratch->zeroRow.Reserve(widestRow);
    if (!zeroRow || !host.InitializeDIB(h.width, h.height)) return true;
    std::memset(zeroRow, 0, widestRow);
    if (!ProduceRows(info, inflated, zeroRow, host)) {
        host.DestroyDIB();
        return true;
    }
    bool ownAlpha = h.colourType == 4 || h.colourType == 6;
    DecoderAccess::SetAlpha(host, ownAlpha || info.key != -1);
    DecoderAccess::SetImageType(host, itPNG);
    return true;
}

} // namespace velt
