#include "DrawTestSupport_win.h"
#include "PngTestSupport.h"

#include "imaging/ZlibBinding.h"
#include "imaging/cCDECL_win.h"
#include "platform/Files.h"
#include "tests/support/Wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace velt::test {
namespace {

// zlib1.dll is copied beside the test program.
TEST(ZlibProbe, FindsZlib1BesideTheProgram) {
    ZlibProbeResult full = ProbeZlib(false);
    EXPECT_TRUE(full.found);
    EXPECT_EQ(full.which, 2);
    EXPECT_EQ(full.name, "zlib1.dll");
    EXPECT_TRUE(full.cConvention);
    EXPECT_TRUE(full.hasCompress2);
    ZlibProbeResult quick = ProbeZlib(true);
    EXPECT_TRUE(quick.found);
    EXPECT_FALSE(quick.cConvention);
    EXPECT_TRUE(c32bppDIB().isZlibEnabled());
}

TEST(ZlibProbe, SkipsLibrariesWithoutCrc32AndReportsTheLastNameTried) {
    const char* const notZlibFirst[] = {"kernel32.dll", "zlib1.dll"};
    ZlibProbeResult second = ProbeZlibAmong(notZlibFirst, false);
    EXPECT_TRUE(second.found);
    EXPECT_EQ(second.which, 1);
    EXPECT_EQ(second.name, "zlib1.dll");
    const char* const missing[] = {"velt-missing-a.dll", "velt-missing-b.dll"};
    ZlibProbeResult none = ProbeZlibAmong(missing, false);
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.which, 0);
    EXPECT_EQ(none.name, "velt-missing-b.dll");
    EXPECT_FALSE(none.hasCompress2);
}

// The older name, "zlib.dll", is also beside the test program.
TEST(ZlibProbe, BindsTheOlderNameWhenTheFirstIsMissing) {
    const char* const names[] = {"velt-missing.dll", "zlib.dll"};
    ZlibLibrary zlib(names);
    EXPECT_EQ(zlib.probe().which, 1);
    EXPECT_EQ(zlib.probe().name, "zlib.dll");
    ASSERT_NE(zlib.api(), nullptr);
    EXPECT_EQ(zlib.api()->crc32(0, reinterpret_cast<const unsigned char*>("a"), 1), 0xE8B7BE43ul);
}

TEST(ZlibProbe, WithoutZlibOurParserInflatesAndChecksNoCrcs) {
    const char* const missing[] = {"velt-missing-a.dll", "velt-missing-b.dll"};
    ZlibLibrary none(missing);
    ASSERT_EQ(none.api(), nullptr);
    std::mt19937 rng(31);
    PngPicture picture = RandomPicture({6, 8}, true, false, 12, 10, rng);
    std::vector<uint8_t> file = Signature();
    AppendChunk(file, "IHDR", HeaderBody(12, 10, 8, 6, true));
    AppendChunk(file, "IDAT", Compress(Scanlines(picture)), 3);
    AppendChunk(file, "IEND", {});
    PngServices services;
    services.zlib = none.api();
    c32bppDIB image, expected;
    ASSERT_TRUE(cPNGparser(services).LoadStream(file, image));
    ASSERT_TRUE(DecodeOurs(BuildPng(picture), expected, true));
    EXPECT_EQ(PixelsOf(image), PixelsOf(expected));
}

TEST(ZlibProbe, BoundLibraryComputesCrc32) {
    ZlibLibrary zlib;
    ASSERT_NE(zlib.api(), nullptr);
    const char* text = "123456789";
    EXPECT_EQ(zlib.api()->crc32(0, reinterpret_cast<const unsigned char*>(text), 9), 0xCBF43926ul);
}

TEST(Cdecl, ReportsItsThreeErrors) {
    cCDECL caller;
    intptr_t none[1] = {};
    EXPECT_EQ(caller.CallFunc("crc32", std::span(none, 0)), 0);
    EXPECT_EQ(caller.Error().number, cCDECL::kDllNotLoaded);
    EXPECT_EQ(caller.Error().source, "cCDECL");
    EXPECT_EQ(caller.Error().description, "DLL not loaded");

    ASSERT_TRUE(caller.DllLoad("zlib1.dll"));
    caller.CallFunc("no_such_function", std::span(none, 0));
    EXPECT_EQ(caller.Error().number, cCDECL::kFunctionNotFound);
    EXPECT_EQ(caller.Error().description, "Failed to locate function: no_such_function");

    intptr_t six[6] = {};
    caller.CallFunc("crc32", six);
    EXPECT_EQ(caller.Error().number, cCDECL::kTooManyParameters);
    EXPECT_EQ(caller.Error().description, "Too many parameters");

    EXPECT_TRUE(caller.DllUnload());
    EXPECT_FALSE(caller.DllUnload());
    caller.CallFunc("crc32", std::span(none, 0));
    EXPECT_EQ(caller.Error().number, cCDECL::kDllNotLoaded);
    EXPECT_FALSE(caller.DllLoad("velt-missing.dll"));
}

