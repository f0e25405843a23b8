#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <string>

#include "app/qt/CChatBar.h"
#include "app/qt/CMainFrame.h"
#include "app/qt/CMainMenu.h"
#include "app/qt/CRulesDialog.h"
#include "app/qt/CStatusPanes.h"
#include "app/qt/CVeskView.h"
#include "display/TablePicture.h"
#include "display/TableWidget.h"
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
        EXPECT_EQ(menu.Item(kAutoPlay)->isEnabled(), state);
        EXPECT_EQ(menu.Item(kAutoPlay)->isChecked(), state);
        EXPECT_TRUE(menu.Item(kDeck)->isEnabled()); // a handler and no query
        EXPECT_FALSE(menu.Item(kSave)->isEnabled());
        EXPECT_FALSE(menu.Run(kUndo));
    }
    EXPECT_EQ(menu.Item(kAutoPartner1 + 3)->text(), "&Olvessa");
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

TEST_F(MainWindowTest, MenuPromptsReplaceTheGamePanesWhileAMenuIsOpen) {
    CStatusPanes& panes = frame.StatusPanes();
    ASSERT_EQ(panes.Mode(), CStatusPanes::kGameMode);
    EXPECT_TRUE(panes.ClockRunning());
    frame.SetStatusText("Select a card to play.");
    g_nMarkerPlace = 2;

    QMenuBar* bar = frame.menuBar();
    QMenu* game = frame.Menu().GameMenu();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(game->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return game->isVisible(); }, 5000));
    EXPECT_EQ(panes.Mode(), CStatusPanes::kMenuMode);
    EXPECT_FALSE(panes.ClockRunning() || panes.ClockPane()->isVisible() ||
                 panes.MessagePane()->isVisible());

    // The menu takes the pointer's moves (no real pointer on this platform). The
    // item is greyed (no handler), and its prompt shows all the same.
    ASSERT_FALSE(frame.Menu().Item(kSave)->isEnabled());
    const QPoint at = game->actionGeometry(frame.Menu().Item(kSave)).center();
    QMouseEvent move(QEvent::MouseMove, at, game->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(game, &move);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return panes.PromptPane()->text() == "Save current game information."; }, 5000));
    EXPECT_TRUE(panes.PromptPane()->isVisible());
    frame.SetStatusText("dropped while the menu is open");

    game->hide();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panes.Mode() == CStatusPanes::kGameMode; }, 5000));
    EXPECT_TRUE(panes.ClockRunning() && panes.ClockPane()->isVisible());
    EXPECT_FALSE(panes.PromptPane()->isVisible());
    EXPECT_EQ(panes.MessagePane()->text(), "Select a card to play.");
    EXPECT_EQ(g_nMarkerPlace, -1);
}

TEST_F(MainWindowTest, StatusTextIsCutToItsBufferAndClockIsFormatted) {
    CStatusPanes& panes = frame.StatusPanes();
    frame.SetStatusText(std::string(300, 'x'));
    EXPECT_EQ(panes.MessagePane()->text().size(), 255);
    // A two-byte character straddling the cut is left out whole.
    const std::string text = std::string(254, 'a') + "\xC3\xA9" + "b";
    EXPECT_EQ(CStatusPanes::Fit(text), std::string(254, 'a'));
    panes.UpdateClock();
    EXPECT_TRUE(QTime::fromString(panes.ClockPane()->text(), "hh:mm:ss").isValid());
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

TEST_F(MainWindowTest, SecondScoreRequestPutsTheTableBack) {
    CVeskView& view = frame.View();
    view.Table().EnsurePicture();
    ASSERT_TRUE(view.Picture().HasSurface());
    const QImage before = view.Picture().Picture().copy();
    view.ShowScoreSheet();
    ASSERT_TRUE(g_bOverlay);
    EXPECT_NE(view.Picture().Picture(), before);
    // The game flow's removal clears the flag first, then asks for the table.
    g_bOverlay = 0;
    view.RestoreOverlayPicture();
    EXPECT_FALSE(g_bOverlay);
    EXPECT_EQ(view.Picture().Picture(), before);
}

// Help -> "Rules of Vesk" (F1) shows the handbook from the program's resources; its
// contents links name anchors within it.
TEST_F(MainWindowTest, HelpMenuOffersTheRulesHandbook) {
    QMenu* help = frame.Menu().HelpMenu();
    ASSERT_TRUE(help);
    EXPECT_EQ(help->actions(),
              (QList<QAction*>{frame.Menu().Item(kRules), frame.Menu().Item(kAbout)}));
    EXPECT_EQ(frame.Menu().Item(kRules)->text(), "&Rules of Vesk\tF1");
    CRulesDialog rules;
    EXPECT_EQ(rules.windowTitle(), "Rules of Vesk");
    const QString text = rules.Browser()->document()->toPlainText();
    for (const char* part : {"The cards", "Bidding", "Playing the tricks", "Declarations",
                             "Scoring", "The score sheet", "On the screen"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(part))) << part;
    const QString html = rules.Browser()->toHtml();
    for (const char* anchor :
         {"cards", "bidding", "play", "declarations", "scoring", "sheet", "screen"})
        EXPECT_TRUE(html.contains(QStringLiteral("name=\"%1\"").arg(anchor))) << anchor;
}
