// Encoding size and speed of our PNG writer against libpng at level 9 with its default filters,
// on a folder of PNG files decoded by our own decoder. Prints totals and ratios.
//   bench_png_encode CORPUS_DIR [ROUNDS]
// libpng writes each picture twice: in the colour type, palette and key our writer chose (the
// same samples, so the comparison is of filtering and compression), and as the 8-bit RGB or
// RGBA a plain writer of 32-bit pictures would give. Its input rows are made before the clock
// starts; ours starts from the image object.
#include "imaging/PngEncoder.h"
#include "imaging/PngWriter.h"
#include "imaging/c32bppDIB.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <png.h>

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

// What libpng is given for one picture: IHDR values, PLTE, tRNS and the unfiltered rows.
struct LibpngInput {
    uint32_t width = 0, height = 0;
    int colourType = 0;
    Bytes palette;      // red, green, blue triples
    Bytes transparency; // tRNS body
    Bytes rows;         // height rows of width x channels bytes
    size_t rowBytes = 0;
};

struct Picture {
    std::string name;
    std::unique_ptr<velt::c32bppDIB> image;
    LibpngInput sameLayout;
    LibpngInput truecolour;
};

LibpngInput SameLayout(const velt::c32bppDIB& image) {
    const velt::PixelView pixels = image.Pixels();
    const velt::PngLayout layout = velt::ChoosePngLayout(pixels, image.Alpha());
    LibpngInput in;
    in.width = static_cast<uint32_t>(pixels.width);
    in.height = static_cast<uint32_t>(pixels.height);
    in.colourType = layout.colourType;
    in.palette = layout.palette;
    in.transparency = layout.transparency;
    in.rowBytes = static_cast<size_t>(pixels.width) * layout.bytesPerPixel;
    in.rows.resize(in.rowBytes * in.height);
    for (int32_t y = 0; y < pixels.height; ++y)
        velt::LayoutRow(layout, pixels, image.Alpha(), y,
                        &in.rows[static_cast<size_t>(y) * in.rowBytes]);
    return in;
}

// Straight RGB (no alpha flag) or RGBA, colours divided by alpha and rounded up.
LibpngInput Truecolour(const velt::c32bppDIB& image) {
    const velt::PixelView pixels = image.Pixels();
    LibpngInput in;
    in.width = static_cast<uint32_t>(pixels.width);
    in.height = static_cast<uint32_t>(pixels.height);
    const size_t channels = image.Alpha() ? 4 : 3;
    in.colourType = image.Alpha() ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    in.rowBytes = in.width * channels;
    in.rows.resize(in.rowBytes * in.height);
    for (int32_t y = 0; y < pixels.height; ++y) {
        const uint8_t* p = pixels.Row(y);
        uint8_t* out = &in.rows[static_cast<size_t>(y) * in.rowBytes];
        for (int32_t x = 0; x < pixels.width; ++x, p += 4, out += channels) {
            const uint32_t a = p[3];
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>(
                    a == 0 ? 0 : std::min<uint32_t>(255, (p[2 - c] * 255 + a - 1) / a));
            if (channels == 4) out[3] = static_cast<uint8_t>(a);
        }
    }
    return in;
}

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

