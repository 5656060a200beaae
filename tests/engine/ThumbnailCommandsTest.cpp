#include "engine/ThumbnailCommands.h"
#include "tests/engine/EngineFixture.h"

namespace velt::testing {
namespace {

class ThumbnailCommands : public EngineTest {
protected:
    // The prompt's answers, one per prompt, in order.
    void Answer(std::vector<std::wstring> answers) {
        m_answers = std::move(answers);
        m_next = 0;
        view.onPrompt = [this] {
            view.answer = m_next < m_answers.size() ? m_answers[m_next++] : L"";
        };
    }
    std::vector<std::wstring> Prompts() const {
        std::vector<std::wstring> prompts;
        for (const std::wstring& entry : view.log)
            if (entry.rfind(L"InputDialog", 0) == 0) prompts.push_back(entry);
        return prompts;
    }

    std::vector<std::wstring> m_answers;
    size_t m_next = 0;
};

const std::wstring kLockPrompt = L"InputDialog Lock Desktop! / Enter Password to Lock this Desktop";
const std::wstring kLockedPrompt = L"InputDialog Locked Desktop! / This Desktop is already Locked";
const std::wstring kNewPrompt = L"InputDialog Lock Desktop! / Enter the new Password";

TEST_F(ThumbnailCommands, TheLeftButtonSwitchesAndOnTheCurrentDesktopDoesNothing) {
    DexIcon_MouseDown(form, view, 4, 1);
    EXPECT_TRUE(view.log.empty());
    DexIcon_MouseDown(form, view, 2, 1);
    EXPECT_EQ(form.CurrentSlot, 2);
    view.log.clear();
    DexIcon_MouseDown(form, view, 7, 4); // the middle button
    DexIcon_MouseDown(form, view, 9, 1); // no such thumbnail
    DexIcon_MouseDown(form, view, -1, 2);
    EXPECT_TRUE(view.log.empty());
    EXPECT_EQ(form.CurrentSlot, 2);
}

TEST_F(ThumbnailCommands, TheRightButtonLocksAndAnEmptyAnswerOrCancelLeavesItUnlocked) {
    Answer({L""});
    DexIcon_MouseDown(form, view, 3, 2);
    EXPECT_EQ(Prompts(), (std::vector<std::wstring>{kLockPrompt}));
    EXPECT_TRUE(form.SlotPasswords[3].empty());

    view.log.clear();
    Answer({L"s3cret"});
    DexIcon_MouseDown(form, view, 3, 2);
    EXPECT_EQ(Prompts(), (std::vector<std::wstring>{kLockPrompt}));
    EXPECT_EQ(form.SlotPasswords[3], L"s3cret");
    EXPECT_EQ(form.CurrentSlot, 4); // locking is no switch

    // The current desktop can be locked too.
    view.log.clear();
    Answer({L"here"});
    DexIcon_MouseDown(form, view, 4, 2);
    EXPECT_EQ(form.SlotPasswords[4], L"here");
}

TEST_F(ThumbnailCommands, ALockedDesktopAsksTheOldPasswordFirst) {
    form.SlotPasswords[6] = L"old";
    Answer({L"wrong"});
    DexIcon_MouseDown(form, view, 6, 2);
    EXPECT_EQ(Prompts(), (std::vector<std::wstring>{kLockedPrompt})); // no second prompt
    EXPECT_EQ(form.SlotPasswords[6], L"old");

    view.log.clear();
    Answer({L"OLD"}); // exactly the password, case and all
    DexIcon_MouseDown(form, view, 6, 2);
    EXPECT_EQ(form.SlotPasswords[6], L"old");

    view.log.clear();
    Answer({L"old", L"new"});
    DexIcon_MouseDown(form, view, 6, 2);
    EXPECT_EQ(Prompts(), (std::vector<std::wstring>{kLockedPrompt, kNewPrompt}));
    EXPECT_EQ(form.SlotPasswords[6], L"new");

    view.log.clear();
    Answer({L"new", L""}); // the right password, then nothing: unlocked
    DexIcon_MouseDown(form, view, 6, 2);
    EXPECT_TRUE(form.SlotPasswords[6].empty());
}

TEST_F(ThumbnailCommands, NothingHappensWhileThePromptIsOpen) {
    view.promptVisible = true;
    DexIcon_MouseDown(form, view, 2, 1);
    DexIcon_MouseDown(form, view, 2, 2);
    EXPECT_TRUE(view.log.empty());
    EXPECT_EQ(form.CurrentSlot, 4);
    EXPECT_TRUE(form.SlotPasswords[2].empty());
}

TEST_F(ThumbnailCommands, ALockedTargetAsksForItsPasswordBeforeTheSwitch) {
    form.SlotPasswords[0] = L"pw";
    Answer({L"nope"});
    DexIcon_MouseDown(form, view, 0, 1);
    EXPECT_EQ(form.CurrentSlot, 4);
    Answer({L"pw"});
    DexIcon_MouseDown(form, view, 0, 1);
    EXPECT_EQ(form.CurrentSlot, 0);
}

} // namespace
} // namespace velt::testing
