// An alpha image control taken from a real window definition, given a picture as a designer gives
// it, written back into the definition's text, and read from there as the running program reads
// it.
#include "FakeControlHost.h"
#include "IcoBuilder.h"
#include "PngBuilder.h"

#include "imaging/AlphaImageDefinition.h"
#include "platform/DefinitionEdit.h"
#include "platform/Units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace velt::test {
namespace {

constexpr std::uintptr_t kContainer = 100;

std::string FormText(const char* name) {
    std::ifstream file(std::string(VELT_FORMS_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The definitions' own pictures do not matter here.
std::optional<Bytes> AnyPicture(std::wstring_view) { return Bytes{}; }

// A 100 x 50 PNG with alpha: a gradient left to right, transparent bottom rows.
Bytes GradientPng() {
    PngPicture p;
    p.width = 100;
    p.height = 50;
    p.colourType = 6;
    for (uint32_t y = 0; y < p.height; ++y)
        for (uint32_t x = 0; x < p.width; ++x) {
            p.samples.push_back(static_cast<uint16_t>(x * 2));
            p.samples.push_back(static_cast<uint16_t>(255 - y * 5));
            p.samples.push_back(90);
            p.samples.push_back(y < 40 ? 255 : 0);
        }
    return BuildPng(p);
}

// An icon with 32-bit entries of 16 x 16 (blue) and 32 x 32 (red).
Bytes TwoSizeIcon() {
    auto entry = [](int32_t side, uint32_t colour) {
        BmpPicture picture;
        picture.width = side;
        picture.height = side;
        picture.bitCount = 32;
        picture.samples.assign(static_cast<size_t>(side * side), colour);
        return BitmapEntry(picture);
    };
    return BuildIco({entry(16, 0xFF0000FF), entry(32, 0xFFFF0000)});
}

std::vector<uint8_t> PixelsOf(aicAlphaImage& control) {
    std::vector<uint8_t> pixels;
    int32_t scan = 0;
    control.GetImageBytes(pixels, scan);
    return pixels;
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::string HexOf(const Bytes& bytes) { return *PropertyValueText(PropertyValue(bytes)); }

// The definition's one alpha image control, as a designer holds it.
struct Designed {
    explicit Designed(const std::string& definition) : text(definition), control(windows) {
        window = ParseWindowDefinition(text, AnyPicture);
        EXPECT_TRUE(window);
        if (!window) return;
        places = AlphaImageBlocks(*window);
        EXPECT_EQ(places.size(), 1u);
        if (places.size() == 1) site.Load(control, *BlocksInTextOrder(*window)[places[0]]);
    }
    std::optional<std::string> Store(std::string* error) {
        return StoreAlphaImage(text, places.at(0), control, AnyPicture, error);
    }
    std::string text;
    std::optional<ControlDefinition> window;
    std::vector<std::size_t> places;
    FakeWindows windows;
    DesignSite site;
    aicAlphaImage control;
};

// The control of that block as the program builds it at run time.
struct Running {
    Running(const std::string& text, std::size_t place) : site(kContainer), control(windows) {
        windows.AddWindow(kContainer, kContainer);
        window = ParseWindowDefinition(text, AnyPicture);
        EXPECT_TRUE(window);
        if (!window) return;
        const PropertyBag& bag = BlocksInTextOrder(*window)[place]->properties;
        site.Add(control, 0, 0, TwipsToPixels(bag.ReadInteger(L"Width", 0)),
                 TwipsToPixels(bag.ReadInteger(L"Height", 0)));
        control.ReadProperties(bag);
    }
    std::optional<ControlDefinition> window;
    FakeWindows windows;
    FakeSite site;
    aicAlphaImage control;
};

TEST(AlphaImageDefinition, APictureGivenOnThePageIsWhatTheProgramShows) {
    const std::string original = FormText("FrmConfig.form");
    Designed designed(original);
    std::vector<uint8_t> none;
    EXPECT_FALSE(designed.control.GetOriginalBytes(none)); // the designer's placeholder

    const Bytes png = GradientPng();
    designed.control.LoadForPage(png, 0, 0, 0);
    EXPECT_EQ(designed.control.Width(), 100);
    EXPECT_EQ(designed.control.Height(), 50);
    std::string error;
    const auto stored = designed.Store(&error);
    ASSERT_TRUE(stored) << error;

    // Only the control's size and its picture change, in the lines where they belong.
    std::string expected = Replaced(original,
                                    "            Width = 1215\n            Height = 1050\n"
                                    "            Visible = False\n",
                                    "            Width = 1500\n            Height = 750\n"
                                    "            Visible = False\n            Image = " +
                                        HexOf(png) + "\n");
    EXPECT_EQ(*stored, expected);

    Running running(*stored, designed.places[0]);
    aicAlphaImage reference(running.windows);
    running.site.Add(reference, 0, 0, 100, 50);
    ASSERT_TRUE(reference.LoadImage_FromArray(png));
    EXPECT_EQ(running.control.ImageObject().Width(), 100);
    EXPECT_EQ(running.control.ImageObject().Height(), 50);
    EXPECT_EQ(running.control.ImageObject().ImageType(), itPNG);
    const std::vector<uint8_t> shown = PixelsOf(running.control);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown, PixelsOf(reference));

    // Opened again in the designer, the control holds the bytes it was given.
    Designed again(*stored);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(again.control.GetOriginalBytes(bytes));
    EXPECT_EQ(bytes, png);
    EXPECT_EQ(again.Store(&error), *stored) << "storing what was read changes nothing";
}

TEST(AlphaImageDefinition, TheChosenIconEntryGivesTheControlItsSize) {
    const Bytes icon = TwoSizeIcon();
    Designed designed(FormText("FrmConfig.form"));
    designed.control.LoadForPage(icon, 16, 16, 32);
    EXPECT_EQ(designed.control.ImageObject().Width(), 16);
    EXPECT_EQ(designed.control.Width(), 16);
    std::string error;
    const auto stored = designed.Store(&error);
    ASSERT_TRUE(stored) << error;

    // The whole file is kept; the control's size picks the entry when the program reads it.
    auto window = ParseWindowDefinition(*stored, AnyPicture);
    ASSERT_TRUE(window);
    const PropertyBag& bag = BlocksInTextOrder(*window)[designed.places[0]]->properties;
    EXPECT_EQ(bag.ReadBytes(L"Image"), icon);
    EXPECT_EQ(bag.ReadInteger(L"Width", 0), 240);
    EXPECT_EQ(bag.ReadInteger(L"Height", 0), 240);
    Running running(*stored, designed.places[0]);
    EXPECT_EQ(running.control.ImageObject().Width(), 16);
    uint8_t alpha = 0; // the small entry is blue (0x00BBGGRR)
    EXPECT_EQ(static_cast<uint32_t>(running.control.ImageObject().GetPixel(8, 8, alpha, true)) &
                  0xFFFFFF,
              0xFF0000u);
}

TEST(AlphaImageDefinition, ClearingThePictureTakesItOutOfTheDefinition) {
    const std::string original = FormText("FrmConfig.form");
    Designed first(original);
    first.control.LoadForPage(GradientPng(), 0, 0, 0);
    const auto withPicture = first.Store(nullptr);
    ASSERT_TRUE(withPicture);

    Designed designed(*withPicture);
    designed.control.ClearImage();
    std::string error;
    const auto cleared = designed.Store(&error);
    ASSERT_TRUE(cleared) << error;
    EXPECT_EQ(*cleared, Replaced(original, "Width = 1215\n            Height = 1050",
                                 "Width = 1500\n            Height = 750"));
}

TEST(AlphaImageDefinition, EveryKeyTheControlStoresIsOneTheDefinitionReplaces) {
    FakeWindows windows;
    DesignSite site;
    aicAlphaImage control(windows);
    ControlDefinition block;
    block.properties.Set(L"Width", 600);
    block.properties.Set(L"Height", 600);
    site.Load(control, block);
    control.KeepOriginalFormat(true);
    control.LoadImage_FromArray(TwoSizeIcon(), 32, 32, 32);
    control.ScaleMethod(4);
    control.Opacity(50);
    control.Mirror(1);
    control.Rotation(10);
    control.grayScale(2);
    control.HitTest(2);
    control.AutoRedraw(true);
    control.InversedImage(true);
    control.MaskColor(0x123456);
    control.MaskUsed(2);
    control.Enabled(false);
    control.MousePointer(2);
    control.MouseIcon(Bytes{1, 2, 3});
    control.OLEDropMode(1);
    PropertyBag bag;
    control.WriteProperties(bag);
    EXPECT_GE(bag.Entries().size(), 15u);
    const auto keys = AlphaImageKeys();
    for (const auto& entry : bag.Entries())
        EXPECT_NE(std::find(keys.begin(), keys.end(), entry.first), keys.end())
            << std::string(entry.first.begin(), entry.first.end());
}

} // namespace
} // namespace velt::test
