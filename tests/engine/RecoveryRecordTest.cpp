#include "engine/RecoveryRecord.h"
#include "tests/support/FakeDesktop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace velt::testing {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<RecoveryEntry> Parsed(const std::string& text, bool* ok = nullptr) {
    std::vector<RecoveryEntry> entries{{1, 2, L"left from before"}};
    bool parsed = ParseRecoveryRecord(Bytes(text), entries);
    if (ok) *ok = parsed;
    return entries;
}

const std::vector<RecoveryEntry> kSample{
    {0x1a2b, 4242, L"Notepad"},
    {0x30, 7, L"With space, 100% and \u00e9\u4e2d\r\n"},
    {0xffffffff, 0xffffffffu, L"Edge"},
    {0x40, 1, L"a\u0020abcd"}, // an escape followed by what looks like more hex digits
};

TEST(RecoveryRecord, WhatIsWrittenReadsBackExactly) {
    std::string text = FormatRecoveryRecord(kSample);
    bool ok = false;
    EXPECT_EQ(Parsed(text, &ok), kSample);
    EXPECT_TRUE(ok);
    // Text lines: a header, then one line per window, each of printable ASCII.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
    for (char c : text) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7f)) << int(c);

    EXPECT_TRUE(Parsed(FormatRecoveryRecord({}), &ok).empty());
    EXPECT_TRUE(ok); // an empty record is a record
}

TEST(RecoveryRecord, EntriesThatCannotBeWrittenFaithfullyAreLeftOut) {
    std::vector<RecoveryEntry> entries{{0, 1, L"No handle"},
                                       {0x10, 1, L""},
                                       {0x14, 1, std::wstring(kMaxRecoveryClassName + 1, L'x')},
                                       {0x18, 1, std::wstring(kMaxRecoveryClassName, L'y')}};
    std::vector<RecoveryEntry> back = Parsed(FormatRecoveryRecord(entries));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0], entries[3]);

    std::vector<RecoveryEntry> many(kMaxRecoveryEntries + 5, RecoveryEntry{0x20, 1, L"C"});
    EXPECT_EQ(Parsed(FormatRecoveryRecord(many)).size(), kMaxRecoveryEntries);
}

TEST(RecoveryRecord, DamagedOrForeignRecordsAreIgnoredWhole) {
    const std::string good = FormatRecoveryRecord(kSample);
    bool ok = true;
    // Every prefix (a write cut short) and every single changed byte fails.
    for (size_t length = 0; length < good.size(); ++length) {
        EXPECT_TRUE(Parsed(good.substr(0, length), &ok).empty()) << length;
        EXPECT_FALSE(ok) << length;
    }
    for (size_t at = 0; at < good.size(); ++at) {
        std::string changed = good;
        changed[at] = static_cast<char>(changed[at] ^ 0x01);
        EXPECT_TRUE(Parsed(changed, &ok).empty()) << at;
    }
    EXPECT_TRUE(Parsed(good + "\n").empty());
    EXPECT_TRUE(Parsed(good + good).empty());

    // Well-formed lines under a header that lies, and headers of other kinds.
    std::string body = "30 7 Foo\n";
    for (const std::string& foreign : std::vector<std::string>{
             std::string("[Main]\r\nCorner=True\r\n"), std::string("VeltHidden 2 0 811c9dc5\n"),
             "VeltHidden 1 2 " + good.substr(good.find(' ', 13) + 1), // a count that disagrees
             "VeltHidden 1 1 00000000\n" + body, "VeltHidden 1 99999 811c9dc5\n",
             std::string("VeltHidden 1 0 811C9DC5\n"), std::string("VeltHidden 1 0 811c9dc5 \n"),
             std::string(300000, '\0')}) {
        EXPECT_TRUE(Parsed(foreign, &ok).empty()) << foreign.substr(0, 40);
        EXPECT_FALSE(ok);
    }
    EXPECT_TRUE(Parsed("VeltHidden 1 0 811c9dc5\n", &ok).empty());
    EXPECT_TRUE(ok); // the checksum of nothing, as a check of the lines above
}

TEST(RecoveryRecord, LinesAreCheckedFieldByField) {
    // Each body alone under a correct header: the checksum holds, the line does not.
    auto under = [](const std::string& body) {
        std::uint32_t hash = 2166136261u;
        for (unsigned char b : body) hash = (hash ^ b) * 16777619u;
        char header[64];
        std::snprintf(header, sizeof header, "VeltHidden 1 1 %08x\n", hash);
        return header + body;
    };
    bool ok = false;
    EXPECT_EQ(Parsed(under("1f 12 Cls\n"), &ok), (std::vector<RecoveryEntry>{{0x1f, 12, L"Cls"}}));
    EXPECT_TRUE(ok);
    for (const std::string& body : std::vector<std::string>{
             "0 12 Cls\n", "1F 12 Cls\n", "-1 12 Cls\n", "1f 4294967296 Cls\n", "1f 12\n",
             "1f 12 \n", "1f  12 Cls\n", "1f 12 Cls", "1f 12 C s\n", "1f 12 C%4\n",
             "1f 12 C%zzzz\n", "1f 12 C\x80\n", "11111111111111111 12 Cls\n",
             "1f 12 " + std::string(257, 'c') + "\n"}) {
        EXPECT_TRUE(Parsed(under(body), &ok).empty()) << body;
        EXPECT_FALSE(ok) << body;
    }
}

class Matching : public ::testing::Test {
protected:
    FakeDesktop desktop;
    WindowId Hidden(std::wstring className, std::uint32_t processId) {
        WindowId w = desktop.Add(L"Hidden", false);
        desktop.windows[w].className = std::move(className);
        desktop.windows[w].processId = processId;
        return w;
    }
};

TEST_F(Matching, OnlyWindowsStillHiddenOfTheSameProcessAndClassComeBack) {
    WindowId same = Hidden(L"Editor", 10);
    WindowId otherProcess = Hidden(L"Editor", 11);
    WindowId otherClass = Hidden(L"Viewer", 10);
    WindowId shownMeanwhile = Hidden(L"Editor", 10);
    desktop.windows[shownMeanwhile].visible = true;
    WindowId caseOnly = Hidden(L"EDITOR", 10);
    WindowId second = Hidden(L"Editor", 12);

    std::vector<RecoveryEntry> record{
        {second, 12, L"Editor"},     {same, 10, L"Editor"},           {otherProcess, 10, L"Editor"},
        {otherClass, 10, L"Editor"}, {shownMeanwhile, 10, L"Editor"}, {caseOnly, 10, L"Editor"},
        {0x9999990, 10, L"Editor"},  {same, 10, L"Editor"}, // closed, and a repeat
    };
    EXPECT_EQ(WindowsToShowAgain(record, desktop), (std::vector<WindowId>{second, same}));
}

TEST_F(Matching, DescribingSkipsWindowsThatAreGone) {
    WindowId a = Hidden(L"A", 3), b = Hidden(L"B", 4);
    std::vector<WindowId> windows{a, 0x7777770, b};
    EXPECT_EQ(DescribeWindows(windows, desktop),
              (std::vector<RecoveryEntry>{{a, 3, L"A"}, {b, 4, L"B"}}));
}

} // namespace
} // namespace velt::testing
