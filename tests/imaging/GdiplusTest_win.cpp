#include "DrawTestSupport_win.h"
#include "PngTestSupport.h"

#include "imaging/cGDIPlus_win.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velt::test {
namespace {

std::filesystem::path TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::filesystem::path path = std::filesystem::path(folder) / name;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    return path;
}

// 5 x 3 with opaque, half-transparent and transparent pixels.
void MakeSample(c32bppDIB& image) {
    ASSERT_TRUE(image.InitializeDIB(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            image.SetPixel(x, y, static_cast<uint32_t>(x * 50 | y * 100 << 8 | 0x80 << 16),
                           x == 4 ? 0 : 255 - y * 60);
}

// Premultiplied colours survive a trip through straight alpha to within rounding.
void ExpectSamePixels(const c32bppDIB& a, const c32bppDIB& b, int tolerance) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            uint8_t alphaA = 0, alphaB = 0;
            uint32_t colourA = static_cast<uint32_t>(a.GetPixel(x, y, alphaA, true));
            uint32_t colourB = static_cast<uint32_t>(b.GetPixel(x, y, alphaB, true));
            EXPECT_EQ(alphaA, alphaB) << x << "," << y;
            EXPECT_TRUE(Near(colourA, colourB, tolerance))
                << x << "," << y << std::hex << " " << colourA << " " << colourB;
        }
}

TEST(Gdiplus, PngStreamRoundTrip) {
    c32bppDIB image, loaded;
    MakeSample(image);
    std::vector<uint8_t> png;
    ASSERT_TRUE(cGDIPlus().SaveToPNG({}, png, image));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(0, std::memcmp(png.data(), Signature().data(), 8));
    ASSERT_TRUE(loaded.LoadPicture_Stream(png));
    EXPECT_EQ(loaded.ImageType(), itPNG);
    EXPECT_TRUE(loaded.Alpha());
    ExpectSamePixels(image, loaded, 2);
    c32bppDIB ours; // the same file through our own decoder
    ASSERT_TRUE(DecodeOurs(png, ours, true));
    ExpectSamePixels(image, ours, 2);
}

