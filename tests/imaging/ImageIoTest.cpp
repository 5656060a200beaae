#include "PngTestSupport.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>

namespace velt::test {
namespace {

std::filesystem::path TempPath(const char* name) {
    auto path = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove(path);
    return path;
}

std::vector<uint8_t> SamplePng(uint32_t width = 6, uint32_t height = 4) {
    std::mt19937 rng(3);
    PngPicture p = RandomPicture({6, 8}, false, false, width, height, rng);
    return BuildPng(p);
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<uint32_t>(bytes[at + 3]) << 24;
}

TEST(ImageLoad, StreamsMustHoldAtLeast57BytesInsideTheArray) {
    std::vector<uint8_t> file = SamplePng();
    c32bppDIB image;
    ASSERT_TRUE(image.LoadPicture_Stream(file));
    EXPECT_EQ(image.ImageType(), itPNG);
    EXPECT_TRUE(image.Alpha());
    EXPECT_FALSE(image.LoadPicture_Stream(file, 0, 0, 0, 56));
    EXPECT_EQ(image.Handle(), nullptr); // a refused load still empties the object
    EXPECT_FALSE(image.LoadPicture_Stream({}));

    std::vector<uint8_t> padded(10, 0);
    padded.insert(padded.end(), file.begin(), file.end());
    EXPECT_TRUE(image.LoadPicture_Stream(padded, 0, 0, 10, static_cast<int32_t>(file.size())));
    EXPECT_FALSE(image.LoadPicture_Stream(padded, 0, 0, 10, static_cast<int32_t>(file.size()) + 1));
    EXPECT_FALSE(image.LoadPicture_Stream(padded, 0, 0, static_cast<int32_t>(padded.size()), 60));
    EXPECT_TRUE(image.LoadPicture_Stream(padded, 0, 0, 10, 0)); // 0: to the end
}

TEST(ImageLoad, DamagedPngLoadsNothing) {
    std::vector<uint8_t> file = SamplePng();
    file.resize(file.size() - 20);
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(4, 4));
    EXPECT_FALSE(image.LoadPicture_Stream(file));
    EXPECT_EQ(image.Handle(), nullptr);
    EXPECT_EQ(image.ImageType(), itNone);
}

TEST(ImageLoad, FilesAndTheirOriginalBytes) {
    std::vector<uint8_t> file = SamplePng(9, 5);
    auto path = TempPath("velt-imaging-load.png");
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()),
                  static_cast<std::streamsize>(file.size()));
    }
    c32bppDIB image;
    ASSERT_TRUE(image.LoadPicture_File(path, 0, 0, true));
    EXPECT_EQ(image.Width(), 9);
    std::vector<uint8_t> original;
    ASSERT_TRUE(image.GetOrginalFormat(original));
    EXPECT_EQ(original, file);
    std::vector<uint8_t> pixels = PixelsOf(image);
    image.SetPixel(0, 0, 0, 0);
    ASSERT_TRUE(image.LoadPicture_FromOrignalFormat(0, 0, 32));
    EXPECT_EQ(PixelsOf(image), pixels);
    EXPECT_TRUE(image.GetOrginalFormat(original)); // kept by the reload

    ASSERT_TRUE(image.LoadPicture_File(path));
    EXPECT_FALSE(image.GetOrginalFormat(original));
    EXPECT_FALSE(image.LoadPicture_File(TempPath("velt-imaging-missing.png")));
    EXPECT_EQ(image.Handle(), nullptr);
    std::filesystem::resize_file(path, 56);
    EXPECT_FALSE(image.LoadPicture_File(path));
    std::filesystem::remove(path);
}

