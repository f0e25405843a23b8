// The panels' windows on a table: the bid value check, the keyboard going to
// the bidding panel when the call comes to the own place, and the seat buttons.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/qt/CBidPanelDialog.h"
#include "app/qt/CBidValueBox.h"
#include "app/qt/CSeatButton.h"
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

    // The bidding opened after a deal by `dealer`, its window on the table.
    std::unique_ptr<CBidPanelDialog> OpenBidding(int dealer) {
        StartFourHumans();
        g_nDealer = dealer;
        DealHands();
        if (!flow->BidPanel()) return nullptr;
        auto panel = std::make_unique<CBidPanelDialog>(*flow->BidPanel(), tableWidget);
        panel->show();
        return panel;
    }
    void Pass(int user) {
        table.Deliver(CMD_BID, static_cast<uint16_t>(user), std::string{1, 8});
        Pump();
    }
};

} // namespace

TEST_F(PanelWindowsTest, BetOutsideEightToEightyTwoSendsNothingAndSelectsTheValue) {
    auto panel = OpenBidding(3); // place 0 calls first
    ASSERT_TRUE(panel);
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

TEST_F(PanelWindowsTest, KeyboardGoesToThePanelWhenTheCallComesHere) {
    auto panel = OpenBidding(0); // places 1, 2, 3 call before place 0
    ASSERT_TRUE(panel);
    tableWidget->setFocus();
    panel->Refresh();
    EXPECT_FALSE(panel->isAncestorOf(QApplication::focusWidget())) << "not yet our call";

    for (int user = 1; user <= 3; ++user)
        Pass(user);
    ASSERT_EQ(flow->BidPanel()->Model().PlaceToCall(), 0);
    panel->Refresh();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus && panel->isAncestorOf(focus));
    // Enter presses the default button: Pass.
    table.sent.clear();
    QTest::keyClick(focus, Qt::Key_Return);
    const auto bids = table.SentOf(CMD_BID);
    ASSERT_EQ(bids.size(), 1u);
    EXPECT_EQ(bids[0].text, std::string(1, 1) + std::string(1, 8));
}

TEST_F(PanelWindowsTest, KeyboardInTheChatLineStaysThere) {
    auto panel = OpenBidding(0);
    ASSERT_TRUE(panel);
    chat->setFocus();
    for (int user = 1; user <= 3; ++user)
        Pass(user);
    panel->Refresh();
    EXPECT_TRUE(chat->hasFocus());
}

TEST_F(PanelWindowsTest, SeatButtonsShortenLongNamesAndShowADisabledCheck) {
    CSeatButton button(&window);
    button.setGeometry(10, 10, 70, 24);
    button.show();
    const struct {
        const char* name;
        bool cut;
    } names[] = {{"Ann", false}, {"Maximilian Sebastia", true}};
    for (const auto& n : names) {
        button.SetFullText(n.name);
        EXPECT_EQ(
            std::tuple(button.text().endsWith(QChar(0x2026)), button.toolTip(), button.FullText()),
            std::tuple(n.cut, n.cut ? QString(n.name) : QString(), QString(n.name)));
    }
    // A started computer partner: checked and disabled must not look released.
    button.SetFullText("Start");
    button.setEnabled(false);
    button.setChecked(false);
    const QImage released = button.grab().toImage();
    button.setChecked(true);
    const QImage started = button.grab().toImage();
    EXPECT_NE(released, started);
}
