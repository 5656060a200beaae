// The alpha image control without a window system: properties, persistence, layout, hit shapes
// and the key colour, in a fake container.
#include "FakeControlHost.h"
#include "PngBuilder.h"

#include "imaging/aicAlphaImage.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace velt::test {
namespace {

constexpr std::uintptr_t kContainer = 100;

// A PNG of rows of characters: '.' transparent, '#' opaque red, 'b' opaque blue, 'g' opaque
// green, 'h' half-transparent white. Without '.' or 'h' it has no alpha channel at all.
std::vector<uint8_t> Picture(const std::vector<std::string>& rows) {
    const std::map<char, std::array<uint16_t, 4>> colours = {{'.', {0, 0, 0, 0}},
                                                             {'#', {255, 0, 0, 255}},
                                                             {'b', {0, 0, 255, 255}},
                                                             {'g', {0, 255, 0, 255}},
                                                             {'h', {255, 255, 255, 128}}};
    bool alpha = false;
    for (const std::string& row : rows) alpha |= row.find_first_of(".h") != std::string::npos;
    PngPicture p;
    p.width = static_cast<uint32_t>(rows[0].size());
    p.height = static_cast<uint32_t>(rows.size());
    p.colourType = alpha ? 6 : 2;
    for (const std::string& row : rows)
        for (char c : row)
            for (int channel = 0; channel < (alpha ? 4 : 3); ++channel)
                p.samples.push_back(colours.at(c)[static_cast<size_t>(channel)]);
    return BuildPng(p);
}

const std::vector<std::string> kRing = {
    "..##..", ".#..#.", "######", ".#..#.", "......",
};

// A control placed on its own container, listening to what it reports.
struct Placed {
    explicit Placed(int width, int height, bool userMode = true, std::int32_t scaleMode = 1)
        : site(kContainer, userMode, scaleMode), control(windows) {
        windows.AddWindow(kContainer, kContainer);
        control.PropertyChanged = [this](const std::wstring& name) { changes.push_back(name); };
        site.Add(control, 0, 0, width, height);
    }
    FakeWindows windows;
    FakeSite site;
    aicAlphaImage control;
    std::vector<std::wstring> changes;
};

uint32_t PixelOf(const c32bppDIB& image, int x, int y, uint8_t* alpha = nullptr) {
    uint8_t a = 0;
    uint32_t colour = static_cast<uint32_t>(image.GetPixel(x, y, a, true));
    if (alpha) *alpha = a;
    return colour;
}

TEST(AlphaImage, SettersNormaliseIgnoreAndReport) {
    Placed p(20, 20);
    for (auto [in, out] : {std::pair{0, 0}, {100, 100}, {150, 50}, {-30, 30}, {200, 100}}) {
        p.control.Opacity(in);
        EXPECT_EQ(p.control.Opacity(), out) << in;
    }
    p.control.Rotation(370);
    EXPECT_EQ(p.control.Rotation(), 10);
    p.control.Rotation(-30);
    EXPECT_EQ(p.control.Rotation(), -30);

    p.changes.clear();
    p.control.HitTest(4);
    p.control.Mirror(4);
    p.control.grayScale(9);
    p.control.MaskUsed(6);
    p.control.ScaleMethod(5);
    EXPECT_TRUE(p.changes.empty()); // out of range: ignored without a word
    EXPECT_EQ(p.control.HitTest(), 0);
    EXPECT_EQ(p.control.grayScale(), 0);

    // The same value again changes nothing and reports nothing ...
    p.control.HitTest(0);
    p.control.ScaleMethod(0);
    p.control.grayScale(0);
    p.control.Rotation(-30);
    p.control.Enabled(true);
    EXPECT_TRUE(p.changes.empty());
    // ... except for the properties that always store.
    p.control.Opacity(30);
    p.control.MaskColor(0x8000000F);
    p.control.Mirror(0);
    p.control.KeepOriginalFormat(true);
    p.control.MousePointer(0);
    p.control.OLEDropMode(0);
    EXPECT_EQ(p.changes,
              (std::vector<std::wstring>{L"Opacity", L"MaskColor", L"Mirror", L"KeepOriginalFormat",
                                         L"MousePointer", L"OLEDropMode"}));
    // Kept only while a designer edits the control.
    EXPECT_FALSE(p.control.KeepOriginalFormat());
    p.control.grayScale(8);
    EXPECT_EQ(p.control.grayScale(), 8);
}

TEST(AlphaImage, TheFlagWordPacksFiveSettings) {
    Placed p(20, 20);
    p.control.InitProperties();
    EXPECT_EQ(p.control.Flags(), kFlagStretchQuality | kFlagAutoSize);
    EXPECT_EQ(p.control.PropertyPrefix(), L"AIC1.0:");
    p.control.AutoSize(false);
    p.control.InversedImage(true);
    EXPECT_EQ(p.control.Flags(), kFlagStretchQuality | kFlagInversed);
    p.control.StretchQuality(false);
    EXPECT_FALSE(p.control.ImageObject().HighQualityInterpolation());
    // At run time AutoRedraw brings the control-size cache with it.
    p.control.AutoRedraw(true);
    EXPECT_EQ(p.control.Flags(), kFlagAutoRedraw | kFlagCacheInUse | kFlagInversed);
    ASSERT_TRUE(p.control.LoadImage_FromArray(Picture(kRing)));
    ASSERT_TRUE(p.control.HasCache());
    EXPECT_EQ(p.control.Cache()->Width(), 20);
    p.control.AutoRedraw(false);
    EXPECT_FALSE(p.control.HasCache());
    EXPECT_EQ(p.control.Flags(), kFlagInversed);

    // Stored without the key, the word reads 1; the cache bit never comes from storage.
    Placed q(20, 20);
    PropertyBag bag;
    bag.Set(L"Image", Picture(kRing));
    q.control.ReadProperties(bag);
    EXPECT_EQ(q.control.Flags(), kFlagStretchQuality);
    bag.Set(L"Props", kFlagAutoRedraw | kFlagCacheInUse | 2 | 16);
    Placed designed(20, 20, false);
    designed.control.ReadProperties(bag);
    EXPECT_EQ(designed.control.Flags(), kFlagAutoRedraw);
    EXPECT_FALSE(designed.control.HasCache());
}

TEST(AlphaImage, PropertiesRoundTripThroughTheBagStoringOnlyWhatDiffers) {
    const std::vector<uint8_t> png = Picture({"#b..", ".g.h"});
    Placed designer(30, 20, false);
    designer.control.InitProperties();
    ASSERT_TRUE(designer.control.LoadImage_FromArray(png));
    designer.control.AutoSize(false);
    designer.control.ScaleMethod(1);
    designer.control.Opacity(70);
    designer.control.Mirror(1);
    designer.control.Rotation(45);
    designer.control.grayScale(3);
    designer.control.HitTest(2);
    designer.control.AutoRedraw(true);
    designer.control.InversedImage(true);
    designer.control.MaskColor(0x00123456);
    designer.control.Enabled(false);
    designer.control.MousePointer(2);
    designer.control.OLEDropMode(1);
    PropertyBag bag;
    designer.control.WriteProperties(bag);

    std::set<std::wstring> keys;
    for (const auto& entry : bag.Entries()) keys.insert(entry.first);
    EXPECT_EQ(keys, (std::set<std::wstring>{L"Image", L"Scaler", L"Opacity", L"Mirror", L"Angle",
                                            L"GrayScale", L"HitTest", L"Props", L"MaskColor",
                                            L"Enabled", L"MPointer", L"OLEdrop"}));
    EXPECT_EQ(bag.ReadBytes(L"Image"), png); // a PNG is stored as it was read
    EXPECT_EQ(bag.ReadInteger(L"GrayScale", -1), 2);
    EXPECT_EQ(bag.ReadInteger(L"Props", 1), kFlagStretchQuality | kFlagAutoRedraw | kFlagInversed);

    Placed running(30, 20);
    running.control.ReadProperties(bag);
    aicAlphaImage& c = running.control;
    EXPECT_EQ(c.ScaleMethod(), 1);
    EXPECT_EQ(c.Opacity(), 70);
    EXPECT_EQ(c.Mirror(), 1);
    EXPECT_EQ(c.Rotation(), 45);
    EXPECT_EQ(c.grayScale(), 3);
    EXPECT_EQ(c.HitTest(), 2);
    EXPECT_TRUE(c.AutoRedraw());
    EXPECT_TRUE(c.InversedImage());
    EXPECT_FALSE(c.AutoSize());
    EXPECT_EQ(c.MaskColor(), 0x00123456u);
    EXPECT_FALSE(c.Enabled());
    EXPECT_EQ(c.MousePointer(), 2);
    EXPECT_EQ(c.OLEDropMode(), 1);
    EXPECT_TRUE(c.RotatedLayout());
    // The picture comes back with the same effects applied: mirrored and inverted.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            uint8_t a = 0, b = 0;
            EXPECT_EQ(PixelOf(c.ImageObject(), x, y, &a),
                      PixelOf(designer.control.ImageObject(), x, y, &b));
            EXPECT_EQ(a, b);
        }
    uint8_t alpha = 0;
    EXPECT_EQ(PixelOf(c.ImageObject(), 3, 0, &alpha), 0xFFFF00u); // red, inverted and mirrored
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(PixelOf(c.ImageObject(), 0, 1, &alpha), 0u); // half-transparent white, inverted
    EXPECT_EQ(alpha, 128);
    PixelOf(c.ImageObject(), 0, 0, &alpha);
    EXPECT_EQ(alpha, 0); // transparent stays transparent

