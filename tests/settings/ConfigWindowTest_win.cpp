#include "platform/App_win.h"
#include "platform/Files.h"
#include "platform/Ini_win.h"
#include "platform/Units.h"
#include "settings/FrmConfig_win.h"
#include "tests/support/Gui_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace velt::testing {
namespace {

namespace fs = std::filesystem;

// The Run keys as a map, with the machine-wide one refusing writes when asked to.
struct FakeRunKeys final : RunKeys {
    std::map<Scope, std::wstring> values;
    bool machineDenied = false;
    bool Write(Scope scope, const std::wstring& data) override {
        if (scope == Scope::Machine && machineDenied) return false;
        values[scope] = data;
        return true;
    }
    std::wstring Read(Scope scope) override { return values.count(scope) ? values[scope] : L""; }
};

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The window opened beside a Config.ini and a skin folder of the test's choosing, in the test
// program's own folder, where the window looks for them.
class ConfigWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        MoveCursor(POINT{1010, 10}); // away from the window: its thumbnails follow the pointer
        folder = AppPath();
        fs::remove_all(SkinFolder());
        fs::remove(Ini());
    }
    void TearDown() override {
        window.Unload();
        fs::remove_all(SkinFolder());
        fs::remove(Ini());
    }
    fs::path SkinFolder() const { return fs::path(folder) / L"skin"; }
    fs::path Ini() const { return fs::path(folder) / L"Config.ini"; }
    void WriteIni(const std::string& text) { std::ofstream(Ini(), std::ios::binary) << text; }
    void AddSkins(int count) {
        fs::create_directories(SkinFolder());
        fs::path source = fs::path(VELT_ROOT) / "resources" / "skin";
        std::vector<fs::path> pictures;
        for (const auto& entry : fs::directory_iterator(source)) pictures.push_back(entry.path());
        ASSERT_FALSE(pictures.empty());
        for (int i = 0; i < count; ++i) {
            wchar_t name[32];
            swprintf(name, 32, L"skin%02d.png", i + 1);
            fs::copy_file(pictures[static_cast<size_t>(i) % pictures.size()], SkinFolder() / name);
        }
    }
    bool Open() { return window.Open() && window.IsOpen(); }

    std::wstring folder;
    FakeRunKeys run;
    std::vector<std::string> calls;
    std::string iniAtReload;
    FrmConfig window{{[this] {
                          calls.push_back("LoadSettings");
                          iniAtReload = ReadText(Ini());
                      },
                      [this](const std::wstring& path) {
                          calls.push_back("Glass " + fs::path(path).filename().string());
                      },
                      [this] { calls.push_back("About"); }, &run}};
};

TEST_F(ConfigWindowTest, OpensShowingWhatConfigIniAndTheRunValueHold) {
    WriteIni("[Main]\r\nCorner=True\r\nBackground=SKIN02.PNG\r\n"
             "[Keys]\r\nControl0=17\r\nShift0=16\r\nAlt0=abc\r\n");
    AddSkins(3);
    run.values[RunKeys::Scope::User] = L"C:\\Velt\\Velt.exe";
    ASSERT_TRUE(Open());

    EXPECT_EQ(window.Caption(), L"Configuration");
    SIZE client = window.ClientSizePixels();
    EXPECT_EQ(client.cx, TwipsToPixels(7755));
    EXPECT_EQ(client.cy, TwipsToPixels(5820));
    EXPECT_TRUE(window.cst.Marked);
    EXPECT_EQ(window.cst.Caption(), L"Corner Sensitive+");
    EXPECT_TRUE(window.Rus.Marked);
    EXPECT_EQ(window.Rus.Caption(), L"Run On Startup+");
    EXPECT_EQ(window.KeyControl(0).Caption(), L"Ctrl");
    EXPECT_EQ(window.Ctrl(0).Caption(), L"Shift");
    EXPECT_EQ(window.Shft(0).Caption(), L"None"); // not a number: the picker keeps "None"
    EXPECT_EQ(window.KeyControl.Get(1), nullptr);
    EXPECT_EQ(calls, std::vector<std::string>{"Glass SKIN02.PNG"});

    // The stored skin is found without regard to case and selected as a click would.
    EXPECT_EQ(window.SelectedSkin, L"skin02.png");
    ASSERT_NE(window.skn.Get(2), nullptr);
    EXPECT_EQ(window.Pointer.Left(), 1675 - 120);
    EXPECT_EQ(window.Pointer.Top(), 840 - 120);
    EXPECT_TRUE(IsWindowVisible(window.Pannel[0].hWnd()));
    EXPECT_FALSE(IsWindowVisible(window.Pannel[1].hWnd()));
}

