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

TEST_F(MainWindowTest, ItemsFollowTheirSlots) {
    CMainMenu& menu = frame.Menu();
    int runs = 0;
    bool allowed = false, on = false;
    menu.SetCommand(kAutoPlay, {[&] { ++runs; }, [&] { return allowed; }, [&] { return on; }});
    menu.SetCommand(kDeck, {[&] { ++runs; }, {}, {}});

    struct Row {
        bool allowed, on;
        bool autoPlayEnabled, autoPlayChecked;
    };
    for (const Row& r : {Row{false, false, false, false}, Row{true, true, true, true},
                         Row{true, false, true, false}}) {
        allowed = r.allowed;
        on = r.on;
        menu.UpdateItems();
        EXPECT_EQ(menu.Item(kAutoPlay)->isEnabled(), r.autoPlayEnabled);
        EXPECT_EQ(menu.Item(kAutoPlay)->isChecked(), r.autoPlayChecked);
        EXPECT_TRUE(menu.Item(kDeck)->isEnabled()); // a handler and no query
        // Items whose handlers are not connected stay greyed and do nothing.
        EXPECT_FALSE(menu.Item(kSave)->isEnabled());
        EXPECT_FALSE(menu.Run(kUndo));
    }
    allowed = false;
    EXPECT_FALSE(menu.Run(kAutoPlay)); // a disabled command is not run by its key either
    EXPECT_TRUE(menu.Run(kDeck));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(menu.Item(kAutoPartner1 + 3)->text(), "&Olvessa");
}

TEST_F(MainWindowTest, KeysSendTheirOwnIds) {
    CMainMenu& menu = frame.Menu();
    std::string ran;
    for (int id : {kScore, kScoreKey, kLastTrick, kLastTrickKey, kAutoPlay, kRules})
        menu.SetCommand(id, {[&ran, id] { ran += std::to_string(id) + " "; }, {}, {}});
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_F9);
    QTest::keyClick(&frame, Qt::Key_F6);
    QTest::keyClick(&frame, Qt::Key_F7);
    QTest::keyClick(&frame, Qt::Key_F1);
    EXPECT_EQ(ran, "32775 32776 32779 32787 ");
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
    EXPECT_FALSE(panes.ClockRunning());
    EXPECT_FALSE(panes.ClockPane()->isVisible());
    EXPECT_FALSE(panes.MessagePane()->isVisible());

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
    EXPECT_TRUE(panes.ClockRunning());
    EXPECT_TRUE(panes.ClockPane()->isVisible());
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
    EXPECT_EQ(CStatusPanes::ClockText(7, 5, 9), "07:05:09");
    EXPECT_EQ(panes.ClockPane()->text(), " 00:00:00 ");
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

// Help -> "Rules of Vesk" shows the handbook from the program's resources, with
// every part a player needs, and its contents links move within it.
TEST_F(MainWindowTest, HelpMenuOffersTheRulesHandbook) {
    QMenu* help = frame.Menu().HelpMenu();
    ASSERT_TRUE(help);
    EXPECT_EQ(help->title(), "&Help");
    ASSERT_EQ(help->actions().size(), 2);
    EXPECT_EQ(help->actions()[0], frame.Menu().Item(kRules));
    EXPECT_EQ(frame.Menu().Item(kRules)->text(), "&Rules of Vesk\tF1");
    EXPECT_EQ(help->actions()[1], frame.Menu().Item(kAbout));

    CRulesDialog rules;
    EXPECT_EQ(rules.windowTitle(), "Rules of Vesk");
    QTextBrowser* browser = rules.Browser();
    EXPECT_EQ(browser->source().toString(), CRulesDialog::kHandbookUrl);
    const QString text = browser->document()->toPlainText();
    for (const char* part : {"The cards", "Bidding", "Playing the tricks", "Declarations",
                             "Scoring", "A worked deal", "The score sheet", "On the screen"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(part))) << part;
    for (const char* term : {"Terz", "4*X", "Redouble", "Over-trumping", "<@>", "###", "Finish",
                             "Show", "Free", "Start"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(term))) << term;
    // Every link of the contents names an anchor of the handbook.
    const QString html = browser->toHtml();
    for (const char* anchor :
         {"cards", "bidding", "play", "declarations", "scoring", "sheet", "screen"})
        EXPECT_TRUE(html.contains(QStringLiteral("name=\"%1\"").arg(anchor))) << anchor;
}
