#include "settings/Settings.h"
#include "settings/KeyName.h"

#include <gtest/gtest.h>

#include <map>

namespace velt {
namespace {

using Ini = std::map<std::pair<std::wstring, std::wstring>, std::wstring>;

IniRead From(const Ini& ini) {
    return [&ini](const std::wstring& section, const std::wstring& key) {
        auto it = ini.find({section, key});
        return it == ini.end() ? std::wstring() : it->second;
    };
}

TEST(ReadSettings, OnlyTheExactTextTrueTurnsCornersOn) {
    Settings settings;
    for (const wchar_t* text : {L"true", L"TRUE", L"True ", L"1", L"-1", L""}) {
        Ini ini{{{L"Main", L"Corner"}, text}};
        settings.CornerSensitive = true;
        ReadSettings(From(ini), settings);
        EXPECT_FALSE(settings.CornerSensitive) << text;
    }
    Ini ini{{{L"Main", L"Corner"}, L"True"}};
    ReadSettings(From(ini), settings);
    EXPECT_TRUE(settings.CornerSensitive);
}

TEST(ReadSettings, ABadValueKeepsItsFieldAndTheNextKeyStillLoads) {
    Settings settings;
    settings.Hotkeys[0].Control = 17;
    Ini ini{{{L"Keys", L"Control0"}, L"abc"},
            {{L"Keys", L"Shift0"}, L"16"},
            {{L"Keys", L"Alt0"}, L"70000"},
            {{L"Keys", L"Control3"}, L"-5"},
            {{L"Keys", L"Shift3"}, std::wstring(300, L'7')},
            {{L"Keys", L"Alt3"}, L"65"}};
    settings.Hotkeys[0].Alt = 65;
    ReadSettings(From(ini), settings);
    EXPECT_EQ(settings.Hotkeys[0].Control, 17);
    EXPECT_EQ(settings.Hotkeys[0].Shift, 16);
    EXPECT_EQ(settings.Hotkeys[0].Alt, 65);
    EXPECT_EQ(settings.Hotkeys[3].Control, -5);
    EXPECT_EQ(settings.Hotkeys[3].Shift, 0);
    EXPECT_EQ(settings.Hotkeys[3].Alt, 65);
}

TEST(SwitchToCaption, NamesTheKeysInControlShiftAltOrder) {
    EXPECT_EQ(SwitchToCaption(KeyCombo{16, 17, 65}), L"Switch to -- Ctrl+Shift+A");
    EXPECT_EQ(SwitchToCaption(KeyCombo{}), L"Switch to -- ++");
    EXPECT_EQ(SwitchToCaption(KeyCombo{91, 0, 112}), L"Switch to -- ++F1");
}

TEST(KeyName, CoversTheWholeTable) {
    const std::map<int, std::wstring> named{
        {1, L"L-Click"}, {2, L"R-Click"}, {8, L"Back"},    {13, L"Return"}, {16, L"Shift"},
        {17, L"Ctrl"},   {18, L"Alt"},    {27, L"Escape"}, {32, L"Space"},  {37, L"Left"},
        {38, L"Up"},     {39, L"Right"},  {40, L"Down"},   {48, L"0"},      {57, L"9"},
        {65, L"A"},      {90, L"Z"},      {112, L"F1"},    {121, L"F10"},   {123, L"F12"},
        {192, L"`"}};
    for (int code = -300; code <= 70000; code += (code < 300 ? 1 : 997)) {
        auto it = named.find(code);
        bool inRange = (code >= 48 && code <= 57) || (code >= 65 && code <= 90) ||
                       (code >= 112 && code <= 123);
        if (it != named.end()) EXPECT_EQ(KeyName(code), it->second) << code;
        else if (!inRange) EXPECT_EQ(KeyName(code), L"") << code;
        else EXPECT_EQ(KeyName(code).size(), code >= 112 ? (code >= 121 ? 3u : 2u) : 1u) << code;
    }
}

TEST(SkinPath, JoinsFolderSkinAndName) {
    EXPECT_EQ(SkinPath(L"C:\\Velt", L"Blue.png"), L"C:\\Velt\\skin\\Blue.png");
    EXPECT_EQ(SkinPath(L"C:\\Velt", L""), L"C:\\Velt\\skin\\");
}

} // namespace
} // namespace velt
