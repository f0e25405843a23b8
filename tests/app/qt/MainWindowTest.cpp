#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <string>
#include <vector>

#include "app/qt/CChatBar.h"
#include "app/qt/CMainFrame.h"
#include "app/qt/CMainMenu.h"
#include "app/qt/CStatusPanes.h"
#include "rules/GameState.h"

using namespace menuid;

namespace {

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ResetGameStateForStart();
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    void TearDown() override { ResetGameStateForStart(); }

    CMainFrame frame;
};

} // namespace

// An item is enabled and checked as its queries say; an item without a handler stays
// greyed; a disabled command is not run by its key either; keys send their own ids.
TEST_F(MainWindowTest, ItemsFollowTheirSlotsAndKeysSendTheirOwnIds) {
    CMainMenu& menu = frame.Menu();
    std::string ran;
    bool allowed = false, on = false;
    for (int id : {kScore, kScoreKey, kLastTrick, kLastTrickKey, kRules, kDeck})
        menu.SetCommand(id, {[&ran, id] { ran += std::to_string(id) + " "; }, {}, {}});
    menu.SetCommand(kAutoPlay,
                    {[&] { ran += "auto "; }, [&] { return allowed; }, [&] { return on; }});
    for (const bool state : {false, true}) {
        allowed = on = state;
        menu.UpdateItems();
        EXPECT_EQ(std::tuple(menu.Item(kAutoPlay)->isEnabled(), menu.Item(kAutoPlay)->isChecked()),
                  std::tuple(state, state));
        EXPECT_TRUE(menu.Item(kDeck)->isEnabled()); // a handler and no query
        EXPECT_FALSE(menu.Item(kSave)->isEnabled() || menu.Run(kUndo));
    }
    allowed = false;
    EXPECT_FALSE(menu.Run(kAutoPlay));
    EXPECT_TRUE(menu.Run(kDeck));
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    // F7 (AutoPlay) is disabled at first.
    for (const auto key : {Qt::Key_F9, Qt::Key_F6, Qt::Key_F7, Qt::Key_F1})
        QTest::keyClick(&frame, key);
    allowed = true;
    QTest::keyClick(&frame, Qt::Key_F7);
    EXPECT_EQ(ran, "32774 32775 32776 32787 auto ");
}

TEST_F(MainWindowTest, StatusTextIsCutToItsBufferWithoutSplittingACharacter) {
    frame.SetStatusText(std::string(300, 'x'));
    EXPECT_EQ(frame.StatusPanes().MessagePane()->text().size(), 255);
    const std::string text = std::string(254, 'a') + "\xC3\xA9" + "b";
    EXPECT_EQ(CStatusPanes::Fit(text), std::string(254, 'a'));
}

TEST_F(MainWindowTest, ChatLinesAreShownTogetherAndTheListKeepsTheLastOnes) {
    const QListWidget* list = frame.ChatBar().ChatList();
    const int total = CMainFrame::kMaxChatLines + 20;
    for (int i = 0; i < total; ++i) {
        frame.AddChatListLine(std::to_string(i));
        if (i == 10) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return list->count() == 11; }, 10000));
        }
    }
    EXPECT_EQ(list->count(), 11) << "the later lines wait to be shown together";
    const std::vector<std::string> lines = frame.ChatListLines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(CMainFrame::kMaxChatLines));
    EXPECT_EQ(lines.front(), "20");
    EXPECT_EQ(lines.back(), std::to_string(total - 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->count() == CMainFrame::kMaxChatLines; }, 10000));
    EXPECT_EQ(frame.ChatListLines(), lines);
}
