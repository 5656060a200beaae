// The decoders on Windows: our bitmap and icon decoding gives what the system's picture loader
// gives, standard pictures, handles, the clipboard and numeric resources load, the system
// loader is only handed bytes that pass the check, and optional libraries come only from the
// application's and the system folder.
#include "BmpBuilder.h"
#include "DrawTestSupport_win.h"
#include "IcoBuilder.h"

#include "imaging/BmpParser.h"
#include "imaging/IcoParser.h"
#include "imaging/ZlibBinding.h"
#include "imaging/cGDIPlus_win.h"
#include "imaging/modParsers_win.h"
#include "platform/ComRef_win.h"
#include "platform/TrustedLibrary_win.h"

#include <gtest/gtest.h>

#include <olectl.h>

#include <filesystem>

namespace velt::test {
namespace {

std::vector<uint8_t> PixelsOf(const c32bppDIB& image) {
    const uint8_t* bits = image.BitsPointer();
    if (!bits) return {};
    return {bits,
            bits + static_cast<size_t>(image.scanWidth()) * static_cast<size_t>(image.Height())};
}

// The system loader straight, without our check: for files we made ourselves.
ComRef<IPicture> SystemPicture(const std::vector<uint8_t>& bytes) {
    ComRef<IStream> stream(StreamOverCopy(bytes));
    IPicture* picture = nullptr;
    if (!stream || FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE,
                                         IID_IPicture, reinterpret_cast<void**>(&picture))))
        return ComRef<IPicture>();
    return ComRef<IPicture>(picture);
}

TEST(SystemPath, BitmapsDecodeAsTheSystemLoaderDecodesThem) {
    std::mt19937 rng(41);
    std::vector<std::pair<const char*, BmpPicture>> variants;
    for (uint16_t bits : {1, 4, 8, 16, 24})
        for (int32_t width : {1, 5, 17})
            variants.push_back({"plain", RandomBmp(width, 6, bits, rng)});
    BmpPicture fields = RandomBmp(9, 4, 16, rng);
    fields.compression = 3;
    fields.masks[0] = 0xF800, fields.masks[1] = 0x07E0, fields.masks[2] = 0x001F;
    variants.push_back({"5-6-5", fields});
    fields.masks[0] = 0x0F00, fields.masks[1] = 0x00F0, fields.masks[2] = 0x000F;
    variants.push_back({"4-4-4", fields});
    BmpPicture fields32 = RandomBmp(7, 3, 32, rng);
    fields32.compression = 3;
    fields32.masks[0] = 0xFF0000, fields32.masks[1] = 0xFF00, fields32.masks[2] = 0xFF;
    variants.push_back({"32-bit bit fields", fields32});
    variants.push_back({"top-down", RandomBmp(8, -5, 24, rng)});
    for (uint16_t bits : {4, 8}) {
        BmpPicture p = RandomBmp(23, 7, bits, rng);
        for (size_t i = 0; i < p.samples.size(); ++i)
            if ((i / 5) % 2) p.samples[i] = p.samples[i - i % 5];
        p.compression = bits == 8 ? 1 : 2;
        p.rle = EncodeRle(p.samples, p.width, p.rows(), bits == 4);
        variants.push_back({"run-length", p});
    }
    for (const auto& [name, picture] : variants) {
        SCOPED_TRACE(::testing::Message()
                     << name << ", " << picture.bitCount << " bits, " << picture.width);
        const std::vector<uint8_t> file = BuildBmp(picture);
        c32bppDIB ours, system;
        ASSERT_TRUE(cBMPparser().LoadStream(file, ours));
        ComRef<IPicture> standard = SystemPicture(file);
        ASSERT_TRUE(standard);
        ASSERT_TRUE(cBMPparser::ConvertstdPicTo32bpp(standard.get(), system));
        EXPECT_EQ(system.ImageType(), itBitmap);
        EXPECT_EQ(ours.ImageType(), system.ImageType());
        EXPECT_EQ(ours.Alpha(), system.Alpha());
        EXPECT_EQ(PixelsOf(ours), PixelsOf(system));
    }
}

TEST(SystemPath, IconEntriesDecodeAsTheSystemMakesIcons) {
    std::mt19937 rng(42);
    for (uint16_t bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        const std::vector<uint8_t> file = BuildIco(
            {BitmapEntry(RandomBmp(16, 16, bits, rng), RandomMask(16, 16, rng))});
        c32bppDIB ours, system;
        ASSERT_TRUE(cICOparser().LoadStream(file, 16, 16, &ours));
        ComRef<IPicture> standard = SystemPicture(file);
        ASSERT_TRUE(standard);
        ASSERT_TRUE(system.LoadPicture_StdPicture(standard.get()));
        EXPECT_EQ(system.ImageType(), itIcon);
        EXPECT_TRUE(system.Alpha());
        EXPECT_EQ(PixelsOf(ours), PixelsOf(system));
    }
}

