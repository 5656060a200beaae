// Decoding speed of our PNG decoder against libpng and stb_image, and of our inflater against
// zlib, on a folder of PNG files. Every decoder produces the same thing: premultiplied BGRA,
// bottom row first, into memory it keeps between files. Prints times and ratios.
//   bench_png CORPUS_DIR [ROUNDS]
#include "imaging/Inflate.h"
#include "imaging/PixelOps.h"
#include "imaging/c32bppDIB.h"
#include "tests/imaging/LibpngOracle.h"

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <zlib.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

struct File {
    std::string name;
    Bytes bytes;
    Bytes idat;          // concatenated image data
    size_t inflated = 0; // its size once inflated
};

// Premultiplies straight BGRA in place, with the same exact division our decoder uses.
void Premultiply(uint8_t* p, size_t pixels) {
    for (size_t i = 0; i < pixels; ++i, p += 4) {
        uint32_t a = p[3];
        if (a == 255) continue;
        p[0] = static_cast<uint8_t>(velt::MulDiv255(p[0], a));
        p[1] = static_cast<uint8_t>(velt::MulDiv255(p[1], a));
        p[2] = static_cast<uint8_t>(velt::MulDiv255(p[2], a));
    }
}

// libpng: expand everything to 8-bit BGRA, rows written bottom-up, then premultiplied.
struct LibpngDecoder {
    Bytes pixels;
    std::vector<png_bytep> rows;

    struct Source {
        const Bytes* bytes;
        size_t at;
    };
    static void Read(png_structp png, png_bytep out, png_size_t count) {
        auto* source = static_cast<Source*>(png_get_io_ptr(png));
        if (source->bytes->size() - source->at < count) png_error(png, "truncated");
        std::memcpy(out, source->bytes->data() + source->at, count);
        source->at += count;
    }

    bool Decode(Source& source, png_structp png, png_infop info) {
        if (setjmp(png_jmpbuf(png))) return false;
        png_set_read_fn(png, &source, Read);
        png_read_info(png, info);
        velt::test::ExpandToBgra(png, info);
        const size_t width = png_get_image_width(png, info),
                     height = png_get_image_height(png, info);
        if (pixels.size() < width * height * 4) pixels.resize(width * height * 4);
        rows.resize(height);
        for (size_t y = 0; y < height; ++y) rows[y] = pixels.data() + (height - 1 - y) * width * 4;
        png_read_image(png, rows.data());
        Premultiply(pixels.data(), width * height);
        return true;
    }

    bool operator()(const File& file) {
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        Source source{&file.bytes, 0};
        bool ok = Decode(source, png, info);
        png_destroy_read_struct(&png, &info, nullptr);
        return ok;
    }
};

// stb_image: RGBA in memory of its own, turned into premultiplied BGRA bottom-up.
struct StbDecoder {
    Bytes pixels;
    bool operator()(const File& file) {
        int width = 0, height = 0, channels = 0;
        stbi_uc* rgba = stbi_load_from_memory(
            file.bytes.data(), static_cast<int>(file.bytes.size()), &width, &height, &channels, 4);
        if (!rgba) return false;
        const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
        if (pixels.size() < w * h * 4) pixels.resize(w * h * 4);
        for (size_t y = 0; y < h; ++y) {
            const uint8_t* from = rgba + y * w * 4;
            uint8_t* to = pixels.data() + (h - 1 - y) * w * 4;
            for (size_t x = 0; x < w; ++x, from += 4, to += 4) {
                uint32_t a = from[3];
                to[0] = static_cast<uint8_t>(velt::MulDiv255(from[2], a));
                to[1] = static_cast<uint8_t>(velt::MulDiv255(from[1], a));
                to[2] = static_cast<uint8_t>(velt::MulDiv255(from[0], a));
                to[3] = static_cast<uint8_t>(a);
            }
        }
        stbi_image_free(rgba);
        return true;
    }
};

// Ours, through the image object's own entry point; the object keeps its buffers.
struct OurDecoder {
    velt::c32bppDIB image;
    bool operator()(const File& file) { return image.LoadPicture_Stream(file.bytes); }
};

Bytes ConcatenatedIdat(const Bytes& png) {
    Bytes data;
    for (size_t at = 8; at + 12 <= png.size();) {
        uint32_t length = png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        if (length > png.size() - at - 12) break;
        if (std::memcmp(png.data() + at + 4, "IDAT", 4) == 0)
            data.insert(data.end(), png.begin() + static_cast<long>(at + 8),
                        png.begin() + static_cast<long>(at + 8 + length));
        at += 12 + length;
    }
    return data;
}

