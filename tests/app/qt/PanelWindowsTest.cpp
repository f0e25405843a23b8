// The bidding panel's window on a table: the check of the typed bid value and
// the keyboard going to the panel when the call comes to the own place.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/qt/CBidPanelDialog.h"
#include "app/qt/CBidValueBox.h"
#include "tests/app/AppTestSupport.h"

using namespace apptest;

namespace {

// A window with a table (where the panels lie) and a chat line beside it.
class PanelWindowsTest : public GameFixture {
protected:
    QWidget window;
    QWidget* tableWidget = nullptr;
    QLineEdit* chat = nullptr;

    void SetUp() override {
        GameFixture::SetUp();
        window.resize(548, 480);
        tableWidget = new QWidget(&window);
        tableWidget->setGeometry(0, 0, 548, 420);
        tableWidget->setFocusPolicy(Qt::StrongFocus);
        chat = new QLineEdit(&window);
        chat->setGeometry(0, 430, 300, 24);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Dealer at place 0, the keyboard in `focused`: places 1, 2 and 3 pass, and
    // the call comes to the own place. Null when the panel did not open.
    std::unique_ptr<CBidPanelDialog> BiddingUpToOurCall(QWidget* focused) {
        StartFourHumans();
        g_nDealer = 0;
        DealHands();
        if (!flow->BidPanel()) return nullptr;
        auto panel = std::make_unique<CBidPanelDialog>(*flow->BidPanel(), tableWidget);
        panel->show();
        focused->setFocus();
        panel->Refresh();
        EXPECT_FALSE(panel->isAncestorOf(QApplication::focusWidget())) << "not yet our call";
        for (uint16_t user = 1; user <= 3; ++user)
            table.Deliver(CMD_BID, user, std::string{1, 8});
        Pump();
        EXPECT_EQ(flow->BidPanel()->Model().PlaceToCall(), 0);
        panel->Refresh();
        return panel;
    }
};

} // namespace

TEST_F(PanelWindowsTest, BetOutsideEightToEightyTwoSendsNothingAndSelectsTheValue) {
    StartFourHumans();
    g_nDealer = 3; // place 0 calls first
    DealHands();
    ASSERT_NE(flow->BidPanel(), nullptr);
    auto panel = std::make_unique<CBidPanelDialog>(*flow->BidPanel(), tableWidget);
    panel->show();
    QLineEdit* edit = panel->ValueBox()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    const struct {
        const char* typed;
        bool sent;
    } rows[] = {{"5", false}, {"83", false}, {"", false}, {"9", true}};
    for (const auto& row : rows) {
        table.sent.clear();
        chat->setFocus();
        edit->setText(row.typed);
        QTest::mouseClick(panel->BetButton(), Qt::LeftButton);
        SCOPED_TRACE(row.typed);
        const auto bids = table.SentOf(CMD_BID);
        ASSERT_EQ(bids.size(), row.sent ? 1u : 0u);
        if (row.sent) {
            EXPECT_EQ(static_cast<uint8_t>(bids[0].text[0]), 10); // 9, carried as 9 + 1
            continue;
        }
        // The typed text stays, selected for correction, with the keyboard in it.
        EXPECT_EQ(std::tuple(edit->text(), edit->selectedText()), std::tuple(row.typed, row.typed));
        EXPECT_TRUE(edit->hasFocus());
    }
    EXPECT_TRUE(platform.beeps.empty());
}

TEST_F(PanelWindowsTest, KeyboardGoesToThePanelWhenTheCallComesHereAndEnterPasses) {
    auto panel = BiddingUpToOurCall(tableWidget);
    ASSERT_TRUE(panel);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus && panel->isAncestorOf(focus));
    table.sent.clear();
    QTest::keyClick(focus, Qt::Key_Return);
    const auto bids = table.SentOf(CMD_BID);
    ASSERT_EQ(bids.size(), 1u);
    EXPECT_EQ(bids[0].text, (std::string{1, 8}));
}

TEST_F(PanelWindowsTest, KeyboardInTheChatLineStaysThere) {
    auto panel = BiddingUpToOurCall(chat);
    ASSERT_TRUE(panel);
    EXPECT_TRUE(chat->hasFocus());
}