    // The overview's glass: a stretched skin, not auto-sized, carries only its picture and scale.
    Placed glass(30, 20, false);
    glass.control.InitProperties();
    glass.control.LoadImage_FromArray(png);
    glass.control.AutoSize(false);
    glass.control.ScaleMethod(1);
    PropertyBag glassBag;
    glass.control.WriteProperties(glassBag);
    ASSERT_EQ(glassBag.Entries().size(), 2u);
    EXPECT_TRUE(glassBag.Contains(L"Image"));
    EXPECT_EQ(glassBag.ReadInteger(L"Scaler", 0), 1);
}

TEST(AlphaImage, AStoredInstanceWithoutAPictureComesBackPlain) {
    PropertyBag bag;
    bag.Set(L"Props", kFlagAutoRedraw | kFlagAutoSize | kFlagInversed | kFlagStretchQuality);
    bag.Set(L"Opacity", 40);
    bag.Set(L"Scaler", 4);
    bag.Set(L"ScaleCx", 12);
    bag.Set(L"ScaleCy", 9);
    bag.Set(L"Angle", 30);
    bag.Set(L"Mirror", 2);
    Placed p(20, 20);
    p.control.ReadProperties(bag);
    EXPECT_EQ(p.control.Flags(), kFlagStretchQuality);
    EXPECT_EQ(p.control.Opacity(), 100);
    EXPECT_EQ(p.control.ScaleMethod(), 0);
    EXPECT_EQ(p.control.Rotation(), 0);
    EXPECT_EQ(p.control.Mirror(), 0);
    EXPECT_EQ(p.control.DrawnWidth(), 0);
    EXPECT_EQ(p.control.ImageObject().BitsPointer(), nullptr);
    // A fixed size is stored only with scale method 4.
    PropertyBag written;
    p.control.WriteProperties(written);
    EXPECT_FALSE(written.Contains(L"ScaleCx"));
    EXPECT_FALSE(written.Contains(L"Image"));
}

