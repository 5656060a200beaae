// The definition tool end to end: imgpage.exe opens a copy of the configuration window's
// definition, a picture is chosen through its "Select Image" dialog and applied, and the program's
// own code reads the file back and shows that picture; nothing else in the file changed.
#include "../imaging/PngBuilder.h"

#include "imaging/aicAlphaImage.h"
#include "platform/Units.h"
#include "platform/WindowDefinition.h"
#include "platform/Window_win.h"
#include "platform/WindowlessHost_win.h"
#include "tests/support/Gui_win.h"
#include "tests/support/Process_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace velt::test {
namespace {

using testing::Process;
using testing::PumpUntil;
using testing::WaitUntil;

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// 100 x 50: the left half red, the right half blue, opaque.
Bytes HalvesPng() {
    PngPicture p;
    p.width = 100;
    p.height = 50;
    p.colourType = 2;
    for (uint32_t y = 0; y < p.height; ++y)
        for (uint32_t x = 0; x < p.width; ++x)
            p.samples.insert(p.samples.end(), {static_cast<uint16_t>(x < 50 ? 255 : 0), 0,
                                               static_cast<uint16_t>(x < 50 ? 0 : 255)});
    return BuildPng(p);
}

std::string Hex(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (uint8_t b : bytes) out += {kDigits[b >> 4], kDigits[b & 15]};
    return out;
}

// The first window of that class at any depth below parent, with that text unless text is null.
HWND ChildWithText(HWND parent, const wchar_t* className, const wchar_t* text) {
    struct Search {
        const wchar_t* className;
        const wchar_t* text;
        HWND found;
    } search{className, text, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {}, caption[256] = {};
            GetClassNameW(child, name, 64);
            GetWindowTextW(child, caption, 256);
            if (lstrcmpiW(name, s->className) == 0 &&
                (!s->text || lstrcmpW(s->text, caption) == 0)) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ToolWindow(DWORD process) {
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, L"VeltImageSourceTool", nullptr))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == process) return found;
    }
    return nullptr;
}

// Chooses file in the open-file dialog titled "Select Image": types its name and presses Open.
bool ChooseInDialog(const std::filesystem::path& file) {
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindWindowW(L"#32770", L"Select Image")) != nullptr; }))
        return false;
    // The file name box: the only edit field, inside the name combo box.
    HWND name = ChildWithText(dialog, L"Edit", nullptr);
    if (!name) return false;
    std::filesystem::path typed = file;
    typed.make_preferred();
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.wstring().c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    return WaitUntil([] { return FindWindowW(L"#32770", L"Select Image") == nullptr; });
}

class Shown final : public Window {
protected:
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override {
        RECT client{};
        GetClientRect(hWnd(), &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
};

TEST(ImgPage, PutsAPictureIntoADefinitionThatTheProgramThenShows) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         "velt-imgpage-e2e";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path form = folder / "FrmConfig.form";
    const std::string original = ReadText(std::filesystem::path(FORMS_DIR) / "FrmConfig.form");
    ASSERT_FALSE(original.empty());
    WriteBytes(form, original);
    const Bytes png = HalvesPng();
    const std::filesystem::path picture = folder / "halves.png";
    WriteBytes(picture, std::string(png.begin(), png.end()));

    const std::wstring exe = std::filesystem::path(IMGPAGE_EXE).make_preferred().wstring();
    Process tool(L"\"" + exe + L"\" \"" + form.wstring() + L"\"");
    struct KillOnFailure {
        Process& process;
        ~KillOnFailure() { process.Kill(); }
    } guard{tool};
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = ToolWindow(tool.Id())) != nullptr; }));
    ASSERT_TRUE(tool.WaitForIdle());
    // The page fills itself in after the window has gone idle once.
    HWND page = nullptr, browse = nullptr, apply = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        page = FindWindowExW(window, nullptr, L"VeltPropertyPage", nullptr);
        browse = page ? ChildWithText(page, L"Button", L"Browse") : nullptr;
        apply = ChildWithText(window, L"Button", L"Apply");
        return browse && apply;
    }));

    PostMessageW(browse, BM_CLICK, 0, 0);
    ASSERT_TRUE(ChooseInDialog(picture));
    ASSERT_TRUE(WaitUntil([&] { return ChildWithText(page, L"Static", L"100 x 50 - PNG file"); }));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(apply) != FALSE; }));
    PostMessageW(apply, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ReadText(form) != original; }));

    // An icon file shows its entries; what the page then looks like is for the eye.
    PostMessageW(browse, BM_CLICK, 0, 0);
    ASSERT_TRUE(ChooseInDialog(std::filesystem::path(ICON_FILE)));
    HWND entries = ChildWithText(page, L"ComboBox", nullptr);
    ASSERT_TRUE(entries);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(entries) != FALSE; }));
    ASSERT_TRUE(tool.WaitForIdle());
    testing::Screenshot("imgpage-icon");

    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(tool.WaitForExit());

    // The control's size and its picture, nothing else.
    std::string expected = original;
    const std::string before = "            Width = 1215\n            Height = 1050\n"
                               "            Visible = False\n";
    const std::size_t at = expected.find(before);
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, before.size(),
                     "            Width = 1500\n            Height = 750\n"
                     "            Visible = False\n            Image = Hex(\"" +
                         Hex(png) + "\")\n");
    const std::string written = ReadText(form);
    EXPECT_EQ(written, expected);

    // The program reads the definition and shows the control.
    std::optional<ControlDefinition> definition = ParseWindowDefinition(
        written, [](std::wstring_view) { return std::optional<Bytes>(Bytes{}); });
    ASSERT_TRUE(definition);
    const ControlDefinition* skn = definition->Find(L"skn");
    ASSERT_TRUE(skn);
    RegisterWindowClass({L"VeltImgPageShown", CS_DBLCLKS, nullptr});
    Shown shown;
    ASSERT_TRUE(shown.Create({L"VeltImgPageShown", L"shown", WS_POPUP, 0, 0, 0, 200, 120}));
    aicAlphaImage control;
    const PropertyBag& bag = skn->properties;
    shown.Windowless().Add(control, 10, 10, TwipsToPixels(bag.ReadInteger(L"Width", 0)),
                           TwipsToPixels(bag.ReadInteger(L"Height", 0)));
    control.ReadProperties(bag);
    shown.Show();
    EXPECT_TRUE(PumpUntil([&] {
        return testing::Near(testing::PrintedPixel(shown.hWnd(), 10 + 25, 10 + 25), RGB(255, 0, 0),
                             4) &&
               testing::Near(testing::PrintedPixel(shown.hWnd(), 10 + 75, 10 + 25), RGB(0, 0, 255),
                             4);
    })) << std::hex
        << testing::PrintedPixel(shown.hWnd(), 35, 35);
    shown.Unload();
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace velt::test
