// PNG properties: how values are accepted and tidied, and how they come out as chunks that
// libpng reads back.
#include "PngWriterSupport.h"

#include "imaging/PngWriter.h"

#include <gtest/gtest.h>

#include <map>

namespace velt::test {
namespace {

std::vector<uint8_t> Save(c32bppDIB& image) {
    std::vector<uint8_t> png;
    EXPECT_TRUE(image.SaveToStream_PNG(png));
    return png;
}

std::wstring TextOf(const c32bppDIB& image, int32_t id, std::wstring_view caption = {}) {
    PngPropertyValue value = image.PngPropertyGet(id, caption);
    return std::holds_alternative<std::wstring>(value) ? std::get<std::wstring>(value)
                                                       : L"<not text>";
}

std::string Text(const Chunk& chunk) { return std::string(chunk.data.begin(), chunk.data.end()); }

std::vector<std::string> TextChunks(const std::vector<uint8_t>& png) {
    std::vector<std::string> texts;
    for (const Chunk& c : ChunksOf(png))
        if (c.type == "tEXt") texts.push_back(Text(c));
    return texts;
}

// Two opaque colours, blue and green: a two-entry palette.
void MakeTwoColours(c32bppDIB& image) {
    Make(image, 2, 2, {0xFF0000FF, 0xFF00FF00, 0xFF00FF00, 0xFF0000FF});
}

TEST(PngProperties, WrittenInTheirPlacesAndReadBackByLibpng) {
    c32bppDIB image;
    MakeTwoColours(image);
    ASSERT_TRUE(image.PngPropertySet(pngComment, L"the last"));
    ASSERT_TRUE(image.PngPropertySet(pngTitle, L"A title"));
    ASSERT_TRUE(image.PngPropertySet(pngDescription, L"What it shows"));
    ASSERT_TRUE(image.PngPropertySet(pngAuthor, L"Someone"));
    ASSERT_TRUE(image.PngPropertySet(pngCustomText, L"flatbed", L"Scanner"));
    ASSERT_TRUE(image.PngPropertySet(pngModifiedTime, PngDate{2024, 2, 29, 13, 45, 10}));
    ASSERT_TRUE(image.PngPropertySet(pngBackground, 0x0000FF)); // red, red in the low byte
    std::vector<uint8_t> png = Save(image);
    std::vector<Chunk> chunks = ChunksOf(png);
    EXPECT_EQ(TypesOf(chunks),
              (std::vector<std::string>{"IHDR", "tEXt", "tEXt", "PLTE", "bKGD", "IDAT", "tIME",
                                        "tEXt", "tEXt", "tEXt", "IEND"}));
    using namespace std::string_literals;
    EXPECT_EQ(TextChunks(png),
              (std::vector<std::string>{"Title\0A title"s, "Author\0Someone"s,
                                        "Description\0What it shows"s, "Comment\0the last"s,
                                        "Scanner\0flatbed"s}));
    // Red is not in the palette: it joins it, after blue and green.
    EXPECT_EQ(Find(chunks, "PLTE")->data, (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0}));
    EXPECT_EQ(Find(chunks, "bKGD")->data, (std::vector<uint8_t>{2}));
    EXPECT_EQ(Find(chunks, "tIME")->data, (std::vector<uint8_t>{0x07, 0xE8, 2, 29, 13, 45, 10}));

    LibpngInfo info = ReadWithLibpng(png);
    ASSERT_TRUE(info.ok);
    ASSERT_EQ(info.texts.size(), 5u);
    EXPECT_EQ(info.texts[0], (std::pair<std::string, std::string>{"Title", "A title"}));
    EXPECT_EQ(info.texts[4], (std::pair<std::string, std::string>{"Scanner", "flatbed"}));
    ASSERT_TRUE(info.hasTime);
    EXPECT_EQ(info.time.year, 2024);
    EXPECT_EQ(info.time.second, 10);
    ASSERT_TRUE(info.hasBackground);
    EXPECT_EQ(info.background.index, 2);
    EXPECT_EQ(DecodeWithLibpng(png).pixels, PixelBytes(image));

