// The image object as it runs where no zlib library is found: the probe reports nothing and
// PNG files decode through our own inflater without CRC checks.
#include "PngTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velt::test {
namespace {

// The test program's own zlib, to decode a reference with.
ZlibApi LinkedZlib() {
    ZlibApi api;
    api.crc32 = ::crc32;
    api.uncompress = ::uncompress;
    return api;
}

TEST(NoZlib, ProbeFindsNothing) {
    ZlibProbeResult probe = ProbeZlib(false);
    EXPECT_FALSE(probe.found);
    EXPECT_EQ(probe.which, 0);
    EXPECT_EQ(probe.name, "zlib.dll");
    EXPECT_FALSE(probe.hasCompress2);
    EXPECT_EQ(ZlibLibrary().api(), nullptr);
    EXPECT_FALSE(c32bppDIB().isZlibEnabled());
}

TEST(NoZlib, PngFilesLoadThroughOurInflater) {
    std::mt19937 rng(77);
    ZlibApi zlib = LinkedZlib();
    PngServices reference;
    reference.zlib = &zlib;
    for (const PngFormat& format : kAllFormats) {
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE(testing::Message() << int{format.colourType} << "/" << int{format.bitDepth}
                                            << " " << interlaced);
            PngPicture picture = RandomPicture(format, interlaced, format.colourType < 4, 23, 11,
                                               rng);
            std::vector<uint8_t> file = BuildPng(picture);
            c32bppDIB image, expected;
            ASSERT_TRUE(image.LoadPicture_Stream(file));
            ASSERT_TRUE(cPNGparser(reference).LoadStream(file, expected));
            EXPECT_EQ(PixelsOf(image), PixelsOf(expected));
            EXPECT_EQ(image.Alpha(), expected.Alpha());
            EXPECT_EQ(image.ImageType(), itPNG);
        }
    }
}

TEST(NoZlib, ChunkCrcsAreNotChecked) {
    std::mt19937 rng(78);
    PngPicture picture = RandomPicture({2, 8}, false, false, 8, 8, rng);
    std::vector<uint8_t> file = Signature();
    AppendChunk(file, "IHDR", HeaderBody(8, 8, 8, 2, false), 5);
    AppendChunk(file, "IDAT", Compress(Scanlines(picture)), 5);
    AppendChunk(file, "IEND", {});
    c32bppDIB image;
    EXPECT_TRUE(image.LoadPicture_Stream(file));
}

// Our encoder needs zlib, and the native build has no other PNG writer: saves fail and leave
// neither bytes nor a file.
TEST(NoZlib, PngCannotBeWritten) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(3, 2));
    std::vector<uint8_t> png{1, 2, 3};
    EXPECT_FALSE(image.SaveToStream_PNG(png));
    EXPECT_TRUE(png.empty());
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "velt-nozlib.png";
    std::filesystem::remove(file);
    EXPECT_FALSE(image.SaveToFile_PNG(file, false));
    EXPECT_FALSE(std::filesystem::exists(file));
}

} // namespace
} // namespace velt::test
