// The fuzz seeds are small pictures of our own with known results (tools/fuzz/seeds/MANIFEST.txt):
// each decodes like libpng decodes it, and the past crashers make no image.
#include "LibpngOracle.h"
#include "PngTestSupport.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

namespace velt::test {
namespace {

const std::filesystem::path kFuzz = VELT_FUZZ_DIR;

TEST(Seeds, DecodeLikeLibpng) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kFuzz / "seeds")) {
        if (entry.path().extension() != ".png") continue;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::vector<uint8_t> file;
        ASSERT_TRUE(ReadWholeFile(entry.path(), file));
        c32bppDIB ours, withoutZlib;
        ASSERT_TRUE(DecodeOurs(file, ours, true));
        ASSERT_TRUE(DecodeOurs(file, withoutZlib, false));
        ++count;
        if (name == "rgb8-bad-ihdr-crc.png") {
            EXPECT_EQ(ours.Handle(), nullptr);
            EXPECT_NE(withoutZlib.Handle(), nullptr);
            continue;
        }
        ASSERT_NE(ours.Handle(), nullptr);
        EXPECT_EQ(PixelsOf(ours), PixelsOf(withoutZlib));
        if (name == "palette2-no-plte.png") { // libpng refuses a palette image without PLTE
            for (size_t i = 0; i < PixelsOf(ours).size(); i += 4)
                EXPECT_EQ(PixelsOf(ours)[i + 3], 255);
            continue;
        }
        EXPECT_EQ(PixelsOf(ours), DecodeWithLibpng(file).pixels);
    }
    EXPECT_EQ(count, 20);
}

TEST(Seeds, PastCrashersMakeNoImage) {
    for (const auto& entry : std::filesystem::directory_iterator(kFuzz / "crashers")) {
        if (entry.path().extension() != ".png") continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::vector<uint8_t> file;
        ASSERT_TRUE(ReadWholeFile(entry.path(), file));
        for (bool withZlib : {true, false}) {
            c32bppDIB image;
            DecodeOurs(file, image, withZlib);
            EXPECT_EQ(image.Handle(), nullptr);
        }
    }
}

} // namespace
} // namespace velt::test