    EXPECT_EQ(TextOf(image, pngTitle), L"A title");
    EXPECT_EQ(TextOf(image, pngCustomText, L"scanner"), L"flatbed");
    EXPECT_EQ(std::get<PngDate>(image.PngPropertyGet(pngModifiedTime)),
              (PngDate{2024, 2, 29, 13, 45, 10}));
    EXPECT_EQ(std::get<int32_t>(image.PngPropertyGet(pngBackground)), 0x0000FF);
}

TEST(PngProperties, TextIsTidiedOrDropped) {
    c32bppDIB image;
    MakeTwoColours(image);
    ASSERT_TRUE(image.PngPropertySet(pngTitle, L"a\r\nb\rc\td"));
    EXPECT_EQ(TextOf(image, pngTitle), L"a\nb\nc\td");
    // A control character drops the whole text; the property stays, with the keyword only.
    ASSERT_TRUE(image.PngPropertySet(pngAuthor, L"bell\x07"));
    EXPECT_EQ(TextOf(image, pngAuthor), L"");
    ASSERT_TRUE(image.PngPropertySet(pngSource, std::wstring(40000, L'x')));
    EXPECT_EQ(TextOf(image, pngSource).size(), 32700u);
    ASSERT_TRUE(image.PngPropertySet(pngWarning, 42));
    EXPECT_EQ(TextOf(image, pngWarning), L"42");
    ASSERT_TRUE(image.PngPropertySet(pngSoftware, 2.5));
    EXPECT_EQ(TextOf(image, pngSoftware), L"2.5");
    ASSERT_TRUE(image.PngPropertySet(pngDisclaimer, PngDate{2001, 9, 8, 7, 6, 5}));
    EXPECT_EQ(TextOf(image, pngDisclaimer), L"2001-09-08 07:06:05");
    EXPECT_FALSE(image.PngPropertySet(pngCopyright, PngPropertyValue{}));
    EXPECT_EQ(TextOf(image, pngCopyright), L"");

    // Long standard texts stay plain; long custom ones are compressed.
    const std::wstring long2000(2000, L'y');
    ASSERT_TRUE(image.PngPropertySet(pngDescription, long2000));
    ASSERT_TRUE(image.PngPropertySet(pngCustomText, long2000, L"Notes"));
    ASSERT_TRUE(image.PngPropertySet(pngCustomText, std::wstring(1024, L'z'), L"Short"));
    std::vector<uint8_t> png = Save(image);
    std::vector<Chunk> chunks = ChunksOf(png);
    EXPECT_EQ(Find(chunks, "tEXt")->data, (std::vector<uint8_t>{'T', 'i', 't', 'l', 'e', 0, 'a',
                                                                '\n', 'b', '\n', 'c', '\t', 'd'}));
    using namespace std::string_literals;
    EXPECT_EQ(TextChunks(png)[1], "Author\0"s);
    ASSERT_NE(Find(chunks, "zTXt"), nullptr);
    EXPECT_LT(Find(chunks, "zTXt")->data.size(), 100u);
    LibpngInfo info = ReadWithLibpng(png);
    ASSERT_TRUE(info.ok);
    std::map<std::string, std::pair<std::string, int>> byKeyword;
    for (size_t i = 0; i < info.texts.size(); ++i)
        byKeyword[info.texts[i].first] = {info.texts[i].second, info.compression[i]};
    EXPECT_EQ(byKeyword["Description"].first, std::string(2000, 'y'));
    EXPECT_EQ(byKeyword["Description"].second, PNG_TEXT_COMPRESSION_NONE);
    EXPECT_EQ(byKeyword["Notes"].first, std::string(2000, 'y'));
    EXPECT_EQ(byKeyword["Notes"].second, PNG_TEXT_COMPRESSION_zTXt);
    EXPECT_EQ(byKeyword["Short"].second, PNG_TEXT_COMPRESSION_NONE);
    EXPECT_EQ(byKeyword["Source"].first.size(), 32700u);
}

TEST(PngProperties, CustomKeywords) {
    c32bppDIB image;
    MakeTwoColours(image);
    // A standard keyword, whatever its case or surrounding spaces, is the standard property.
    ASSERT_TRUE(image.PngPropertySet(pngCustomText, L"x", L" Title "));
    EXPECT_EQ(TextOf(image, pngTitle), L"x");
    EXPECT_EQ(TextOf(image, pngCustomText, L"TITLE"), L"x");
    for (const wchar_t* bad : {L"Tab\there", L"", L"   ", L"Del\x7F", L"C1\x9F"})
        EXPECT_FALSE(image.PngPropertySet(pngCustomText, L"v", bad)) << bad;
    ASSERT_TRUE(image.PngPropertySet(pngCustomText, L"1", L"  Scan   ner  "));
    ASSERT_TRUE(image.PngPropertySet(pngCustomText, L"2", L"\u00A0Le\u00A0\u00A0Caf\u00E9"));
    ASSERT_TRUE(image.PngPropertySet(pngCustomText, L"3", std::wstring(100, L'k')));
    ASSERT_TRUE(image.PngPropertySet(pngCustomText, L"4", L"SCAN NER")); // replaces "Scan ner"
    using namespace std::string_literals;
    std::vector<std::string> texts = TextChunks(Save(image));
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "Title\0x"s);
    EXPECT_EQ(texts[1], "Scan ner\0004"s);
    EXPECT_EQ(texts[2], "Le Caf\xE9\0002"s);
    EXPECT_EQ(texts[3], std::string(79, 'k') + "\0003"s);

