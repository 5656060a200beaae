#pragma once
// Shared by the PNG writer tests: pictures from pixel lists, the chunks of a written file, and
// what libpng reads from it.
#include "LibpngOracle.h"

#include "imaging/c32bppDIB.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include <zlib.h>

namespace velt::test {

// Pixels given as 0xAARRGGBB (premultiplied), top row first; alpha is the image's Alpha flag.
inline void Make(c32bppDIB& image, int32_t width, int32_t height,
                 const std::vector<uint32_t>& pixels, bool alpha = true) {
    ASSERT_TRUE(image.InitializeDIB(width, height));
    for (size_t i = 0; i < pixels.size(); ++i)
        std::memcpy(image.Pixels().Pixel(static_cast<int32_t>(i % static_cast<size_t>(width)),
                                         static_cast<int32_t>(i / static_cast<size_t>(width))),
                    &pixels[i], 4);
    DecoderAccess::SetAlpha(image, alpha);
}

inline std::vector<uint8_t> PixelBytes(const c32bppDIB& image) {
    const uint8_t* bits = image.BitsPointer();
    return {bits,
            bits + static_cast<size_t>(image.scanWidth()) * static_cast<size_t>(image.Height())};
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
};

inline uint32_t BigEndian(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// The chunks after the signature; every length and checksum is checked on the way.
inline std::vector<Chunk> ChunksOf(const std::vector<uint8_t>& png) {
    std::vector<Chunk> chunks;
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(png.size() >= 8 && std::memcmp(png.data(), kSignature, 8) == 0);
    for (size_t at = 8; at < png.size();) {
        if (png.size() - at < 12) {
            ADD_FAILURE() << "truncated chunk at " << at;
            break;
        }
        const uint32_t length = BigEndian(&png[at]);
        if (png.size() - at - 12 < length) {
            ADD_FAILURE() << "chunk longer than the file at " << at;
            break;
        }
        const uint8_t* type = &png[at + 4];
        EXPECT_EQ(crc32(0, type, length + 4), BigEndian(type + 4 + length));
        chunks.push_back(
            {std::string(type, type + 4), std::vector<uint8_t>(type + 4, type + 4 + length)});
        at += 12 + length;
    }
    return chunks;
}

inline std::vector<std::string> TypesOf(const std::vector<Chunk>& chunks) {
    std::vector<std::string> types;
    for (const Chunk& c : chunks) types.push_back(c.type);
    return types;
}

inline const Chunk* Find(const std::vector<Chunk>& chunks, const std::string& type) {
    for (const Chunk& c : chunks)
        if (c.type == type) return &c;
    return nullptr;
}

inline uint8_t ColourTypeOf(const std::vector<uint8_t>& png) {
    const std::vector<Chunk> chunks = ChunksOf(png);
    return chunks.empty() || chunks[0].type != "IHDR" ? 0xFF : chunks[0].data[9];
}

// The image data inflated: each row's filter byte and its filtered bytes.
inline std::vector<uint8_t> InflatedImageData(const std::vector<uint8_t>& png, size_t size) {
    const std::vector<Chunk> chunks = ChunksOf(png);
    const Chunk* idat = Find(chunks, "IDAT");
    std::vector<uint8_t> out(size);
    uLongf length = size;
    if (!idat || uncompress(out.data(), &length, idat->data.data(), idat->data.size()) != Z_OK ||
        length != size)
        return {};
    return out;
}

// What libpng reads besides the pixels.
struct LibpngInfo {
    bool ok = false;
    std::vector<std::pair<std::string, std::string>> texts;
    std::vector<int> compression; // of each text
    bool hasTime = false;
    png_time time{};
    bool hasBackground = false;
    png_color_16 background{};
};

namespace detail {
struct Source {
    const std::vector<uint8_t>* bytes;
    size_t at;
};
inline void ReadFrom(png_structp png, png_bytep out, png_size_t count) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (source->bytes->size() - source->at < count) png_error(png, "truncated");
    std::memcpy(out, source->bytes->data() + source->at, count);
    source->at += count;
}
inline bool ReadAll(Source& source, png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &source, ReadFrom);
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}
} // namespace detail

inline LibpngInfo ReadWithLibpng(const std::vector<uint8_t>& file) {
    LibpngInfo result;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    detail::Source source{&file, 0};
    if (detail::ReadAll(source, png, info)) {
        result.ok = true;
        png_textp texts = nullptr;
        int count = 0;
        png_get_text(png, info, &texts, &count);
        for (int i = 0; i < count; ++i) {
            result.texts.emplace_back(texts[i].key,
                                      std::string(texts[i].text, texts[i].text_length));
            result.compression.push_back(texts[i].compression);
        }
        png_timep time = nullptr;
        if (png_get_tIME(png, info, &time)) {
            result.hasTime = true;
            result.time = *time;
        }
        png_color_16p background = nullptr;
        if (png_get_bKGD(png, info, &background)) {
            result.hasBackground = true;
            result.background = *background;
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return result;
}

} // namespace velt::test
