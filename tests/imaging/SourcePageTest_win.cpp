// The Image Source page on a real window: what it shows for a PNG, an icon file and the
// clipboard, its error box, the open-file dialog it asks with, and what applying it gives the
// control being designed.
#include "IcoBuilder.h"
#include "PngBuilder.h"

#include "imaging/AlphaImageDefinition.h"
#include "imaging/ppgSourceImage_win.h"
#include "platform/Resources_win.h"
#include "platform/Window_win.h"
#include "tests/support/Gui_win.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include <atomic>
#include <fstream>
#include <thread>

namespace velt::test {
namespace {

using testing::PumpUntil;
using testing::WaitUntil;

constexpr wchar_t kHostClass[] = L"VeltPageTestHost";

class Host final : public Window {};

// A 100 x 50 opaque PNG, green.
Bytes GreenPng() {
    PngPicture p;
    p.width = 100;
    p.height = 50;
    p.colourType = 2;
    for (uint32_t i = 0; i < p.width * p.height; ++i)
        p.samples.insert(p.samples.end(), {0, 200, 0});
    return BuildPng(p);
}

// 16 x 16 and 32 x 32 entries at 4 and 32 bits, each its own colour (0xRRGGBB): 16 @ 4 grey,
// 16 @ 32 blue, 32 @ 4 red, 32 @ 32 yellow. Stored largest first, so the list must sort them.
Bytes FourEntryIcon() {
    auto deep = [](int32_t side, uint32_t rgb) {
        BmpPicture picture;
        picture.width = picture.height = side;
        picture.bitCount = 32;
        picture.samples.assign(static_cast<size_t>(side * side), 0xFF000000u | rgb);
        return BitmapEntry(picture);
    };
    auto paletted = [](int32_t side, uint32_t rgb) {
        BmpPicture picture;
        picture.width = picture.height = side;
        picture.bitCount = 4;
        picture.palette.assign(16 * 4, 0);
        picture.palette[4] = static_cast<uint8_t>(rgb);
        picture.palette[5] = static_cast<uint8_t>(rgb >> 8);
        picture.palette[6] = static_cast<uint8_t>(rgb >> 16);
        picture.samples.assign(static_cast<size_t>(side * side), 1);
        return BitmapEntry(picture);
    };
    return BuildIco(
        {deep(32, 0xFFFF00), paletted(32, 0xFF0000), deep(16, 0x0000FF), paletted(16, 0x808080)});
}

std::filesystem::path WriteTemp(const wchar_t* name, const Bytes& bytes) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::filesystem::path path = std::filesystem::path(folder) / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

uint32_t CentreRgb(aicAlphaImage& control) {
    c32bppDIB& image = control.ImageObject();
    uint8_t alpha = 0;
    const uint32_t colour = static_cast<uint32_t>(
        image.GetPixel(image.Width() / 2, image.Height() / 2, alpha, true));
    // 0x00BBGGRR to 0xRRGGBB
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

bool Visible(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

class SourcePage : public ::testing::Test {
protected:
    void SetUp() override {
        OleInitialize(nullptr);
        RegisterWindowClass({kHostClass, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
        ASSERT_TRUE(
            host.Create({kHostClass, L"Page test", WS_OVERLAPPEDWINDOW, 0, 40, 40, 500, 360}));
        std::optional<ControlDefinition> definition = LoadWindowDefinition(L"PPGSOURCEIMAGE");
        ASSERT_TRUE(definition);
        ASSERT_TRUE(page.Create(host.hWnd(), 0, 0, *definition));
        host.Show();
        // The control being designed: a block of 80 x 60 pixels without a picture.
        ControlDefinition block;
        block.type = L"aicAlphaImage";
        block.properties.Set(L"Width", 1200);
        block.properties.Set(L"Height", 900);
        site.Load(target, block);
        page.ChooseFile = [this](HWND) { return chosen; };
        page.SelectionChanged(&target);
    }
    void TearDown() override {
        page.SelectionChanged(nullptr);
        host.Unload();
        OleUninitialize();
    }
    void Browse(const std::filesystem::path& file) {
        chosen = file;
        page.cmdBrowse_Click();
    }

    Host host;
    ppgSourceImage page;
    DesignSite site;
    aicAlphaImage target;
    std::optional<std::filesystem::path> chosen;
};

TEST_F(SourcePage, APngIsDescribedFittedAndApplied) {
    EXPECT_FALSE(page.ucAlphaImage1.Visible()) << "nothing to show for a control without a picture";
    EXPECT_FALSE(page.Changed());
    const Bytes png = GreenPng();
    Browse(WriteTemp(L"velt-page-100x50.png", png));

    EXPECT_EQ(page.lblFormat.Caption(), L"100 x 50 - PNG file");
    EXPECT_TRUE(Visible(page.lblFormat.hWnd()));
    EXPECT_FALSE(page.IconListVisible());
    EXPECT_TRUE(page.Changed());
    // Never enlarged, centred in the frame.
    ASSERT_TRUE(page.ucAlphaImage1.Visible());
    EXPECT_EQ(page.ucAlphaImage1.Width(), 100);
    EXPECT_EQ(page.ucAlphaImage1.Height(), 50);
    const RECT frame = page.Shape1.Pixels();
    EXPECT_EQ(page.ucAlphaImage1.Left(), frame.left + (frame.right - frame.left - 100) / 2);
    EXPECT_EQ(page.ucAlphaImage1.Top(), frame.top + (frame.bottom - frame.top - 50) / 2);
    // The preview is on the page's surface.
    ASSERT_TRUE(PumpUntil([&] {
        return testing::Near(testing::PrintedPixel(page.hWnd(), page.ucAlphaImage1.Left() + 50,
                                                   page.ucAlphaImage1.Top() + 25),
                             RGB(0, 200, 0), 8);
    }));

    page.ApplyChanges();
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(target.GetOriginalBytes(bytes));
    EXPECT_EQ(bytes, png);
    EXPECT_EQ(target.Width(), 100) << "the control takes the picture's own size";
    EXPECT_EQ(target.Height(), 50);

    // Selecting the control again shows what it now holds, unchanged.
    page.SelectionChanged(&target);
    EXPECT_EQ(page.lblFormat.Caption(), L"100 x 50 - PNG file");
    EXPECT_TRUE(page.ucAlphaImage1.Visible());
    EXPECT_FALSE(page.Changed());
}

TEST_F(SourcePage, AnIconFileListsItsEntriesAndTheChosenOneIsApplied) {
    const Bytes icon = FourEntryIcon();
    Browse(WriteTemp(L"velt-page-four.ico", icon));

    EXPECT_TRUE(page.IconListVisible());
    EXPECT_FALSE(Visible(page.lblFormat.hWnd()));
    EXPECT_EQ(page.IconLines(), (std::vector<std::wstring>{L"016x016 {4 bit, 16 colors}",
                                                           L"016x016 {32 bit, True Color Alpha}",
                                                           L"032x032 {4 bit, 16 colors}",
                                                           L"032x032 {32 bit, True Color Alpha}"}));
    EXPECT_EQ(page.IconSelection(), 3);
    EXPECT_TRUE(IsWindowEnabled(page.cboIcon));
    EXPECT_TRUE(page.ucAlphaImage1.Visible());
    EXPECT_EQ(page.ucAlphaImage1.ImageObject().Width(), 32);
    EXPECT_EQ(CentreRgb(page.ucAlphaImage1), 0xFFFF00u);

    page.ApplyChanges();
    EXPECT_EQ(target.ImageObject().Width(), 32);
    EXPECT_EQ(target.Width(), 32);
    EXPECT_EQ(CentreRgb(target), 0xFFFF00u);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(target.GetOriginalBytes(bytes));
    EXPECT_EQ(bytes, icon) << "the whole file is kept";

    // The designer picks the small paletted entry.
    SendMessageW(page.cboIcon, CB_SETCURSEL, 0, 0);
    page.cboIcon_Click();
    EXPECT_EQ(page.ucAlphaImage1.ImageObject().Width(), 16);
    EXPECT_EQ(CentreRgb(page.ucAlphaImage1), 0x808080u);
    page.ApplyChanges();
    EXPECT_EQ(target.ImageObject().Width(), 16);
    EXPECT_EQ(target.Width(), 16);
    EXPECT_EQ(CentreRgb(target), 0x808080u);
}

TEST_F(SourcePage, ClearImageThenApplyLeavesTheControlWithoutAPicture) {
    target.LoadForPage(GreenPng(), 0, 0, 0);
    page.SelectionChanged(&target);
    ASSERT_TRUE(page.ucAlphaImage1.Visible());
    ASSERT_FALSE(page.Changed());

    page.Command1_Click();
    EXPECT_FALSE(page.ucAlphaImage1.Visible());
    EXPECT_TRUE(page.Changed());
    page.ApplyChanges();
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(target.GetOriginalBytes(bytes));
    PropertyBag bag;
    target.WriteProperties(bag);
    EXPECT_FALSE(bag.Contains(L"Image"));
}

// Answers the message box the page shows, from another thread: its text and icon, then OK.
struct BoxWatcher {
    BoxWatcher()
        : thread([this] {
              HWND box = nullptr;
              if (!WaitUntil([&] { return (box = FindWindowW(L"#32770", L"Error")) != nullptr; }))
                  return;
              wchar_t text[128] = {};
              GetDlgItemTextW(box, 0xFFFF, text, 128);
              message = text;
              HWND iconControl = GetDlgItem(box, 0x440);
              information = iconControl &&
                            reinterpret_cast<HICON>(SendMessageW(iconControl, STM_GETICON, 0, 0)) ==
                                LoadIconW(nullptr, IDI_INFORMATION);
              PostMessageW(box, WM_COMMAND, IDOK, 0);
              answered = true;
          }) {}
    ~BoxWatcher() { thread.join(); }
    std::wstring message;
    std::atomic<bool> information{false};
    std::atomic<bool> answered{false};
    std::thread thread;
};

bool EmptyClipboardWithText() {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 8);
    if (memory) {
        memcpy(GlobalLock(memory), L"abc", 8);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
    return true;
}

TEST_F(SourcePage, AClipboardWithoutAPictureGivesTheErrorBoxAndNoPreview) {
    ASSERT_TRUE(WaitUntil([] { return EmptyClipboardWithText(); }));
    {
        BoxWatcher watcher;
        page.cmdClipBoard_Click(); // returns once the box is answered
        watcher.thread.join();
        watcher.thread = std::thread([] {});
        EXPECT_TRUE(watcher.answered);
        EXPECT_EQ(watcher.message, L"The clipboard contents are not a valid image format");
        EXPECT_TRUE(watcher.information);
    }
    EXPECT_FALSE(page.ucAlphaImage1.Visible());
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(page.ucAlphaImage1.GetOriginalBytes(bytes));
    EXPECT_FALSE(page.Changed()) << "a failed paste leaves the page's state as it was";
}

TEST_F(SourcePage, AClipboardPictureIsPreviewedAndApplied) {
    // A 40 x 30 red bitmap on the clipboard.
    ASSERT_TRUE(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }));
    EmptyClipboard();
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 40, 30};
    UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(dc, &all, red.get());
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    if (!SetClipboardData(CF_BITMAP, bitmap)) DeleteObject(bitmap); // the clipboard owns it now
    CloseClipboard();

    page.cmdClipBoard_Click();
    ASSERT_TRUE(page.ucAlphaImage1.Visible());
    EXPECT_EQ(page.ucAlphaImage1.ImageObject().Width(), 40);
    EXPECT_TRUE(page.Changed());
    page.ApplyChanges();
    EXPECT_EQ(target.ImageObject().Width(), 40);
    EXPECT_EQ(target.ImageObject().Height(), 30);
    EXPECT_EQ(CentreRgb(target), 0xFF0000u);
}

TEST(SourcePageDialog, AsksWithItsTitleAndFiltersAndAnswersNothingWhenCancelled) {
    OleInitialize(nullptr);
    std::wstring firstFilter;
    std::atomic<bool> cancelled{false};
    std::thread watcher([&] {
        HWND dialog = nullptr;
        if (!WaitUntil(
                [&] { return (dialog = FindWindowW(L"#32770", L"Select Image")) != nullptr; }))
            return;
        // The file-type list: "All Images" first.
        HWND types = GetDlgItem(dialog, 0x470);
        if (types && WaitUntil([&] { return SendMessageW(types, CB_GETCOUNT, 0, 0) == 8; })) {
            wchar_t text[64] = {};
            SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
            firstFilter = text;
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        cancelled = true;
    });
    const std::optional<std::filesystem::path> chosen = ChooseImageFile(nullptr);
    watcher.join();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(firstFilter, L"All Images");
    EXPECT_FALSE(chosen);
    OleUninitialize();
}

} // namespace
} // namespace velt::test