    // Removal matches the keyword exactly; the last entry moves into the gap.
    EXPECT_FALSE(image.PngPropertySet(pngCustomText, std::nullopt, L"scan ner"));
    EXPECT_TRUE(image.PngPropertySet(pngCustomText, std::nullopt, L"Scan ner"));
    EXPECT_EQ(TextOf(image, pngCustomText, L"Scan ner"), L"");
    texts = TextChunks(Save(image));
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].substr(0, 3), "kkk");
    EXPECT_EQ(texts[2].substr(0, 2), "Le");

    cPNGwriter writer;
    ASSERT_TRUE(writer.SetProperty(pngCustomText, L"a", L"One"));
    ASSERT_TRUE(writer.SetProperty(pngCustomText, L"b", L"Two"));
    EXPECT_TRUE(writer.RemoveProperty(pngCustomText, L"One"));
    EXPECT_NE(writer.SetMask() & pngCustomText, 0u);
    EXPECT_TRUE(writer.RemoveProperty(pngCustomText, L"Two"));
    EXPECT_EQ(writer.SetMask() & pngCustomText, 0u);
}

TEST(PngProperties, NumbersDatesAndDefaults) {
    c32bppDIB image;
    // No properties yet: the defaults, and nothing to remove.
    EXPECT_EQ(std::get<int32_t>(image.PngPropertyGet(pngBackground)), -1);
    EXPECT_EQ(std::get<PngDate>(image.PngPropertyGet(pngModifiedTime)), (PngDate{1899, 12, 30}));
    EXPECT_EQ(TextOf(image, pngTitle), L"");
    EXPECT_EQ(TextOf(image, pngFilter), L"");
    EXPECT_FALSE(image.PngPropertySet(pngTitle));

    EXPECT_FALSE(image.PngPropertySet(16384, L"x"));
    EXPECT_FALSE(image.PngPropertySet(3, L"x"));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(image.PngPropertyGet(99)));

    struct DateCase {
        PngPropertyValue value;
        bool accepted;
        PngDate stored;
    };
    const DateCase dates[] = {
        {PngDate{2024, 2, 29, 23, 59, 59}, true, {2024, 2, 29, 23, 59, 59}},
        {std::wstring(L"2024-02-29"), true, {2024, 2, 29, 0, 0, 0}},
        {std::wstring(L"2024/03/01 08:05"), true, {2024, 3, 1, 8, 5, 0}},
        {std::wstring(L"2000-01-02T03:04:05"), true, {2000, 1, 2, 3, 4, 5}},
        {std::wstring(L"2023-02-29"), false, {}},
        {std::wstring(L"2024-01-01 24:00"), false, {}},
        {std::wstring(L"yesterday"), false, {}},
        {5, false, {}},
        {PngDate{2024, 13, 1}, false, {}},
    };
    for (const DateCase& d : dates) {
        ASSERT_TRUE(image.PngPropertySet(pngModifiedTime, PngDate{1999, 1, 1}));
        EXPECT_EQ(image.PngPropertySet(pngModifiedTime, d.value), d.accepted);
        const PngDate expected = d.accepted ? d.stored : PngDate{1999, 1, 1};
        EXPECT_EQ(std::get<PngDate>(image.PngPropertyGet(pngModifiedTime)), expected);
    }

    struct NumberCase {
        PngPropertyValue value;
        bool accepted;
        int32_t stored;
    };
    const NumberCase numbers[] = {{-1, true, 0xFFFFFF},
                                  {std::wstring(L"255"), true, 255},
                                  {std::wstring(L"abc"), false, 0},
                                  {2.5, true, 2},
                                  {3.5, true, 4},
                                  {1e12, false, 0},
                                  {PngDate{}, false, 0}};
    for (const NumberCase& n : numbers) {
        ASSERT_TRUE(image.PngPropertySet(pngBackground, 0));
        EXPECT_EQ(image.PngPropertySet(pngBackground, n.value), n.accepted);
        EXPECT_EQ(std::get<int32_t>(image.PngPropertyGet(pngBackground)),
                  n.accepted ? n.stored : 0);
    }
    ASSERT_TRUE(image.PngPropertySet(pngFilter, 7));
    EXPECT_EQ(std::get<int32_t>(image.PngPropertyGet(pngFilter)), 7);
    EXPECT_TRUE(image.PngPropertySet(pngFilter));
    EXPECT_EQ(std::get<int32_t>(image.PngPropertyGet(pngFilter)), 0);
    EXPECT_FALSE(image.PngPropertySet(pngFilter));

    // -1 drops every property: the defaults of an image without any come back.
    EXPECT_TRUE(image.PngPropertySet(pngDropAll));
    EXPECT_EQ(std::get<int32_t>(image.PngPropertyGet(pngBackground)), -1);
    EXPECT_EQ(TextOf(image, pngFilter), L"");
}