TEST(AlphaImage, AutoSizedInstancesLayOutAsTurnedOnceStored) {
    // 30 x 40 has a diagonal of 50.
    const std::vector<uint8_t> png = Picture(std::vector<std::string>(40, std::string(30, 'b')));
    Placed fresh(100, 100, false); // a designer keeps the picture's bytes to store them
    fresh.control.InitProperties();
    ASSERT_TRUE(fresh.control.LoadImage_FromArray(png));
    EXPECT_FALSE(fresh.control.RotatedLayout());
    EXPECT_EQ(fresh.control.Width(), 75); // fitted 2.5 times, and the control takes that size
    EXPECT_EQ(fresh.control.Height(), 100);
    EXPECT_EQ(fresh.control.DrawnWidth(), 75);

    PropertyBag bag;
    fresh.control.WriteProperties(bag);
    Placed stored(75, 100);
    stored.control.ReadProperties(bag);
    EXPECT_TRUE(stored.control.RotatedLayout());
    // Fitted for turning inside 75: 45 x 60, whose diagonal 75 becomes the control's square side.
    EXPECT_EQ(stored.control.DrawnWidth(), 45);
    EXPECT_EQ(stored.control.DrawnHeight(), 60);
    EXPECT_EQ(stored.control.Width(), 75);
    EXPECT_EQ(stored.control.Height(), 75);
}

