// The window definitions shipped in resources/forms/, read as the program reads them, with the
// pictures Forms.rc names.
#include "platform/Files.h"
#include "platform/WindowDefinition.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace velt {
namespace {

const std::filesystem::path kResources = std::filesystem::path(VELT_ROOT) / "resources";

// Forms.rc: NAME RCDATA "file" on each line that names a resource.
std::map<std::wstring, std::filesystem::path> ResourceFiles() {
    std::map<std::wstring, std::filesystem::path> files;
    std::ifstream rc(kResources / "Forms.rc");
    std::string name, kind, file;
    for (std::string line; std::getline(rc, line);) {
        std::istringstream words(line);
        if (words >> name >> kind >> file && kind == "RCDATA" && file.size() > 2)
            files[std::wstring(name.begin(), name.end())] = kResources /
                                                            file.substr(1, file.size() - 2);
    }
    return files;
}

std::optional<ControlDefinition> Load(const char* form, std::string& error) {
    std::map<std::wstring, std::filesystem::path> files = ResourceFiles();
    Bytes text;
    if (!ReadWholeFile(kResources / "forms" / form, text)) {
        error = "cannot read the form";
        return std::nullopt;
    }
    ResourceResolver resolve = [&](std::wstring_view name) -> std::optional<Bytes> {
        auto it = files.find(std::wstring(name));
        Bytes bytes;
        if (it == files.end() || !ReadWholeFile(it->second, bytes) || bytes.empty())
            return std::nullopt;
        return bytes;
    };
    return ParseWindowDefinition(
        std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), resolve, &error);
}

// The control of that name and Index (none for a control that is not an array element).
const ControlDefinition* Element(const ControlDefinition& block, std::wstring_view name,
                                 int index = -1) {
    for (const ControlDefinition& control : block.controls) {
        if (control.name == name && control.properties.ReadInteger(L"Index", -1) == index)
            return &control;
        if (const ControlDefinition* inner = Element(control, name, index)) return inner;
    }
    return nullptr;
}

struct Placement {
    const wchar_t* name;
    int index;
    int left, top, width, height;
};

void ExpectPlaced(const ControlDefinition& window, const Placement& p) {
    const ControlDefinition* control = Element(window, p.name, p.index);
    ASSERT_TRUE(control) << std::string(p.name, p.name + wcslen(p.name)) << " " << p.index;
    const PropertyBag& bag = control->properties;
    EXPECT_EQ(bag.ReadInteger(L"Left", -1), p.left);
    EXPECT_EQ(bag.ReadInteger(L"Top", -1), p.top);
    EXPECT_EQ(bag.ReadInteger(L"Width", -1), p.width);
    EXPECT_EQ(bag.ReadInteger(L"Height", -1), p.height);
}