TEST(PngProperties, BackgroundForEachColourType) {
    c32bppDIB image;
    const uint32_t colour = 0x332211; // red 0x11, green 0x22, blue 0x33
    Make(image, 2, 1, {0xFF000000, 0xFF808080});
    ASSERT_TRUE(image.PngPropertySet(pngBackground, static_cast<int32_t>(colour)));
    EXPECT_EQ(Find(ChunksOf(Save(image)), "bKGD")->data, (std::vector<uint8_t>{0, 0x11}));

    std::vector<uint32_t> many;
    for (uint32_t i = 0; i < 300; ++i) many.push_back(0xFF000000 | ((i * 0x10307) & 0xFFFFFF));
    Make(image, 300, 1, many, false);
    EXPECT_EQ(Find(ChunksOf(Save(image)), "bKGD")->data,
              (std::vector<uint8_t>{0, 0x11, 0, 0x22, 0, 0x33}));

    // A palette that holds the colour gives its entry; a full one without it gives none.
    Make(image, 3, 1, {0xFF0000FF, 0xFF112233, 0xFFFFFFFF});
    std::vector<Chunk> chunks = ChunksOf(Save(image));
    EXPECT_EQ(Find(chunks, "bKGD")->data, (std::vector<uint8_t>{1}));
    EXPECT_EQ(Find(chunks, "PLTE")->data.size(), 9u);
    many.resize(256);
    Make(image, 256, 1, many);
    chunks = ChunksOf(Save(image));
    EXPECT_EQ(Find(chunks, "bKGD"), nullptr);
    EXPECT_EQ(Find(chunks, "PLTE")->data.size(), 768u);
}

} // namespace
} // namespace velt::test