TEST(AlphaImage, ScaleMethodsFitStretchAndKeep) {
    Placed p(40, 20);
    p.control.InitProperties();
    p.control.AutoSize(false);
    ASSERT_TRUE(p.control.LoadImage_FromArray(Picture(kRing))); // 6 x 5
    EXPECT_EQ(p.control.DrawnWidth(), 24);                      // fit: 4 times
    EXPECT_EQ(p.control.DrawnHeight(), 20);
    EXPECT_EQ(p.control.ImageLeft(), 8);
    p.control.ScaleMethod(2);
    EXPECT_EQ(p.control.DrawnWidth(), 6); // never enlarged
    EXPECT_EQ(p.control.ImageLeft(), 17);
    EXPECT_EQ(p.control.ImageTop(), 7);
    p.control.ScaleMethod(1);
    EXPECT_EQ(p.control.DrawnWidth(), 40);
    EXPECT_EQ(p.control.DrawnHeight(), 20);
    p.control.ScaleMethod(4); // keeps what the last layout drew
    p.control.Resize(60, 60);
    EXPECT_EQ(p.control.DrawnWidth(), 40);
    EXPECT_EQ(p.control.ImageLeft(), 10);
    std::int32_t w = 0, h = 0;
    p.control.GetImageScales(w, h, 3);
    EXPECT_EQ(w, 6);
    EXPECT_EQ(h, 5);
    p.control.GetImageScales(w, h, 0, 12, 1000);
    EXPECT_EQ(w, 12);
    EXPECT_EQ(h, 10);
    p.control.ClearImage();
    w = h = -7;
    p.control.GetImageScales(w, h);
    EXPECT_EQ(w, -7); // no picture: nothing is written
}

// The ring at its own size in a control, hit on the given points.
std::string Hits(aicAlphaImage& control, int width, int height) {
    std::string out;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) out += control.HitTest(float(x), float(y)) ? 'X' : '.';
        out += '\n';
    }
    return out;
}

TEST(AlphaImage, HitStylesFollowTheDrawnPixels) {
    Placed p(8, 7);
    p.control.InitProperties();
    p.control.AutoSize(false);
    p.control.ScaleMethod(3);
    ASSERT_TRUE(p.control.LoadImage_FromArray(Picture(kRing)));
    ASSERT_EQ(p.control.ImageLeft(), 1);
    ASSERT_EQ(p.control.ImageTop(), 1);
    EXPECT_EQ(Hits(p.control, 8, 7),
              "XXXXXXXX\nXXXXXXXX\nXXXXXXXX\nXXXXXXXX\nXXXXXXXX\nXXXXXXXX\nXXXXXXXX\n");
    p.control.HitTest(1);
    EXPECT_EQ(Hits(p.control, 8, 7),
              "........\n.XXXXXX.\n.XXXXXX.\n.XXXXXX.\n.XXXXXX.\n........\n........\n");
    p.control.HitTest(2);
    EXPECT_EQ(Hits(p.control, 8, 7),
              "........\n...XX...\n..XXXX..\n.XXXXXX.\n..XXXX..\n........\n........\n");
    p.control.HitTest(3);
    EXPECT_EQ(Hits(p.control, 8, 7),
              "........\n...XX...\n..X..X..\n.XXXXXX.\n..X..X..\n........\n........\n");
    // Points are rounded, halves to even: 2.5 is 2 (a hit), 3.5 is 4 (a hit), 3.4 is 3 (none).
    EXPECT_TRUE(p.control.HitTest(2.5f, 2.0f));
    EXPECT_TRUE(p.control.HitTest(3.5f, 1.0f));
    EXPECT_FALSE(p.control.HitTest(3.4f, 2.0f));
    // The same with the cache of AutoRedraw.
    p.control.AutoRedraw(true);
    p.control.ScaleMethod(0);
    p.control.ScaleMethod(3);
    ASSERT_TRUE(p.control.HasCache());
    EXPECT_EQ(Hits(p.control, 8, 7),
              "........\n...XX...\n..X..X..\n.XXXXXX.\n..X..X..\n........\n........\n");

    // A picture without alpha takes hits on the whole control, whatever the style.
    ASSERT_TRUE(p.control.LoadImage_FromArray(Picture({"bb", "bb"})));
    EXPECT_TRUE(p.control.HitTest(0, 0));
    EXPECT_TRUE(p.control.HitTest(7, 6));
}