TEST(Gdiplus, PngAndBitmapFilesRoundTripAndReplaceReadOnlyFiles) {
    c32bppDIB image, loaded;
    MakeSample(image);
    auto png = TempPath(L"velt-gdiplus.png");
    {
        std::vector<uint8_t> junk(100, 1);
        const std::span<const uint8_t> parts[] = {junk};
        ASSERT_TRUE(WriteWholeFile(png, parts));
        SetFileAttributesW(png.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    }
    ASSERT_TRUE(image.SaveToFile_PNG(png, false));
    ASSERT_TRUE(loaded.LoadPicture_File(png, 0, 0, true));
    ExpectSamePixels(image, loaded, 2);

    // A file held open without sharing cannot be replaced and stays as it was.
    UniqueFile held(CreateFileW(png.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(image.SaveToFile_PNG(png, false));
    held.reset();
    std::vector<uint8_t> kept, original;
    ASSERT_TRUE(ReadWholeFile(png, kept));
    ASSERT_TRUE(loaded.GetOrginalFormat(original));
    EXPECT_EQ(kept, original);
    DeleteFileW(png.c_str());

    auto bmp = TempPath(L"velt-gdiplus.bmp");
    ASSERT_TRUE(image.SaveToFile(bmp));
    std::vector<uint8_t> written, stream;
    ASSERT_TRUE(ReadWholeFile(bmp, written));
    ASSERT_TRUE(image.SaveToStream(stream));
    EXPECT_EQ(written, stream);
    DeleteFileW(bmp.c_str());
}

TEST(Gdiplus, JpegEncoding) {
    c32bppDIB image;
    MakeSample(image);
    std::vector<uint8_t> jpeg;
    ASSERT_TRUE(cGDIPlus().SaveToJPG({}, jpeg, image));
    ASSERT_GT(jpeg.size(), 2u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    c32bppDIB empty;
    EXPECT_FALSE(cGDIPlus().SaveToJPG({}, jpeg, empty));
}

TEST(Gdiplus, LoaderAgreesWithOurDecoderAndReportsPaletteTransparency) {
    std::mt19937 rng(21);
    for (PngFormat format : {PngFormat{6, 8}, PngFormat{2, 8}, PngFormat{3, 8}, PngFormat{0, 4},
                             PngFormat{6, 16}, PngFormat{0, 8}}) {
        SCOPED_TRACE(int{format.colourType});
        PngPicture picture = RandomPicture(
            format, false, format.colourType == 3 || format.bitDepth == 8, 13, 7, rng);
        std::vector<uint8_t> file = BuildPng(picture);
        c32bppDIB viaGdiplus, ours;
        ASSERT_TRUE(cGDIPlus().LoadWithGdip(nullptr, file, viaGdiplus));
        ASSERT_TRUE(DecodeOurs(file, ours, true));
        EXPECT_EQ(viaGdiplus.ImageType(), itPNG);
        // GDI+ may report opaque pictures in a format with alpha; transparency is never lost.
        EXPECT_TRUE(!ours.Alpha() || viaGdiplus.Alpha());
        ExpectSamePixels(ours, viaGdiplus, 1);
    }
    c32bppDIB host;
    ASSERT_TRUE(host.InitializeDIB(2, 2));
    std::vector<uint8_t> notAPicture(100, 7);
    EXPECT_FALSE(cGDIPlus().LoadWithGdip(nullptr, notAPicture, host));
}

// Pictures GDI+ reports in a format without an alpha channel can still carry transparency,
// such as a palette with a transparent entry: a 2 x 1 GIF, transparent then white.
TEST(Gdiplus, TransparencyCountsWhateverTheReportedFormat) {
    const uint8_t gif[] = {
        'G',  'I',  'F',  '8',  '9', 'a', 2,    0,    1,    0,
        0x80, 0,    0,    0,    0,   0,   0xFF, 0xFF, 0xFF,    // palette: black, white
        0x21, 0xF9, 4,    1,    0,   0,   0,    0,             // index 0 is transparent
        0x2C, 0,    0,    0,    0,   2,   0,    1,    0,    0, // one 2 x 1 frame
        2,    2,    0x44, 0x0A, 0,   0x3B};                    // codes: clear, 0, 1, end
    c32bppDIB image;
    ASSERT_TRUE(cGDIPlus().LoadWithGdip(nullptr, gif, image));
    EXPECT_TRUE(image.Alpha());
    uint8_t alpha = 9;
    EXPECT_EQ(image.GetPixel(0, 0, alpha, true), 0);
    EXPECT_EQ(alpha, 0);
    EXPECT_EQ(image.GetPixel(1, 0, alpha, true), 0xFFFFFF);
}

TEST(Gdiplus, OurParserStepsInWhereTheLoaderRefuses) {
    // An unknown filter type stops most decoders; ours leaves that row as it is.
    std::mt19937 rng(5);
    PngPicture picture = RandomPicture({6, 8}, false, false, 9, 6, rng);
    std::vector<uint8_t> file = Signature();
    AppendChunk(file, "IHDR", HeaderBody(9, 6, 8, 6, false));
    AppendChunk(file, "IDAT",
                Compress(Scanlines(picture, [](int row) { return row == 2 ? 9 : 1; })));
    AppendChunk(file, "IEND", {});
    c32bppDIB image, expected;
    ASSERT_TRUE(image.LoadPicture_Stream(file));
    EXPECT_EQ(image.Width(), 9);
    ASSERT_TRUE(DecodeOurs(BuildPng(picture), expected, true));
    EXPECT_EQ(PixelsOf(image), PixelsOf(expected));
}

TEST(Gdiplus, RenderWithOpacityZeroDrawsNothing) {
    c32bppDIB image;
    MakeSample(image);
    TargetDC target(5, 3, 0xFF102030);
    cGDIPlus::DrawRequest request;
    request.opacity = 0;
    request.dw = 5, request.dh = 3, request.sw = 5, request.sh = 3;
    EXPECT_TRUE(cGDIPlus().RenderWithGdip(image, target.dc(), request));
    EXPECT_EQ(target.Rgb(0, 0), 0x102030u);
}

TEST(Gdiplus, ResizedCopiesDrawOverTheTargetsPixels) {
    for (DrawPath path : {DrawPath::Gdiplus, DrawPath::AlphaBlend}) {
        c32bppDIB image, target;
        ASSERT_TRUE(image.InitializeDIB(2, 2));
        image.SetPixel(0, 0, 0xFFFFFF); // one opaque white pixel, the rest transparent
        ChoosePath(image, path);
        ASSERT_TRUE(target.InitializeDIB(4, 4));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) target.SetPixel(x, y, 0x0000FF);
        image.CopyImageTo(target, 4, 4);
        uint8_t alpha = 0;
        EXPECT_TRUE(Near(static_cast<uint32_t>(target.GetPixel(0, 0, alpha, true)), 0xFFFFFF, 2));
        EXPECT_TRUE(Near(static_cast<uint32_t>(target.GetPixel(3, 3, alpha, true)), 0x0000FF, 2));
        EXPECT_EQ(alpha, 255);
    }
}

// 4 x 4, opaque: the left half one colour, the right half another. Alpha stays false.
void MakeOpaqueHalves(c32bppDIB& image) {
    ASSERT_TRUE(image.InitializeDIB(4, 4));
    std::vector<uint8_t> bgra(4 * 4 * 4);
    for (size_t i = 0; i < 16; ++i) {
        const uint32_t colour = (i % 4) < 2 ? 0xFFC04020 : 0xFF2080C0; // 0xAARRGGBB
        std::memcpy(&bgra[i * 4], &colour, 4);
    }
    ASSERT_TRUE(image.SetDIBbits(bgra));
    ASSERT_FALSE(image.Alpha());
}

TEST(Gdiplus, EnlargedOpaquePicturesStayOpaqueToTheirLastPixel) {
    c32bppDIB image;
    MakeOpaqueHalves(image);
    image.isAlphaBlendFriendly(false); // the copy goes through GDI+
    ASSERT_TRUE(image.isGDIplusEnabled());
    ASSERT_TRUE(image.HighQualityInterpolation());
    c32bppDIB copy;
    image.CopyImageTo(copy, 16, 16);
    ASSERT_EQ(copy.Width(), 16);
    EXPECT_FALSE(copy.Alpha());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            uint8_t alpha = 0;
            copy.GetPixel(x, y, alpha, true);
            EXPECT_EQ(alpha, 255) << x << "," << y;
        }
    uint8_t alpha = 0;
    EXPECT_TRUE(Near(static_cast<uint32_t>(copy.GetPixel(15, 15, alpha, true)), 0xC08020, 2));
    EXPECT_TRUE(Near(static_cast<uint32_t>(copy.GetPixel(0, 0, alpha, true)), 0x2040C0, 2));
}

TEST(Gdiplus, StretchedDrawingKeepsTheEdgesOfThePicture) {
    c32bppDIB image;
    MakeOpaqueHalves(image);
    ASSERT_TRUE(image.HighQualityInterpolation()); // so Render chooses GDI+ to stretch
    TargetDC target(18, 18, 0xFFFFFFFF);
    ASSERT_TRUE(image.Render(target.dc(), 1, 1, 16, 16));
    for (int i = 1; i <= 16; ++i) {
        // TargetDC reads 0xRRGGBB, GetPixel gives red in the low byte.
        EXPECT_TRUE(Near(target.Rgb(16, i), 0x2080C0, 2))
            << i << std::hex << " " << target.Rgb(16, i);
        if (i <= 4 || i >= 13) { // the middle mixes the halves
            EXPECT_TRUE(Near(target.Rgb(i, 16), i <= 4 ? 0xC04020 : 0x2080C0, 2))
                << i << std::hex << " " << target.Rgb(i, 16);
        }
        EXPECT_TRUE(Near(target.Rgb(1, i), 0xC04020, 2)) << i;
    }
    EXPECT_EQ(target.Rgb(17, 17), 0xFFFFFFu);
    EXPECT_EQ(target.Rgb(0, 0), 0xFFFFFFu);
}

TEST(Gdiplus, OneStartForTheWholeProcess) {
    ASSERT_TRUE(cGDIPlus().isGDIplusOk());
    HMODULE loaded = GetModuleHandleW(L"gdiplus.dll");
    ASSERT_NE(loaded, nullptr);
    for (int i = 0; i < 3; ++i) {
        c32bppDIB image;
        EXPECT_TRUE(image.isGDIplusEnabled());
        MakeOpaqueHalves(image);
        std::vector<uint8_t> png;
        EXPECT_TRUE(image.SaveToStream_PNG(png));
    }
    // Still the same library, never unloaded and loaded again in between.
    EXPECT_EQ(GetModuleHandleW(L"gdiplus.dll"), loaded);
}

TEST(Gdiplus, ImageObjectsStartWithGdiplusAndHighQuality) {
    c32bppDIB image;
    EXPECT_TRUE(image.isGDIplusEnabled());
    EXPECT_TRUE(image.HighQualityInterpolation());
    EXPECT_TRUE(cGDIPlus().isGDIplusOk());
}

} // namespace
} // namespace velt::test