TEST(ImageSave, BitmapLayoutFollowsTheAlphaFlag) {
    c32bppDIB image;
    std::vector<uint8_t> bmp;
    EXPECT_FALSE(image.SaveToStream(bmp));
    ASSERT_TRUE(image.InitializeDIB(3, 2));
    image.SetPixel(0, 0, 0x0000FF, 128);
    ASSERT_TRUE(image.Alpha());
    ASSERT_TRUE(image.SaveToStream(bmp));
    ASSERT_EQ(bmp.size(), 54u + 24);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(U32At(bmp, 2), 54u + 24);
    EXPECT_EQ(U32At(bmp, 10), 54u);
    EXPECT_EQ(U32At(bmp, 14), 40u);
    EXPECT_EQ(U32At(bmp, 18), 3u);
    EXPECT_EQ(U32At(bmp, 22), 2u);
    EXPECT_EQ(bmp[28], 32);
    EXPECT_EQ(U32At(bmp, 34), 24u);
    EXPECT_EQ(0, std::memcmp(bmp.data() + 54, image.BitsPointer(), 24)); // premultiplied, as stored

    std::vector<uint8_t> opaque(24, 0xFF);
    ASSERT_TRUE(image.SetDIBbits(opaque));
    ASSERT_FALSE(image.Alpha());
    ASSERT_TRUE(image.SaveToStream(bmp));
    ASSERT_EQ(bmp.size(), 54u + 24); // two rows of 9 bytes padded to 12
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(bmp[54 + 9], 0);
    EXPECT_EQ(bmp[54 + 8], 0xFF);

    auto path = TempPath("velt-imaging-save.bmp");
    EXPECT_FALSE(image.SaveToFile(""));
    ASSERT_TRUE(image.SaveToFile(path));
    std::vector<uint8_t> written;
    ASSERT_TRUE(ReadWholeFile(path, written));
    EXPECT_EQ(written, bmp);
    // Nobody can be asked here, so an existing file is kept unless the caller says otherwise.
    image.SetPixel(0, 0, 0x00FF00, 255);
    EXPECT_FALSE(image.SaveToFile(path));
    ASSERT_TRUE(ReadWholeFile(path, written));
    EXPECT_EQ(written, bmp);
    EXPECT_TRUE(image.SaveToFile(path, false));
    std::filesystem::remove(path);
}

TEST(ImageCopy, SameSizeMirrorAndScale) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(2, 1));
    image.SetPixel(0, 0, 0x0000FF);
    image.SetPixel(1, 0, 0x00FF00, 128);
    std::unique_ptr<c32bppDIB> copy;
    image.CopyImageTo(copy);
    ASSERT_TRUE(copy);
    EXPECT_EQ(PixelsOf(*copy), PixelsOf(image));
    EXPECT_TRUE(copy->Alpha());

    uint8_t alpha = 0;
    image.CopyImageTo(*copy, -2, 1);
    EXPECT_EQ(copy->GetPixel(1, 0, alpha, true), 0xFF);
    EXPECT_EQ(copy->GetPixel(0, 0, alpha, true), (255 * 128 / 255) << 8);

    image.CopyImageTo(*copy, -4, 2); // mirrored and resized
    ASSERT_EQ(copy->Width(), 4);
    EXPECT_EQ(copy->GetPixel(3, 1, alpha, true), 0xFF);
    EXPECT_EQ(copy->GetPixel(0, 1, alpha, false), 0xFF00);

    image.CopyImageTo(*copy, 4, 3);
    EXPECT_EQ(copy->Height(), 3);
    EXPECT_EQ(copy->GetPixel(0, 2, alpha, true), 0xFF);
    EXPECT_EQ(copy->GetPixel(3, 2, alpha, false), 0xFF00);
    EXPECT_EQ(alpha, 128);
}

TEST(ImageCapabilities, NativeBuildHasNeitherGdiNorGdiplus) {
    c32bppDIB image;
    EXPECT_EQ(image.CapabilityFlags(), uint32_t{cfNoGdiPlus});
    image.isAlphaBlendFriendly(true);
    EXPECT_FALSE(image.isAlphaBlendFriendly());
    image.isGDIplusEnabled(true);
    EXPECT_FALSE(image.isGDIplusEnabled());
    EXPECT_FALSE(image.HighQualityInterpolation());
    EXPECT_TRUE(image.isZlibEnabled());
    ASSERT_TRUE(image.InitializeDIB(1, 1));
    std::vector<uint8_t> png;
    EXPECT_TRUE(image.SaveToStream_PNG(png)); // through our own encoder, which needs only zlib
}

} // namespace
} // namespace velt::test
