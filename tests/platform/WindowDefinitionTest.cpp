#include "platform/WindowDefinition.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

std::optional<Bytes> Pictures(std::wstring_view name) {
    if (name == L"FACE_UP") return Bytes{0x42, 0x4D, 1, 2, 3};
    return std::nullopt;
}

std::optional<ControlDefinition> Parse(std::string_view text, std::string* error = nullptr) {
    return ParseWindowDefinition(text, Pictures, error);
}

constexpr char kPrompt[] = "\xEF\xBB\xBF# the prompt\r\n"
                           "Begin Form FrmPass\r\n"
                           "    Caption = \"Say \"\"hi\"\" \xC3\xA9t\xC3\xA9 \xF0\x9F\x94\x92\"\r\n"
                           "    ClientWidth = 4410\r\n"
                           "    BackColor = 0xF4EEEC\r\n"
                           "\r\n"
                           "    Begin Frame Box\r\n"
                           "        Begin ctlVistorButton Btn2\r\n"
                           "            Left = -480\r\n"
                           "            ImgUp = Resource(\"FACE_UP\")\r\n"
                           "            ImgOver = Hex(\"00ff10\")\r\n"
                           "            Panel = True\r\n"
                           "            Caption = \"\"\r\n"
                           "        End\r\n"
                           "    End\r\n"
                           "    Begin Label Label1\r\n"
                           "    End\r\n"
                           "End\r\n";

TEST(WindowDefinition, ParsesEveryKindOfValueAndNestedControls) {
    std::string error;
    auto window = Parse(kPrompt, &error);
    ASSERT_TRUE(window) << error;
    EXPECT_EQ(window->type, L"Form");
    EXPECT_EQ(window->name, L"FrmPass");
    EXPECT_EQ(window->properties.ReadText(L"Caption", L""),
              std::wstring(L"Say \"hi\" \u00E9t\u00E9 ") +
                  (sizeof(wchar_t) == 2 ? L"\xD83D\xDD12" : L"\U0001F512"));
    EXPECT_EQ(window->properties.ReadInteger(L"ClientWidth", 0), 4410);
    EXPECT_EQ(window->properties.ReadInteger(L"BackColor", 0), 0xF4EEEC);
    ASSERT_EQ(window->controls.size(), 2u);
    EXPECT_EQ(window->controls[1].name, L"Label1");

    const ControlDefinition* button = window->Find(L"Btn2");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->type, L"ctlVistorButton");
    EXPECT_EQ(button->properties.ReadInteger(L"Left", 0), -480);
    EXPECT_EQ(button->properties.ReadBytes(L"ImgUp"), (Bytes{0x42, 0x4D, 1, 2, 3}));
    EXPECT_EQ(button->properties.ReadBytes(L"ImgOver"), (Bytes{0x00, 0xFF, 0x10}));
    EXPECT_TRUE(button->properties.ReadBoolean(L"Panel", false));
    EXPECT_EQ(button->properties.ReadText(L"Caption", L"TovikButton"), L"");
    EXPECT_EQ(window->Find(L"Nobody"), nullptr);
}

TEST(WindowDefinition, SerializedTextParsesBackEqual) {
    auto window = Parse(kPrompt);
    ASSERT_TRUE(window);
    auto text = SerializeWindowDefinition(*window);
    ASSERT_TRUE(text);
    std::string error;
    auto again = ParseWindowDefinition(*text, nullptr, &error); // pictures now travel as Hex
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(*again, *window);

    ControlDefinition broken = *window;
    broken.properties.Set(L"Caption", std::wstring(L"two\nlines"));
    EXPECT_FALSE(SerializeWindowDefinition(broken));
}

TEST(WindowDefinition, BrokenTextIsRefusedWithItsLine) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"", "no window block"},
        {"Begin Form F\n", "Begin without End"},
        {"End\n", "End without Begin"},
        {"Caption = \"x\"\n", "outside any block"},
        {"Begin Form F\nEnd\nBegin Form G\nEnd\n", "line 3: text after"},
        {"Begin Form\nEnd\n", "type and a name"},
        {"Begin Form 9F\nEnd\n", "bad type or name"},
        {"Begin Form F\n  Caption \"x\"\nEnd\n", "Key = Value"},
        {"Begin Form F\n  A = 1\n  A = 2\nEnd\n", "line 3: property given twice"},
        {"Begin Form F\n  A = \"open\nEnd\n", "closing quote"},
        {"Begin Form F\n  A = \"x\" y\nEnd\n", "after the closing quote"},
        {"Begin Form F\n  A = \"\xC3\"\nEnd\n", "not UTF-8"},
        {"Begin Form F\n  A = \"\xED\xA0\x80\"\nEnd\n", "not UTF-8"},
        {"Begin Form F\n  A = \"\xC0\xAF\"\nEnd\n", "not UTF-8"},
        {"Begin Form F\n  A = 2147483648\nEnd\n", "out of range"},
        {"Begin Form F\n  A = 0x123456789\nEnd\n", "hexadecimal number"},
        {"Begin Form F\n  A = 12a\nEnd\n", "bad value"},
        {"Begin Form F\n  A = Yes\nEnd\n", "bad value"},
        {"Begin Form F\n  A = Hex(\"abc\")\nEnd\n", "odd count"},
        {"Begin Form F\n  A = Hex(\"zz\")\nEnd\n", "hexadecimal digit"},
        {"Begin Form F\n  A = Hex(00)\nEnd\n", "expected (\""},
        {"Begin Form F\n  A = Resource(\"NOPE\")\nEnd\n", "no resource named NOPE"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(Parse(c.text, &error)) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << " gave " << error;
    }
    EXPECT_EQ(Parse("Begin Form F\n  A = -2147483648\nEnd\n")->properties.ReadInteger(L"A", 0),
              INT32_MIN);
}

TEST(WindowDefinition, EveryPrefixOfAValidTextFailsCleanlyOrParses) {
    std::string text = kPrompt;
    for (std::size_t length = 0; length <= text.size(); ++length)
        (void)Parse(std::string_view(text).substr(0, length)); // no crash, no read past the end

    std::string deep;
    for (int i = 0; i < 17; ++i) deep += "Begin Box B\n";
    std::string error;
    EXPECT_FALSE(Parse(deep, &error));
    EXPECT_NE(error.find("too deep"), std::string::npos);
}

} // namespace
} // namespace velt