TEST(Definitions, TheConfigurationWindowIsLaidOutAsDesigned) {
    std::string error;
    std::optional<ControlDefinition> window = Load("FrmConfig.form", error);
    ASSERT_TRUE(window) << error;
    EXPECT_EQ(window->properties.ReadText(L"Caption", L""), L"Configuration");
    EXPECT_EQ(window->properties.ReadInteger(L"ClientWidth", 0), 7755);
    EXPECT_EQ(window->properties.ReadInteger(L"ClientHeight", 0), 5820);
    EXPECT_FALSE(window->properties.ReadBytes(L"Picture").empty());
    for (const Placement& p :
         std::initializer_list<Placement>{{L"Btn", 0, 360, 360, 1365, 405},
                                          {L"Btn", 1, 1920, 360, 1365, 405},
                                          {L"abtn", 2, 3480, 360, 1365, 405},
                                          {L"Pannel", 0, 360, 1080, 6675, 4215},
                                          {L"Pannel", 1, 1560, 1080, 6675, 4215},
                                          {L"Ans", 0, 3000, 5160, 1365, 405},
                                          {L"Ans", 1, 4440, 5160, 1365, 405},
                                          {L"Ans", 2, 5880, 5160, 1365, 405},
                                          {L"skn", 0, 360, 840, 1215, 1050},
                                          {L"Pointer", -1, 240, 720, 1470, 1305},
                                          {L"KeyControl", 0, 1920, 1200, 855, 255},
                                          {L"Ctrl", 0, 2880, 1200, 855, 255},
                                          {L"Shft", 0, 3840, 1200, 855, 255},
                                          {L"Rus", -1, 1560, 2280, 1635, 315},
                                          {L"cst", -1, 3480, 2280, 1635, 315},
                                          {L"Shape1", -1, 720, 480, 5220, 2775},
                                          {L"Shape2", -1, 1080, 2040, 4500, 855}})
        ExpectPlaced(*window, p);
    const ControlDefinition* page0 = Element(*window, L"Pannel", 0);
    const ControlDefinition* page1 = Element(*window, L"Pannel", 1);
    ASSERT_TRUE(page0 && page1);
    EXPECT_TRUE(page0->properties.ReadBoolean(L"Visible", true));
    EXPECT_FALSE(page1->properties.ReadBoolean(L"Visible", true));
    // What lies on which page.
    for (const wchar_t* name : {L"Label1", L"flst", L"skn", L"Pointer"})
        EXPECT_TRUE(Element(*page0, name) || Element(*page0, name, 0));
    for (const wchar_t* name : {L"Label7", L"KeyControl", L"Ctrl", L"Shft", L"Rus", L"cst"})
        EXPECT_TRUE(Element(*page1, name) || Element(*page1, name, 0));
    EXPECT_EQ(Element(*page0, L"flst")->properties.ReadText(L"Pattern", L""),
              L"*.png;*.jpg;*.bmp;*.gif");
    EXPECT_FALSE(Element(*page0, L"skn", 0)->properties.ReadBoolean(L"Visible", true));
    EXPECT_EQ(Element(*page1, L"Label7")->properties.ReadText(L"Caption", L""),
              L"Hotkeys for Desktop Manager,");
    EXPECT_EQ(Element(*page0, L"Label1")->properties.ReadText(L"Caption", L""), L"Appearance :");
    const std::pair<const wchar_t*, int> captions[] = {{L"Btn", 0},  {L"Btn", 1}, {L"abtn", 2},
                                                       {L"Ans", 0},  {L"Ans", 1}, {L"Ans", 2},
                                                       {L"Rus", -1}, {L"cst", -1}};
    const wchar_t* expected[] = {L"Appearance", L"Config", L"About",          L"Apply and Save",
                                 L"OK",         L"Cancel", L"Run On Startup", L"Corner Sensitive"};
    for (std::size_t i = 0; i < std::size(captions); ++i) {
        const ControlDefinition* button = Element(*window, captions[i].first, captions[i].second);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->properties.ReadText(L"Caption", L""), expected[i]);
        EXPECT_FALSE(button->properties.ReadBytes(L"ImgUp").empty());
    }
    // Both frames are white.
    EXPECT_EQ(Element(*page1, L"Shape1")->properties.ReadInteger(L"BorderColor", 0), 0xFFFFFF);
    EXPECT_EQ(Element(*page1, L"Shape2")->properties.ReadInteger(L"BorderColor", 0), 0xFFFFFF);
}

TEST(Definitions, TheAboutWindowKeepsItsLinksTargets) {
    std::string error;
    std::optional<ControlDefinition> window = Load("FrmAbout.form", error);
    ASSERT_TRUE(window) << error;
    EXPECT_EQ(window->properties.ReadText(L"Caption", L""), L"About Velt");
    EXPECT_EQ(window->properties.ReadInteger(L"ClientWidth", 0), 7440);
    EXPECT_EQ(window->properties.ReadInteger(L"ClientHeight", 0), 5955);
    for (const Placement& p :
         std::initializer_list<Placement>{{L"Image1", -1, 5020, 1060, 1815, 3240},
                                          {L"Image4", -1, 2880, 3960, 495, 480},
                                          {L"Btn2", -1, 3000, 5040, 1635, 315},
                                          {L"dyna", -1, 4920, 4920, 1815, 615},
                                          {L"Image3", -1, 2880, 2280, 1935, 720},
                                          {L"Image2", -1, 2640, 3720, 2415, 480}})
        ExpectPlaced(*window, p);
    const ControlDefinition* dyna = Element(*window, L"dyna");
    ASSERT_TRUE(dyna);
    EXPECT_FALSE(dyna->properties.ReadBoolean(L"Visible", true));
    EXPECT_FALSE(dyna->properties.ReadBytes(L"Picture").empty());
    // The mail and page links inside the panel the zoom grows.
    EXPECT_EQ(Element(*dyna, L"Image3")->properties.ReadText(L"Tag", L""), L"mailto:");
    EXPECT_EQ(Element(*dyna, L"Image2")->properties.ReadText(L"Tag", L""), L"{app}\\README.txt");
    EXPECT_EQ(Element(*window, L"Image4")->properties.ReadText(L"Tag", L""), L"{app}");
    EXPECT_EQ(Element(*window, L"tmr")->properties.ReadInteger(L"Interval", 0), 12);
    EXPECT_EQ(Element(*window, L"Btn2")->properties.ReadText(L"Caption", L""), L"OK");
    // The README the page link opens is shipped.
    EXPECT_GT(FileLength(kResources / "README.txt"), 0);
}

} // namespace
} // namespace velt
