#include "MagickOracle.h"

#include "imaging/PixelOps.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace velt::test {

namespace {

std::filesystem::path TempName(const std::string& extension) {
    static std::atomic<int> counter{0};
    std::ostringstream name;
    name << "velt-magick-" << getpid() << "-" << counter++ << "." << extension;
    return std::filesystem::temp_directory_path() / name.str();
}

std::string RunForOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

} // namespace

RgbaImage DecodeWithMagick(std::span<const uint8_t> file, const std::string& extension, int frame) {
    const auto in = TempName(extension);
    const auto out = TempName("rgba");
    {
        std::ofstream stream(in, std::ios::binary);
        stream.write(reinterpret_cast<const char*>(file.data()),
                     static_cast<std::streamsize>(file.size()));
    }
    // The real convert, not a wrapper earlier on the path; -quiet keeps warnings off stderr.
    const std::string source = "'" + in.string() + "[" + std::to_string(frame) + "]'";
    RgbaImage image;
    const std::string size = RunForOutput("/usr/bin/convert -quiet " + source +
                                          " -format '%w %h' info: 2>/dev/null");
    if (std::sscanf(size.c_str(), "%d %d", &image.width, &image.height) == 2 &&
        std::system(("/usr/bin/convert -quiet " + source +
                     " +repage -depth 8 'rgba:" + out.string() + "' 2>/dev/null")
                        .c_str()) == 0) {
        std::ifstream stream(out, std::ios::binary);
        image.rgba.assign(std::istreambuf_iterator<char>(stream), {});
        if (image.rgba.size() !=
            static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4)
            image = {};
    }
    std::error_code ignored;
    std::filesystem::remove(in, ignored);
    std::filesystem::remove(out, ignored);
    return image;
}

std::vector<uint8_t> AsImagePixels(const RgbaImage& image) {
    std::vector<uint8_t> out(image.rgba.size());
    const size_t row = static_cast<size_t>(image.width) * 4;
    for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* in = image.rgba.data() + static_cast<size_t>(y) * row;
        uint8_t* o = out.data() + static_cast<size_t>(image.height - 1 - y) * row;
        for (int32_t x = 0; x < image.width; ++x, in += 4, o += 4) {
            const uint32_t a = in[3];
            o[0] = static_cast<uint8_t>(MulDiv255(in[2], a));
            o[1] = static_cast<uint8_t>(MulDiv255(in[1], a));
            o[2] = static_cast<uint8_t>(MulDiv255(in[0], a));
            o[3] = static_cast<uint8_t>(a);
        }
    }
    return out;
}

} // namespace velt::test