TEST(Cdecl, CallsByNameWithUpToFiveArgumentsAndSwitchesEntryPoints) {
    cCDECL caller;
    ASSERT_TRUE(caller.DllLoad("zlib1.dll"));
    const char* text = "123456789";
    intptr_t crcArgs[] = {0, reinterpret_cast<intptr_t>(text), 9};
    EXPECT_EQ(static_cast<uint32_t>(caller.CallFunc("crc32", crcArgs)), 0xCBF43926u);
    EXPECT_EQ(caller.Error().number, 0u);
    intptr_t adlerArgs[] = {1, reinterpret_cast<intptr_t>(text), 9};
    EXPECT_EQ(static_cast<uint32_t>(caller.CallFunc("adler32", adlerArgs)), 0x091E01DEu);
    EXPECT_EQ(static_cast<uint32_t>(caller.CallFunc("crc32", crcArgs)), 0xCBF43926u);

    // compress2 takes five: destination, its length by address, source, length, level.
    std::vector<uint8_t> source(1000, 'v'), packed(200), unpacked(1000);
    unsigned long packedSize = static_cast<unsigned long>(packed.size());
    intptr_t compressArgs[] = {reinterpret_cast<intptr_t>(packed.data()),
                               reinterpret_cast<intptr_t>(&packedSize),
                               reinterpret_cast<intptr_t>(source.data()), 1000, 9};
    ASSERT_EQ(caller.CallFunc("compress2", compressArgs), 0);
    ZlibLibrary zlib;
    unsigned long unpackedSize = 1000;
    ASSERT_EQ(zlib.api()->uncompress(unpacked.data(), &unpackedSize, packed.data(), packedSize), 0);
    EXPECT_EQ(unpacked, source);
    EXPECT_EQ(cCDECL::WrapCallback(1234, 2), 1234u);
}

std::vector<RECT> RectsOf(HRGN region) {
    DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<uint8_t> data(size);
    auto* rgn = reinterpret_cast<RGNDATA*>(data.data());
    GetRegionData(region, size, rgn);
    std::vector<RECT> rects(rgn->rdh.nCount);
    std::memcpy(rects.data(), rgn->Buffer, rects.size() * sizeof(RECT));
    return rects;
}

bool Same(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
    return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

TEST(AlphaRegion, ThreeStylesOverOpaqueOpaqueClearOpaque) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(4, 2));
    for (int x : {0, 1, 3}) image.SetPixel(x, 1, 0xFFFFFF);
    image.SetPixel(1, 1, 0xFFFFFF, 40); // any alpha above 0 counts
    std::vector<RECT> exact = RectsOf(image.CreateRegion(2, 0).get());
    ASSERT_EQ(exact.size(), 2u);
    EXPECT_TRUE(Same(exact[0], 0, 1, 2, 2));
    EXPECT_TRUE(Same(exact[1], 3, 1, 4, 2));
    std::vector<RECT> spans = RectsOf(image.CreateRegion(1, 0).get());
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_TRUE(Same(spans[0], 0, 1, 4, 2));
    std::vector<RECT> box = RectsOf(image.CreateRegion(0, 10, 20).get());
    ASSERT_EQ(box.size(), 1u);
    EXPECT_TRUE(Same(box[0], 10, 21, 14, 22));
    EXPECT_FALSE(image.CreateRegion(3, 0));
}