TEST(SystemPath, OnlyCheckedBytesReachTheSystemLoader) {
    std::mt19937 rng(43);
    const std::vector<uint8_t> bmp = BuildBmp(RandomBmp(8, 8, 24, rng));
    EXPECT_TRUE(ComRef<IPicture>(ArrayToPicture(bmp)));
    const std::vector<uint8_t> shortBmp(bmp.begin(), bmp.end() - 1);
    EXPECT_FALSE(ComRef<IPicture>(ArrayToPicture(shortBmp)));
    c32bppDIB image;
    EXPECT_FALSE(image.LoadPicture_Stream(shortBmp)); // ours refuses it, and nobody else sees it

    std::vector<uint8_t> icon = BuildIco({BitmapEntry(RandomBmp(16, 16, 8, rng))});
    EXPECT_TRUE(ComRef<IPicture>(ArrayToPicture(icon)));
    SetLE32(icon, 6 + 8, static_cast<uint32_t>(icon.size())); // the entry runs past the end
    EXPECT_FALSE(ComRef<IPicture>(ArrayToPicture(icon)));
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0,
                                      ',', 0,   0,   0,   0,   1,   0, 1, 0, 0, 2, 0, 0x3B};
    EXPECT_FALSE(ComRef<IPicture>(ArrayToPicture(gif)));
}

TEST(SystemPath, JpegGoesToTheSystemLoader) {
    if (!cGDIPlus().isGDIplusOk()) GTEST_SKIP() << "no GDI+ to write the JPEG";
    c32bppDIB source;
    ASSERT_TRUE(source.InitializeDIB(40, 30));
    std::vector<uint8_t> grey(40 * 30 * 4, 0x80);
    for (size_t i = 3; i < grey.size(); i += 4) grey[i] = 255;
    ASSERT_TRUE(source.SetDIBbits(grey));
    std::vector<uint8_t> jpeg;
    ASSERT_TRUE(cGDIPlus().SaveToJPG({}, jpeg, source));
    c32bppDIB image;
    ASSERT_TRUE(image.LoadPicture_Stream(jpeg));
    EXPECT_EQ(image.Width(), 40);
    EXPECT_EQ(image.Height(), 30);
    EXPECT_EQ(image.ImageType(), itBitmap);
    EXPECT_FALSE(image.Alpha());
    uint8_t alpha = 0;
    EXPECT_TRUE(Near(static_cast<uint32_t>(image.GetPixel(20, 15, alpha, true)), 0x808080, 6));
    EXPECT_EQ(alpha, 255);
}

// A 4 x 2 picture: colours in the top row, a mask that clears the right half.
struct IconParts {
    UniqueBitmap colour, mask;
};

IconParts MakeIconParts() {
    IconParts parts;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 2, 1, 32, BI_RGB};
    void* bits = nullptr;
    parts.colour.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* p = static_cast<uint32_t*>(bits);
    const uint32_t colours[8] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF,
                                 0x102030, 0x405060, 0x708090, 0xA0B0C0};
    for (int i = 0; i < 8; ++i) p[i] = colours[i]; // bottom row first
    const uint16_t maskRows[2] = {0x30, 0x30};     // each row one word: bits 2 and 3 set
    parts.mask.reset(CreateBitmap(4, 2, 1, 1, maskRows));
    return parts;
}

TEST(PictureLoads, IconAndCursorHandlesTakeTheirMask) {
    for (bool isIcon : {true, false}) {
        IconParts parts = MakeIconParts();
        ICONINFO info{isIcon, 0, 0, parts.mask.get(), parts.colour.get()};
        UniqueIcon icon(CreateIconIndirect(&info));
        ASSERT_TRUE(icon);
        c32bppDIB image;
        ASSERT_TRUE(image.LoadPicture_ByHandle(icon.get()));
        EXPECT_EQ(image.ImageType(), isIcon ? itIcon : itCursor);
        EXPECT_TRUE(image.Alpha());
        uint8_t alpha = 0;
        EXPECT_EQ(image.GetPixel(0, 1, alpha, true), 0xFF0000); // blue, red in the low byte
        EXPECT_EQ(alpha, 255);
        EXPECT_EQ(image.GetPixel(3, 0, alpha, true), 0);
        EXPECT_EQ(alpha, 0);
    }
}

