// What the engine tells the recovery record, and the primary mouse button.
#include "tests/engine/EngineFixture.h"

#include <set>

namespace velt::testing {
namespace {

class FakeStore : public RecoveryStore {
public:
    void Write(std::span<const RecoveryEntry> entries) override {
        writes.emplace_back(entries.begin(), entries.end());
        present = true;
    }
    void Remove() override { present = false; }

    std::set<WindowId> Last() const {
        std::set<WindowId> windows;
        if (!writes.empty())
            for (const RecoveryEntry& e : writes.back()) windows.insert(e.window);
        return windows;
    }

    std::vector<std::vector<RecoveryEntry>> writes;
    bool present = false;
};

class Recovery : public EngineTest {
protected:
    Recovery() { form.SetRecoveryStore(&store); }
    FakeStore store;
};

TEST_F(Recovery, TheRecordFollowsTheHiddenWindowsOfUnlockedDesktops) {
    WindowId a = desktop.Add(L"A"), b = desktop.Add(L"B");
    Poll();
    ASSERT_EQ(store.writes.size(), 1u); // the first poll writes the empty record
    EXPECT_TRUE(store.Last().empty());
    Poll();
    EXPECT_EQ(store.writes.size(), 1u); // nothing changed, nothing written

    form.GoZorvan(0);
    EXPECT_EQ(store.Last(), (std::set<WindowId>{a, b}));
    EXPECT_EQ(store.writes.back().front().className, L"Helper");
    EXPECT_EQ(store.writes.back().front().processId, 77u);
    WindowId c = desktop.Add(L"C");
    Poll();
    size_t writes = store.writes.size();
    Poll(); // windows opening on the current desktop are not hidden: no write
    EXPECT_EQ(store.writes.size(), writes);

    form.GoZorvan(2);
    EXPECT_EQ(store.Last(), (std::set<WindowId>{a, b, c}));

    // Locking a desktop leaves its windows out at the next poll, as the exit would leave them
    // hidden; unlocking puts them back.
    form.SlotPasswords[4] = L"secret";
    Poll();
    EXPECT_EQ(store.Last(), (std::set<WindowId>{c}));
    for (const auto& write : store.writes)
        for (const RecoveryEntry& e : write)
            EXPECT_EQ(e.className.find(L"secret"), std::wstring::npos);
    form.SlotPasswords[4].clear();
    Poll();
    EXPECT_EQ(store.Last(), (std::set<WindowId>{a, b, c}));

    form.Form_Terminate();
    EXPECT_FALSE(store.present);
}

TEST_F(Recovery, DuringASwitchTheRecordHoldsBothSides) {
    WindowId here = desktop.Add(L"Here"), there = desktop.Add(L"There", false);
    Poll();
    form.Dex[1] = {there};
    // What the record holds at the moment the first window changes, and when it is over.
    std::set<WindowId> atFirstChange;
    size_t writesBefore = store.writes.size();
    desktop.shows.clear();
    form.GoZorvan(1);
    ASSERT_GE(store.writes.size(), writesBefore + 2);
    for (const RecoveryEntry& e : store.writes[writesBefore]) atFirstChange.insert(e.window);
    EXPECT_EQ(atFirstChange, (std::set<WindowId>{here, there}));
    EXPECT_EQ(store.Last(), (std::set<WindowId>{here}));
    EXPECT_TRUE(desktop.Visible(there) && !desktop.Visible(here));
}

TEST_F(Recovery, AWrongPasswordWritesNothing) {
    desktop.Add(L"A");
    Poll();
    form.SlotPasswords[0] = L"pw";
    Poll();
    size_t writes = store.writes.size();
    view.answer = L"wrong";
    form.GoZorvan(0);
    EXPECT_EQ(store.writes.size(), writes);
}

class PrimaryButton : public EngineTest {
protected:
    PrimaryButton() { settings.CornerSensitive = true; }
    WindowId CarriedAcrossTheRightEdge(int button) {
        WindowId w = desktop.Add(L"Held");
        desktop.windowUnderCursor = w;
        desktop.keysDown = {button};
        desktop.cursor = Point{1919, 500};
        for (int i = 0; i < 11; ++i) Poll();
        EXPECT_EQ(form.CurrentSlot, 5);
        return form.Dex[5].empty() ? 0 : form.Dex[5].back();
    }
};

TEST_F(PrimaryButton, IsTheRightOneWhenTheButtonsAreSwapped) {
    desktop.buttonsSwapped = true;
    EXPECT_NE(CarriedAcrossTheRightEdge(kVkRightButton), 0u);
}

TEST_F(PrimaryButton, TheSecondaryButtonCarriesNothing) {
    desktop.buttonsSwapped = true;
    EXPECT_EQ(CarriedAcrossTheRightEdge(kVkLeftButton), 0u);
}

} // namespace
} // namespace velt::testing
