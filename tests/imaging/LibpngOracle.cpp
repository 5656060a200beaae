#include "LibpngOracle.h"

#include <csetjmp>
#include <cstring>

namespace velt::test {

namespace {

struct Reader {
    std::span<const uint8_t> file;
    size_t at = 0;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (reader->file.size() - reader->at < count) png_error(png, "truncated");
    std::memcpy(out, reader->file.data() + reader->at, count);
    reader->at += count;
}

// Everything that changes after setjmp lives in the caller's frame, so a longjmp out of libpng
// leaves no local in an indeterminate state.
bool Decode(Reader& reader, OracleImage& image, std::vector<png_bytep>& rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, ReadBytes);
    png_read_info(png, info);
    ExpandToBgra(png, info);
    image.width = png_get_image_width(png, info);
    image.height = png_get_image_height(png, info);
    image.pixels.assign(static_cast<size_t>(image.width) * image.height * 4, 0);
    rows.resize(image.height);
    for (uint32_t y = 0; y < image.height; ++y)
        rows[y] = image.pixels.data() + static_cast<size_t>(image.height - 1 - y) * image.width * 4;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace

OracleImage DecodeWithLibpng(std::span<const uint8_t> file) {
    OracleImage image;
    Reader reader{file};
    std::vector<png_bytep> rows;
    if (!Decode(reader, image, rows)) return {};
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        uint32_t a = image.pixels[i + 3];
        for (size_t c = 0; c < 3; ++c)
            image.pixels[i + c] = static_cast<uint8_t>(image.pixels[i + c] * a / 255);
    }
    return image;
}

} // namespace velt::test