TEST(PictureLoads, BitmapHandlesClipboardAndResources) {
    IconParts parts = MakeIconParts();
    c32bppDIB image;
    ASSERT_TRUE(image.LoadPicture_ByHandle(parts.colour.get()));
    EXPECT_EQ(image.ImageType(), itBitmap);
    EXPECT_FALSE(image.Alpha());
    EXPECT_EQ(image.Width(), 4);
    uint8_t alpha = 0;
    EXPECT_EQ(image.GetPixel(1, 1, alpha, true), 0x00FF00);
    EXPECT_EQ(alpha, 255);

    {
        OpenedClipboard clipboard;
        ASSERT_TRUE(clipboard);
        EmptyClipboard();
    }
    EXPECT_FALSE(image.LoadPicture_ClipBoard());
    {
        OpenedClipboard clipboard;
        ASSERT_TRUE(clipboard);
        EmptyClipboard();
        HBITMAP copy = static_cast<HBITMAP>(CopyImage(parts.colour.get(), IMAGE_BITMAP, 0, 0, 0));
        ASSERT_TRUE(SetClipboardData(CF_BITMAP, copy)); // the clipboard owns it now
    }
    ASSERT_TRUE(image.LoadPicture_ClipBoard());
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.GetPixel(2, 1, alpha, true), 0x0000FF);
    {
        OpenedClipboard clipboard;
        ASSERT_TRUE(clipboard);
        EmptyClipboard();
    }

    ASSERT_TRUE(image.LoadPicture_Resource(L"SAMPLEBMP", 0, nullptr));
    EXPECT_EQ(image.Width(), 13);
    EXPECT_EQ(image.ImageType(), itBitmap);
    ASSERT_TRUE(image.LoadPicture_Resource(L"SAMPLEICON", 1, nullptr, 32, 32));
    EXPECT_EQ(image.Width(), 32);
    EXPECT_EQ(image.ImageType(), itIcon);
    EXPECT_FALSE(image.LoadPicture_Resource(L"SAMPLEICON", 3, nullptr));
}

// An .emf file's bytes: none of our decoders reads them, the system loader does.
TEST(PictureLoads, MetafilesAreTransparentWhereNothingWasDrawn) {
    HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(recorder);
    // A metafile's frame is the bounds of what it drew: two squares with a gap between them.
    UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    RECT left{0, 0, 40, 40}, right{60, 0, 100, 40};
    FillRect(recorder, &left, red.get());
    FillRect(recorder, &right, red.get());
    HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
    ASSERT_TRUE(metafile);
    std::vector<uint8_t> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(metafile);
    c32bppDIB image;
    ASSERT_TRUE(image.LoadPicture_Stream(bytes));
    EXPECT_EQ(image.ImageType(), itEnhMetafile);
    EXPECT_TRUE(image.Alpha());
    uint8_t alpha = 0;
    const int32_t square = image.GetPixel(image.Width() / 5, image.Height() / 2, alpha, true);
    EXPECT_EQ(alpha, 255);
    EXPECT_TRUE(Near(static_cast<uint32_t>(square), 0x0000FF, 2)); // red, low byte first
    EXPECT_EQ(image.GetPixel(image.Width() / 2, image.Height() / 2, alpha, true), 0);
    EXPECT_EQ(alpha, 0);
}

TEST(TrustedLibraries, APlantedLibraryInTheCurrentFolderIsNeverLoaded) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::filesystem::path appFolder = std::filesystem::path(exe).parent_path();
    const std::filesystem::path planted = std::filesystem::temp_directory_path() / L"velt-planted";
    std::filesystem::create_directories(planted);
    std::filesystem::copy_file(appFolder / L"zlib1.dll", planted / L"velt-zlib-copy.dll",
                               std::filesystem::copy_options::overwrite_existing);
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(planted.c_str()));

    UniqueModule bare(LoadLibraryW(L"velt-zlib-copy.dll"));
    EXPECT_TRUE(bare) << "the default search order does look in the current folder";
    bare.reset();
    EXPECT_FALSE(LoadTrustedLibrary(L"velt-zlib-copy.dll"));
    const char* const names[] = {"velt-zlib-copy.dll"};
    EXPECT_FALSE(ProbeZlibAmong(names, false).found);
    EXPECT_FALSE(LoadTrustedLibrary(L"..\\velt-planted\\velt-zlib-copy.dll")); // bare names only

    // Beside the program, the same file is found; and system libraries still are.
    std::filesystem::copy_file(planted / L"velt-zlib-copy.dll", appFolder / L"velt-zlib-copy.dll",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_TRUE(ProbeZlibAmong(names, false).found);
    EXPECT_TRUE(LoadTrustedLibrary("velt-zlib-copy.dll"));
    EXPECT_TRUE(LoadTrustedLibrary(L"gdi32.dll"));

    SetCurrentDirectoryW(previous);
    std::error_code ignored;
    std::filesystem::remove(appFolder / L"velt-zlib-copy.dll", ignored);
    std::filesystem::remove_all(planted, ignored);
}

} // namespace
} // namespace velt::test