TEST(AlphaRegion, NothingVisibleGivesNoRegionAndNoAlphaTheWholeImage) {
    c32bppDIB image;
    EXPECT_FALSE(image.CreateRegion(0, 0));
    ASSERT_TRUE(image.InitializeDIB(3, 2));
    for (int style = 0; style < 3; ++style) EXPECT_FALSE(image.CreateRegion(style, 0)) << style;
    std::vector<uint8_t> opaque(3 * 2 * 4, 0xFF);
    ASSERT_TRUE(image.SetDIBbits(opaque));
    ASSERT_FALSE(image.Alpha());
    for (int style = 0; style < 3; ++style) {
        std::vector<RECT> all = RectsOf(image.CreateRegion(style, 0).get());
        ASSERT_EQ(all.size(), 1u);
        EXPECT_TRUE(Same(all[0], 0, 0, 3, 2));
    }
}

TEST(AlphaRegion, ManyRuns) {
    // A checkerboard of 100 x 100 has 5000 runs.
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(100, 100));
    for (int y = 0; y < 100; ++y)
        for (int x = (y & 1); x < 100; x += 2) image.SetPixel(x, y, 0xFFFFFF);
    UniqueRegion region = image.CreateRegion(2, 0);
    ASSERT_TRUE(region);
    EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
    EXPECT_FALSE(PtInRegion(region.get(), 1, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 99, 99));
    EXPECT_FALSE(PtInRegion(region.get(), 98, 99));
}

TEST(MemoryDC, SelectionIsBracketedAndTheDCKeptOnlyWhenManaged) {
    c32bppDIB image;
    EXPECT_EQ(image.LoadDIBinDC(true), nullptr);
    ASSERT_TRUE(image.InitializeDIB(2, 2));
    HDC dc = image.LoadDIBinDC(true);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), image.Handle());
    EXPECT_EQ(image.LoadDIBinDC(true), dc); // selecting twice is harmless
    EXPECT_EQ(image.LoadDIBinDC(false), nullptr);
    EXPECT_EQ(GetObjectType(dc), 0u); // deleted

    image.ManageOwnDC(true);
    HDC kept = image.LoadDIBinDC(true);
    image.LoadDIBinDC(false);
    EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_NE(GetCurrentObject(kept, OBJ_BITMAP), image.Handle());
    image.ManageOwnDC(false);
    EXPECT_EQ(GetObjectType(kept), 0u);
}

// Answers the overwrite question from another thread and records what it asked.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(int answer)
        : m_thread([this, answer] {
              HWND box = nullptr;
              testing::WaitUntil([&] {
                  return m_done || (box = FindWindowW(L"#32770", L"Overwrite Confirmation"));
              });
              if (!box) return;
              EnumChildWindows(box, Collect, reinterpret_cast<LPARAM>(&m_texts));
              PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
              m_asked = true;
          }) {}
    ~MessageBoxAnswerer() {
        m_done = true;
        m_thread.join();
    }
    bool asked() const { return m_asked; }
    const std::vector<std::wstring>& texts() const { return m_texts; }

private:
    static BOOL CALLBACK Collect(HWND child, LPARAM texts) {
        wchar_t text[256] = {};
        GetWindowTextW(child, text, 256);
        reinterpret_cast<std::vector<std::wstring>*>(texts)->push_back(text);
        return TRUE;
    }
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_asked{false};
    std::vector<std::wstring> m_texts;
    std::thread m_thread;
};

TEST(SaveToFile, AsksBeforeReplacingAFile) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::filesystem::path path = std::filesystem::path(folder) / L"velt-overwrite.bmp";
    const std::vector<uint8_t> before(80, 3);
    const std::span<const uint8_t> parts[] = {before};
    ASSERT_TRUE(WriteWholeFile(path, parts));
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(2, 2));
    {
        MessageBoxAnswerer no(IDNO);
        EXPECT_FALSE(image.SaveToFile(path));
        EXPECT_TRUE(no.asked());
    }
    {
        MessageBoxAnswerer no(IDNO);
        EXPECT_FALSE(image.SaveToFile_PNG(path));
        EXPECT_TRUE(no.asked());
    }
    std::vector<uint8_t> after;
    ASSERT_TRUE(ReadWholeFile(path, after));
    EXPECT_EQ(after, before);
    {
        MessageBoxAnswerer yes(IDYES);
        EXPECT_TRUE(image.SaveToFile(path));
        ASSERT_TRUE(yes.asked());
        bool quoted = false;
        for (const std::wstring& text : yes.texts()) quoted |= text == L"Overwrite current file?";
        EXPECT_TRUE(quoted);
    }
    ASSERT_TRUE(ReadWholeFile(path, after));
    EXPECT_EQ(after.size(), 54u + 16);
    DeleteFileW(path.c_str());
}

} // namespace
} // namespace velt::test