TEST(AlphaImage, TheKeyColourComesOutAndGoesBack) {
    Placed p(3, 2);
    p.control.InitProperties();
    p.control.AutoSize(false);
    ASSERT_TRUE(p.control.LoadImage_FromArray(Picture({"#b#", "b#g"})));
    c32bppDIB& image = p.control.ImageObject();
    ASSERT_FALSE(image.Alpha());
    p.control.MaskUsed(2); // the top-left pixel's colour: red
    EXPECT_EQ(p.control.MaskUsed(), 2);
    EXPECT_TRUE(p.control.MaskActive());
    EXPECT_EQ(p.control.MaskKey(), 0x0000FFu);
    EXPECT_TRUE(image.Alpha());
    uint8_t alpha = 9;
    for (auto [x, y] : {std::pair{0, 0}, {2, 0}, {1, 1}}) {
        PixelOf(image, x, y, &alpha);
        EXPECT_EQ(alpha, 0) << x << "," << y;
    }
    EXPECT_EQ(PixelOf(image, 1, 0, &alpha), 0xFF0000u);
    EXPECT_EQ(alpha, 255);
    // Taken out again, the key's pixels come back in the key colour.
    p.control.MaskUsed(0);
    EXPECT_FALSE(p.control.MaskActive());
    EXPECT_FALSE(image.Alpha());
    EXPECT_EQ(PixelOf(image, 1, 1, &alpha), 0x0000FFu);
    EXPECT_EQ(alpha, 255);

    // Inverted, a sampled corner is knocked out as shown and kept as it was before inverting.
    p.control.InversedImage(true);
    p.control.MaskUsed(5); // bottom-right: green, shown as magenta
    EXPECT_EQ(p.control.MaskKey(), 0x00FF00u);
    PixelOf(image, 2, 1, &alpha);
    EXPECT_EQ(alpha, 0);
    p.control.InversedImage(false);
    p.control.MaskUsed(0);
    EXPECT_EQ(PixelOf(image, 2, 1, &alpha), 0x00FF00u);

    // MaskColor, a system colour among them, changes the key while MaskUsed is 1.
    p.control.MaskColor(0x00FF0000); // blue
    p.control.MaskUsed(1);
    PixelOf(image, 1, 0, &alpha);
    EXPECT_EQ(alpha, 0);
    p.control.MaskColor(0x0000FF);
    PixelOf(image, 1, 0, &alpha);
    EXPECT_EQ(alpha, 255);
    PixelOf(image, 0, 0, &alpha);
    EXPECT_EQ(alpha, 0);

    // A picture with alpha of its own switches the key colour off, and refuses a new one.
    ASSERT_TRUE(p.control.LoadImage_FromArray(Picture({"#.", "hb"})));
    EXPECT_FALSE(p.control.MaskActive());
    EXPECT_EQ(p.control.MaskUsed(), 0);
    p.control.MaskUsed(2);
    EXPECT_EQ(p.control.MaskUsed(), 0);
}

TEST(AlphaImage, ALoadedOpaquePictureTakesTheKeyOfItsOwnCorner) {
    Placed p(2, 2);
    p.control.InitProperties();
    ASSERT_TRUE(p.control.LoadImage_FromArray(Picture({"#b", "bb"})));
    p.control.MaskUsed(3); // top-right: blue
    EXPECT_EQ(p.control.MaskKey(), 0xFF0000u);
    ASSERT_TRUE(p.control.LoadImage_FromArray(Picture({"g#", "#g"})));
    EXPECT_TRUE(p.control.MaskActive());
    EXPECT_EQ(p.control.MaskKey(), 0x0000FFu); // the new top-right: red
    uint8_t alpha = 9;
    PixelOf(p.control.ImageObject(), 0, 1, &alpha);
    EXPECT_EQ(alpha, 0);
}

