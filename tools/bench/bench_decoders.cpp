// Decoding speed of our bitmap and GIF decoders against stb_image, on a folder of .bmp and .gif
// files. Both produce the same thing: premultiplied BGRA, bottom row first. Prints times and
// ratios, and how many files decode to different pixels where the two decoders' rules agree.
//   bench_decoders CORPUS_DIR [ROUNDS]
#include "imaging/PixelOps.h"
#include "imaging/c32bppDIB.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#include <stb/stb_image.h>

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

struct File {
    std::string name;
    Bytes bytes;
    bool gif = false;
    bool runLength = false; // stb_image does not read run-length bitmaps
    bool fields32 = false;  // 32-bit bit fields: opaque for the system and us, alpha for stb_image
};

// stb_image: RGBA in memory of its own, turned into premultiplied BGRA bottom-up.
struct StbDecoder {
    Bytes pixels;
    int width = 0, height = 0;
    bool operator()(const File& file) {
        int channels = 0;
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

// Ours, through the image object's own entry point (the load dispatcher tries PNG first).
struct OurDecoder {
    velt::c32bppDIB image;
    bool operator()(const File& file) { return image.LoadPicture_Stream(file.bytes); }
};

std::vector<File> LoadCorpus(const std::filesystem::path& folder) {
    std::vector<File> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](char c) { return static_cast<char>(c | 0x20); });
        if (extension != ".bmp" && extension != ".gif") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        File file{entry.path().string(), Bytes(std::istreambuf_iterator<char>(in), {})};
        if (file.bytes.size() < 57) continue; // the image object refuses these
        file.gif = extension == ".gif";
        file.runLength = !file.gif && file.bytes.size() > 34 &&
                         (file.bytes[30] == 1 || file.bytes[30] == 2) && file.bytes[31] == 0;
        file.fields32 = !file.gif && file.bytes.size() > 34 && file.bytes[28] == 32 &&
                        file.bytes[30] == 3 && file.bytes[31] == 0;
        files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end(),
              [](const File& a, const File& b) { return a.name < b.name; });
    return files;
}

double Pass(const std::vector<const File*>& files, const std::function<bool(const File&)>& decode,
            size_t& failures) {
    failures = 0;
    auto start = Clock::now();
    for (const File* file : files) failures += decode(*file) ? 0 : 1;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Result {
    double ours = 0, stb = 0;
    size_t oursFailed = 0, stbFailed = 0;
};

Result Time(const std::vector<const File*>& files, int rounds, OurDecoder& ours, StbDecoder& stb) {
    Result best;
    for (int r = 0; r < rounds; ++r) { // interleaved, so that both see the same machine load
        size_t a = 0, b = 0;
        double tOurs = Pass(files, std::ref(ours), a);
        double tStb = Pass(files, std::ref(stb), b);
        best.ours = r ? std::min(best.ours, tOurs) : tOurs;
        best.stb = r ? std::min(best.stb, tStb) : tStb;
        best.oursFailed = a;
        best.stbFailed = b;
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: bench_decoders CORPUS_DIR [ROUNDS]\n", stderr);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const std::vector<File> files = LoadCorpus(argv[1]);
    OurDecoder ours;
    StbDecoder stb;

    // Pixels first: where both decode a file to the same size, the pixels must be the same.
    // Where the sizes differ the rules differ (a GIF frame smaller than its screen is shown at
    // its own size here, on the screen by stb_image), and so they do for 32-bit bit-field
    // bitmaps (opaque here, as the system shows them; stb_image keeps an alpha mask's alpha).
    std::vector<const File*> bitmaps, gifs, runLength;
    size_t compared = 0, differ = 0, sizesDiffer = 0, bytes = 0, pixels = 0;
    for (const File& f : files) {
        bytes += f.bytes.size();
        const bool o = ours(f);
        if (o)
            pixels += static_cast<size_t>(ours.image.Width()) *
                      static_cast<size_t>(ours.image.Height());
        if (f.runLength) {
            if (o) runLength.push_back(&f);
            continue;
        }
        const bool s = stb(f);
        if (o && s) (f.gif ? gifs : bitmaps).push_back(&f);
        if (!o || !s) {
            std::printf("  not compared (%s%s): %s\n", o ? "" : "ours refused",
                        !o && !s ? ", "
                        : s      ? ""
                                 : "stb_image refused",
                        f.name.c_str());
            continue;
        }
        if (ours.image.Width() != stb.width || ours.image.Height() != stb.height || f.fields32) {
            ++sizesDiffer;
            continue;
        }
        ++compared;
        const size_t n = static_cast<size_t>(ours.image.scanWidth()) *
                         static_cast<size_t>(ours.image.Height());
        if (std::memcmp(ours.image.BitsPointer(), stb.pixels.data(), n) != 0) {
            ++differ;
            std::printf("  pixels differ: %s\n", f.name.c_str());
        }
    }
    std::printf("corpus: %zu files (%zu bitmaps, %zu GIFs, %zu run-length bitmaps), %.1f MB, %.1f "
                "Mpixels\n",
                files.size(), bitmaps.size(), gifs.size(), runLength.size(), bytes / 1e6,
                pixels / 1e6);
    std::printf("compared with stb_image: %zu files, %zu with different pixels; %zu where the "
                "picture's size "
                "rules differ\n",
                compared, differ, sizesDiffer);

    const Result b = Time(bitmaps, rounds, ours, stb);
    const Result g = Time(gifs, rounds, ours, stb);
    std::printf("\nwhole files to premultiplied BGRA (best of %d):\n", rounds);
    std::printf("  bitmaps  ours %8.1f ms   stb_image %8.1f ms   ours / stb_image = %.2f  (target "
                "at most 1.00)\n",
                b.ours, b.stb, b.ours / b.stb);
    std::printf("  GIFs     ours %8.1f ms   stb_image %8.1f ms   ours / stb_image = %.2f  (target "
                "at most 1.00)\n",
                g.ours, g.stb, g.ours / g.stb);
    std::printf("  both     ours / stb_image = %.2f\n", (b.ours + g.ours) / (b.stb + g.stb));
    size_t failed = 0;
    double tRle = 1e300;
    for (int r = 0; r < rounds; ++r) tRle = std::min(tRle, Pass(runLength, std::ref(ours), failed));
    if (!runLength.empty())
        std::printf("  run-length bitmaps, ours only (stb_image does not read them): %.1f ms\n",
                    tRle);
    return 0;
}