bool WriteWithLibpng(const LibpngInput& in, Bytes& out, std::vector<png_bytep>& rows) {
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    bool ok = false;
    if (!setjmp(png_jmpbuf(png))) {
        png_set_write_fn(png, &out, Append, NoFlush);
        png_set_compression_level(png, 9);
        png_set_IHDR(png, info, in.width, in.height, 8, in.colourType, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (!in.palette.empty())
            png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(in.palette.data()),
                         static_cast<int>(in.palette.size() / 3));
        if (!in.transparency.empty()) {
            if (in.colourType == PNG_COLOR_TYPE_PALETTE) {
                png_set_tRNS(png, info, in.transparency.data(),
                             static_cast<int>(in.transparency.size()), nullptr);
            } else {
                png_color_16 key{};
                key.gray = key.red = in.transparency[1];
                if (in.transparency.size() == 6)
                    key.green = in.transparency[3], key.blue = in.transparency[5];
                png_set_tRNS(png, info, nullptr, 0, &key);
            }
        }
        rows.resize(in.height);
        for (uint32_t y = 0; y < in.height; ++y)
            rows[y] = const_cast<png_bytep>(&in.rows[y * in.rowBytes]);
        png_set_rows(png, info, rows.data());
        png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return ok;
}

std::vector<Picture> LoadCorpus(const std::filesystem::path& folder) {
    std::vector<Picture> pictures;
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".png")
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        Bytes bytes((std::istreambuf_iterator<char>(in)), {});
        Picture picture{path.string(), std::make_unique<velt::c32bppDIB>(), {}, {}};
        if (!picture.image->LoadPicture_Stream(bytes)) continue;
        picture.sameLayout = SameLayout(*picture.image);
        picture.truecolour = Truecolour(*picture.image);
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: bench_png_encode CORPUS_DIR [ROUNDS]\n", stderr);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::vector<Picture> pictures = LoadCorpus(argv[1]);
    size_t pixels = 0;
    size_t types[7] = {};
    for (const Picture& p : pictures) {
        pixels += static_cast<size_t>(p.image->Width()) * static_cast<size_t>(p.image->Height());
        ++types[p.sameLayout.colourType];
    }
    std::printf("corpus: %zu pictures, %.1f Mpixels; our writer chose grey %zu, palette %zu, "
                "truecolour %zu, truecolour with alpha %zu\n",
                pictures.size(), pixels / 1e6, types[0], types[3], types[2], types[6]);

    // Ours must give back the pictures exactly before its sizes mean anything.
    velt::cPNGwriter defaults, adaptive;
    adaptive.SetProperty(velt::pngFilter, 6);
    size_t mismatches = 0;
    Bytes out;
    for (const Picture& p : pictures) {
        velt::c32bppDIB back;
        if (!defaults.WritePng(*p.image, {}, out) || !back.LoadPicture_Stream(out) ||
            std::memcmp(back.BitsPointer(), p.image->BitsPointer(),
                        static_cast<size_t>(p.image->scanWidth()) *
                            static_cast<size_t>(p.image->Height())) != 0)
            ++mismatches;
    }
    std::printf("pictures our file does not give back exactly: %zu\n", mismatches);

    enum { kOurs, kOursAdaptive, kLibpngSame, kLibpngTruecolour, kRuns };
    const char* names[kRuns] = {"ours, default filters", "ours, adaptive (choice 6)",
                                "libpng, same colour type", "libpng, 8-bit RGB/RGBA"};
    size_t sizes[kRuns] = {};
    size_t failures[kRuns] = {};
    std::vector<png_bytep> rows;
    // Each picture by every encoder in turn, so that all of them see the same machine load; the
    // quickest of the rounds counts for each picture and encoder.
    std::vector<std::array<double, kRuns>> fastest(pictures.size());
    for (auto& f : fastest) f.fill(1e300);
    for (int r = 0; r < rounds; ++r) {
        for (size_t i = 0; i < pictures.size(); ++i) {
            const Picture& p = pictures[i];
            for (int run = 0; run < kRuns; ++run) {
                const auto start = Clock::now();
                bool ok;
                switch (run) {
                case kOurs: ok = defaults.WritePng(*p.image, {}, out); break;
                case kOursAdaptive: ok = adaptive.WritePng(*p.image, {}, out); break;
                case kLibpngSame: ok = WriteWithLibpng(p.sameLayout, out, rows); break;
                default: ok = WriteWithLibpng(p.truecolour, out, rows); break;
                }
                fastest[i][static_cast<size_t>(run)] = std::min(
                    fastest[i][static_cast<size_t>(run)], Milliseconds(start));
                if (r == 0) {
                    sizes[run] += out.size();
                    failures[run] += ok ? 0 : 1;
                }
            }
        }
    }
    double best[kRuns] = {};
    for (const auto& f : fastest)
        for (int run = 0; run < kRuns; ++run) best[run] += f[static_cast<size_t>(run)];
    std::printf("\nencoding every picture, level 9 (each the quickest of %d):\n", rounds);
    for (int run = 0; run < kRuns; ++run)
        std::printf("  %-28s %10.1f ms  %12zu bytes  (%zu failed)\n", names[run], best[run],
                    sizes[run], failures[run]);
    auto ratio = [&](int a, int b) {
        return static_cast<double>(sizes[a]) / static_cast<double>(sizes[b]);
    };
    std::printf(
        "\n  size  ours / libpng same type   = %.3f   (target at most 1.00, stretch 0.96)\n",
        ratio(kOurs, kLibpngSame));
    std::printf("  time  ours / libpng same type   = %.2f    (target at most 1.00)\n",
                best[kOurs] / best[kLibpngSame]);
    std::printf("  size  ours / libpng RGB(A)      = %.3f\n", ratio(kOurs, kLibpngTruecolour));
    std::printf("  time  ours / libpng RGB(A)      = %.2f\n",
                best[kOurs] / best[kLibpngTruecolour]);
    std::printf("  size  adaptive / libpng same    = %.3f\n", ratio(kOursAdaptive, kLibpngSame));
    std::printf("  time  adaptive / libpng same    = %.2f\n",
                best[kOursAdaptive] / best[kLibpngSame]);
    return 0;
}