std::vector<File> LoadCorpus(const std::filesystem::path& folder) {
    std::vector<File> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".png") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        File file{entry.path().string(), Bytes(std::istreambuf_iterator<char>(in), {})};
        file.idat = ConcatenatedIdat(file.bytes);
        // The inflated size, found by inflating with room to spare.
        Bytes out(1 << 20);
        for (;;) {
            uLongf size = out.size();
            int rc = uncompress(out.data(), &size, file.idat.data(), file.idat.size());
            if (rc == Z_OK) {
                file.inflated = size;
                break;
            }
            if (rc != Z_BUF_ERROR || out.size() > (1u << 30)) break;
            out.resize(out.size() * 4);
        }
        if (file.inflated) files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end(),
              [](const File& a, const File& b) { return a.name < b.name; });
    return files;
}

// The best of rounds passes over the whole corpus, in milliseconds.
double BestPass(int rounds, const std::vector<File>& files,
                const std::function<bool(const File&)>& decode, size_t& failures) {
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        failures = 0;
        auto start = Clock::now();
        for (const File& file : files) failures += decode(file) ? 0 : 1;
        best = std::min(best,
                        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: bench_png CORPUS_DIR [ROUNDS]\n", stderr);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::vector<File> files = LoadCorpus(argv[1]);
    size_t bytes = 0, pixels = 0, large = 0;
    for (const File& f : files) {
        bytes += f.bytes.size();
        int w = 0, h = 0, c = 0;
        if (stbi_info_from_memory(f.bytes.data(), static_cast<int>(f.bytes.size()), &w, &h, &c)) {
            pixels += static_cast<size_t>(w) * static_cast<size_t>(h);
            large += w * h >= 1920 * 1080 ? 1 : 0;
        }
    }
    std::printf("corpus: %zu PNG files, %.1f MB, %.1f Mpixels, %zu of 1920x1080 or more\n",
                files.size(), bytes / 1e6, pixels / 1e6, large);

    // Ours must agree with libpng before its time means anything.
    OurDecoder ours;
    LibpngDecoder libpng;
    StbDecoder stb;
    size_t mismatches = 0;
    for (const File& f : files) {
        if (!ours(f) || !libpng(f)) {
            ++mismatches;
            continue;
        }
        size_t n = static_cast<size_t>(ours.image.scanWidth()) *
                   static_cast<size_t>(ours.image.Height());
        if (std::memcmp(ours.image.BitsPointer(), libpng.pixels.data(), n) != 0) ++mismatches;
    }
    std::printf("files where our pixels differ from libpng's: %zu\n", mismatches);

    size_t failed[3] = {};
    double tOurs = 0, tLibpng = 0, tStb = 0;
    // Interleaved, so that all three see the same machine load.
    for (int r = 0; r < rounds; ++r) {
        double a = BestPass(1, files, std::ref(ours), failed[0]);
        double b = BestPass(1, files, std::ref(libpng), failed[1]);
        double c = BestPass(1, files, std::ref(stb), failed[2]);
        tOurs = r ? std::min(tOurs, a) : a;
        tLibpng = r ? std::min(tLibpng, b) : b;
        tStb = r ? std::min(tStb, c) : c;
    }
    std::printf("\nwhole files to premultiplied BGRA (best of %d):\n", rounds);
    std::printf("  ours (zlib)  %8.1f ms  (%zu failed)\n", tOurs, failed[0]);
    std::printf("  libpng       %8.1f ms  (%zu failed)\n", tLibpng, failed[1]);
    std::printf("  stb_image    %8.1f ms  (%zu failed)\n", tStb, failed[2]);
    std::printf("  ours / libpng     = %.2f   (target at most 1.00)\n", tOurs / tLibpng);
    std::printf("  ours / stb_image  = %.2f   (stretch: below 1.00)\n", tOurs / tStb);

    Bytes out;
    size_t inflateFailures = 0;
    auto zlibPass = [&](const File& f) {
        if (out.size() < f.inflated) out.resize(f.inflated);
        uLongf size = f.inflated;
        return uncompress(out.data(), &size, f.idat.data(), f.idat.size()) == Z_OK;
    };
    auto ourPass = [&](const File& f) {
        if (out.size() < f.inflated) out.resize(f.inflated);
        return velt::InflateZlibStream(f.idat, {out.data(), f.inflated}).ok;
    };
    double tZlib = 0, tInflate = 0;
    for (int r = 0; r < rounds; ++r) {
        double a = BestPass(1, files, zlibPass, inflateFailures);
        double b = BestPass(1, files, ourPass, inflateFailures);
        tZlib = r ? std::min(tZlib, a) : a;
        tInflate = r ? std::min(tInflate, b) : b;
    }
    std::printf("\ninflating the image data (best of %d):\n", rounds);
    std::printf("  zlib uncompress  %8.1f ms\n", tZlib);
    std::printf("  our inflater     %8.1f ms  (%zu failed)\n", tInflate, inflateFailures);
    std::printf("  ours / zlib      = %.2f   (target at most 2.00)\n", tInflate / tZlib);
    return 0;
}