TEST_F(ConfigWindowTest, ThirteenSkinsMakeThirteenThumbnailsTheLastInAFourthRow) {
    AddSkins(13);
    ASSERT_TRUE(Open());
    ASSERT_EQ(window.skn.UBound(), 13u);
    EXPECT_FALSE(window.skn(0).Visible()); // the template stays hidden
    const int lefts[] = {360, 1675, 2990, 4305};
    for (std::size_t i = 1; i <= 13; ++i) {
        const aicAlphaImage& thumb = window.skn(i);
        EXPECT_TRUE(thumb.Visible()) << i;
        EXPECT_EQ(thumb.Left(), TwipsToPixels(lefts[(i - 1) % 4])) << i;
        EXPECT_EQ(thumb.Top(), TwipsToPixels(840 + 1150 * static_cast<int>((i - 1) / 4))) << i;
        EXPECT_EQ(thumb.Opacity(), 80);
        EXPECT_EQ(thumb.Width(), TwipsToPixels(1215));
    }
    EXPECT_GT(window.skn(13).Top(), TwipsToPixels(4215)); // below the page: cut off
    EXPECT_EQ(window.skn.Tag(13), L"skin13.png");
    // Nothing stored: nothing selected, the frame on the first thumbnail's place.
    EXPECT_EQ(window.SelectedSkin, L"");
    EXPECT_EQ(window.Pointer.Left(), 240);
    EXPECT_EQ(window.Pointer.Top(), 720);

    window.skn_Click(7);
    EXPECT_EQ(window.SelectedSkin, L"skin07.png");
    EXPECT_EQ(window.Pointer.Left(), 2990 - 120);
    EXPECT_EQ(window.Pointer.Top(), 1990 - 120);

    // The pointer over a thumbnail shows it fully; leaving fades it back to 80.
    aicAlphaImage& thumb = window.skn(3);
    POINT over{thumb.Left() + 20, thumb.Top() + 20};
    ClientToScreen(window.Pannel[0].hWnd(), &over);
    SetForegroundWindow(window.hWnd());
    ASSERT_TRUE(MoveCursor(over));
    EXPECT_TRUE(PumpUntil([&] { return thumb.Opacity() == 100; }));
    EXPECT_EQ(window.skn(2).Opacity(), 80);
    ASSERT_TRUE(MoveCursor(POINT{1010, 10}));
    EXPECT_TRUE(PumpUntil([&] { return thumb.Opacity() == 80; }));
}

TEST_F(ConfigWindowTest, ApplyWritesInOrderThenReloadsAndOkCloses) {
    AddSkins(2);
    WriteIni("[Keys]\r\nAlt0=90\r\n");
    ASSERT_TRUE(Open());
    window.DM(window.cst);
    window.KeyControl(0).Setkey(L"17");
    window.Ctrl(0).Setkey(L"16");
    window.skn_Click(2);
    window.Apply(true);

    EXPECT_FALSE(window.IsOpen());
    std::string ini = ReadText(Ini());
    EXPECT_EQ(ini.find("Corner=True"), ini.find("[Main]") + 8) << ini;
    EXPECT_LT(ini.find("Corner=True"), ini.find("Background=skin02.png"));
    EXPECT_LT(ini.find("Control0=17"), ini.find("Shift0=16"));
    EXPECT_NE(ini.find("Alt0=90"), std::string::npos); // the picker at "None" left it alone
    EXPECT_EQ(calls.back(), "LoadSettings");
    EXPECT_EQ(iniAtReload, ini); // everything was written before the reload
    // The toggle was off: the "NR" form, machine-wide.
    EXPECT_EQ(run.values[RunKeys::Scope::Machine], AppPath() + L"\\" + ExeName() + L"NR");
}

TEST_F(ConfigWindowTest, TogglesFlipAndTheRunValueFallsBackToTheUsersKey) {
    run.machineDenied = true;
    ASSERT_TRUE(Open());
    window.DM(window.cst);
    window.DM(window.cst);
    EXPECT_FALSE(window.cst.Marked);
    EXPECT_EQ(window.cst.Caption(), L"Corner Sensitive");
    window.DM(window.Rus);
    EXPECT_EQ(window.Rus.Caption(), L"Run On Startup+");

    window.Apply(false); // "Apply and Save": the window stays
    EXPECT_TRUE(window.IsOpen());
    EXPECT_EQ(run.values.count(RunKeys::Scope::Machine), 0u);
    EXPECT_EQ(run.values[RunKeys::Scope::User], AppPath() + L"\\" + ExeName() + L".exe");
    EXPECT_EQ(ReadIni(L"Main", L"Background", Ini().wstring()), L""); // written though empty
    EXPECT_NE(ReadText(Ini()).find("Background="), std::string::npos);

    // Cancel afterwards keeps what was applied and writes nothing more.
    std::string applied = ReadText(Ini());
    window.DM(window.cst);
    window.Ans[2].Click();
    EXPECT_FALSE(window.IsOpen());
    EXPECT_EQ(ReadText(Ini()), applied);
}

TEST_F(ConfigWindowTest, PageButtonsOneWindowAtATimeAndAbout) {
    ASSERT_TRUE(Open());
    HWND first = window.hWnd();
    window.Btn_Click(1);
    RECT page0 = window.Pannel[0].WindowRectPixels();
    RECT page1 = window.Pannel[1].WindowRectPixels();
    EXPECT_TRUE(EqualRect(&page0, &page1));
    EXPECT_TRUE(IsWindowVisible(window.Pannel[1].hWnd()));
    // Page 1 is in front of page 0, and the command buttons in front of both.
    auto above = [](HWND a, HWND b) {
        for (HWND w = GetWindow(b, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
            if (w == a) return true;
        return false;
    };
    EXPECT_TRUE(above(window.Pannel[1].hWnd(), window.Pannel[0].hWnd()));
    EXPECT_TRUE(above(window.Ans[1].hWnd(), window.Pannel[1].hWnd()));

    ASSERT_TRUE(Open()); // "Configure" again: the same window, to the front
    EXPECT_EQ(window.hWnd(), first);

    window.abtn2.Click();
    EXPECT_FALSE(window.IsOpen());
    EXPECT_EQ(calls.back(), "About");
    EXPECT_FALSE(fs::exists(Ini()));
}

} // namespace
} // namespace velt::testing