TEST(AlphaImage, ADesignerSeesACheckerboardThatIsNeverStored) {
    Placed p(30, 20, false);
    p.control.InitProperties();
    c32bppDIB& image = p.control.ImageObject();
    ASSERT_EQ(image.ImageType(), itCheckerBoard);
    EXPECT_FALSE(image.Alpha());
    uint8_t alpha = 0;
    EXPECT_EQ(PixelOf(image, 0, 0, &alpha), 0xFFFFFFu);
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(PixelOf(image, 11, 11), 0xFFFFFFu);
    EXPECT_EQ(PixelOf(image, 12, 0), 0xC0C0C0u);
    EXPECT_EQ(PixelOf(image, 0, 12), 0xC0C0C0u);
    EXPECT_EQ(PixelOf(image, 12, 12), 0xFFFFFFu);
    EXPECT_EQ(PixelOf(image, 29, 19), 0xC0C0C0u); // third square of the second row
    PropertyBag bag;
    p.control.WriteProperties(bag);
    EXPECT_FALSE(bag.Contains(L"Image"));
    std::vector<uint8_t> bytes;
    std::int32_t scan = 0;
    EXPECT_FALSE(p.control.GetImageBytes(bytes, scan));
    EXPECT_FALSE(p.control.GetOriginalBytes(bytes));
    p.control.MaskUsed(2);
    EXPECT_EQ(p.control.MaskUsed(), 0);
}

TEST(AlphaImage, ImageBytesInAndOut) {
    Placed p(3, 2);
    p.control.InitProperties();
    ASSERT_TRUE(p.control.LoadImage_FromArray(Picture({"#bh", "g.#"})));
    std::vector<uint8_t> bytes;
    std::int32_t scan = 0;
    ASSERT_TRUE(p.control.GetImageBytes(bytes, scan));
    EXPECT_EQ(scan, 12);
    ASSERT_EQ(bytes.size(), 24u);
    // Top row first, straight alpha, blue-green-red-alpha.
    EXPECT_EQ(bytes[2], 255); // red
    EXPECT_EQ(bytes[8], 255); // the half-transparent white, not premultiplied
    EXPECT_EQ(bytes[11], 128);
    ASSERT_TRUE(p.control.GetImageBytes(bytes, scan, false, false, true, true));
    EXPECT_EQ(bytes[12 + 0], 255); // bottom-up, RGB order: the red pixel of the top row
    EXPECT_EQ(bytes[12 + 8], 128); // premultiplied white
    std::vector<uint8_t> opaqueBlue(24);
    for (size_t i = 0; i < 24; i += 4) opaqueBlue[i] = 255, opaqueBlue[i + 3] = 255;
    ASSERT_TRUE(p.control.SetImageBytes(opaqueBlue));
    EXPECT_EQ(PixelOf(p.control.ImageObject(), 1, 1), 0xFF0000u);
    EXPECT_FALSE(p.control.ImageObject().Alpha());
}

TEST(AlphaImage, PointerCoordinatesReachTheHostInItsUnit) {
    for (auto [mode, expectedX] : {std::pair{1, 30.0f}, {3, 2.0f}}) {
        Placed p(10, 10, true, mode);
        p.control.InitProperties();
        std::vector<std::string> log;
        p.control.MouseDown = [&](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
            log.push_back("down " + std::to_string(button) + " " + std::to_string(shift) + " " +
                          std::to_string(int(x)) + " " + std::to_string(int(y)));
        };
        p.control.MouseUp = [&](std::int16_t&, std::int16_t&, float& x, float&) {
            log.push_back("up " + std::to_string(int(x)));
        };
        p.control.Click = [&] { log.push_back("click"); };
        p.control.OnPointer({PointerAction::Down, 1, 2, 2, 3});
        p.control.OnPointer({PointerAction::Up, 1, 0, 2, 3});
        p.control.OnClick();
        const int y = mode == 1 ? 45 : 3;
        EXPECT_EQ(log, (std::vector<std::string>{"down 1 2 " + std::to_string(int(expectedX)) +
                                                     " " + std::to_string(y),
                                                 "up " + std::to_string(int(expectedX)), "click"}));
    }
}

TEST(AlphaImage, AFailedLoadLeavesNoPictureBehindTheCache) {
    Placed p(6, 5);
    p.control.InitProperties();
    p.control.AutoRedraw(true);
    ASSERT_TRUE(p.control.LoadImage_FromArray(Picture(kRing)));
    ASSERT_TRUE(p.control.HasCache());
    uint8_t alpha = 0;
    PixelOf(*p.control.Cache(), 2, 0, &alpha);
    ASSERT_EQ(alpha, 255);
    EXPECT_FALSE(p.control.LoadImage_FromArray(std::vector<uint8_t>(80, 7)));
    EXPECT_FALSE(p.control.LoadImage_FromFile("/nonexistent/skin.png"));
    ASSERT_TRUE(p.control.HasCache());
    PixelOf(*p.control.Cache(), 2, 0, &alpha);
    EXPECT_EQ(alpha, 0);
}

} // namespace
} // namespace velt::test
