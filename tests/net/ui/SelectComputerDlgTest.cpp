#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <arpa/inet.h>
#include <atomic>
#include <thread>

#include "net/ui/GameTree.h"
#include "net/ui/SelectComputerDlg.h"
#include "tests/net/ui/UiTestHelpers.h"

namespace {

DiscoveryAnswer Answer(const char* dotted, const std::string& host, bool active,
                       std::vector<std::pair<std::string, bool>> users = {}) {
    DiscoveryAnswer a;
    a.address = inet_addr(dotted);
    a.host = host;
    a.active = active;
    a.users = std::move(users);
    return a;
}

// An open dialog with a counted broadcast and a resolver that only knows
// "den" (127.0.0.9) and counts its lookups.
class SelectComputerDlgTest : public testing::Test {
protected:
    void SetUp() override {
        m_dlg.SetResolver([this](const std::string& host, uint32_t& address) {
            ++m_lookups;
            if (host != "den") return false;
            address = inet_addr("127.0.0.9");
            return true;
        });
        m_dlg.show();
        ASSERT_TRUE(m_dlg.IsOpen());
    }
    void TearDown() override { m_dlg.close(); }

    QPushButton* Button(const QString& text) {
        for (QPushButton* b : m_dlg.findChildren<QPushButton*>())
            if (b->text() == text) return b;
        return nullptr;
    }
    void Ok() { Button("OK")->click(); }

    std::atomic<int> m_broadcasts{0};
    int m_lookups = 0;
    CSelectComputerDlg m_dlg{[this] { ++m_broadcasts; }};
};

} // namespace

TEST_F(SelectComputerDlgTest, HasItsTitleAndControls) {
    EXPECT_EQ(m_dlg.windowTitle(), "Select Computer");
    QLabel* label = m_dlg.findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "&Computer");
    EXPECT_EQ(label->buddy(), m_dlg.ComputerEdit());
    ASSERT_NE(Button("OK"), nullptr);
    ASSERT_NE(Button("Cancel"), nullptr);
    EXPECT_TRUE(Button("OK")->isDefault());
    EXPECT_EQ(m_dlg.Tree()->topLevelItemCount(), 2);
    EXPECT_EQ(m_dlg.Address(), 0u);
    for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(m_dlg.ComputerEdit()),
                       static_cast<QWidget*>(m_dlg.Tree()), static_cast<QWidget*>(Button("OK")),
                       static_cast<QWidget*>(Button("Cancel"))}) {
        EXPECT_TRUE(m_dlg.rect().contains(w->geometry()));
    }
}

TEST_F(SelectComputerDlgTest, BroadcastsOnOpeningAndEverySecondUntilClosed) {
    EXPECT_EQ(m_broadcasts, 1);
    ASSERT_TRUE(uitest::PumpUntil([&] { return m_broadcasts >= 3; }, 4000));
    m_dlg.reject();
    EXPECT_FALSE(m_dlg.IsOpen());
    const int after = m_broadcasts;
    uitest::PumpUntil([] { return false; }, 1300);
    EXPECT_EQ(m_broadcasts, after);
}

TEST_F(SelectComputerDlgTest, TheFirstAnswerFillsTheComputerBox) {
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false));
    EXPECT_EQ(m_dlg.ComputerEdit()->text(), "kitchen");
    m_dlg.AddAnswer(Answer("127.0.0.3", "attic", false));
    EXPECT_EQ(m_dlg.ComputerEdit()->text(), "kitchen");
    // Filling the box chooses nothing by itself: OK then looks the text up
    // among the listed dealers.
    EXPECT_EQ(m_dlg.Address(), 0u);
    Ok();
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_dlg.Address(), inet_addr("127.0.0.2"));
    EXPECT_EQ(m_lookups, 0);
}

TEST_F(SelectComputerDlgTest, SelectingADealerFillsTheBoxAndChoosesIt) {
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}}));
    m_dlg.AddAnswer(Answer("127.0.0.3", "attic", true));
    QTreeWidgetItem* attic = m_dlg.Games().ActiveRoot()->child(0);
    m_dlg.Tree()->setCurrentItem(attic);
    EXPECT_EQ(m_dlg.ComputerEdit()->text(), "attic");
    EXPECT_EQ(m_dlg.Address(), inet_addr("127.0.0.3"));
    // A user or a root changes nothing.
    m_dlg.Tree()->setCurrentItem(m_dlg.Games().WaitingRoot()->child(0)->child(0));
    m_dlg.Tree()->setCurrentItem(m_dlg.Games().WaitingRoot());
    EXPECT_EQ(m_dlg.ComputerEdit()->text(), "attic");
    EXPECT_EQ(m_dlg.Address(), inet_addr("127.0.0.3"));
    Ok();
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_dlg.Address(), inet_addr("127.0.0.3"));
    EXPECT_EQ(m_lookups, 0);
}

TEST_F(SelectComputerDlgTest, ASelectedDealerWhoseGameStartsStaysChosen) {
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}}));
    m_dlg.Tree()->setCurrentItem(m_dlg.Games().WaitingRoot()->child(0));
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", true, {{"Ann", true}}));
    EXPECT_EQ(m_dlg.Games().WaitingRoot()->childCount(), 0);
    ASSERT_EQ(m_dlg.Games().ActiveRoot()->childCount(), 1);
    EXPECT_EQ(m_dlg.ComputerEdit()->text(), "kitchen");
    Ok();
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_dlg.Address(), inet_addr("127.0.0.2"));
}

TEST_F(SelectComputerDlgTest, OkWithAnEmptyBoxBeepsAndStays) {
    m_dlg.ComputerEdit()->clear();
    Ok();
    EXPECT_EQ(m_dlg.Beeps(), 1);
    EXPECT_TRUE(m_dlg.isVisible());
    EXPECT_TRUE(m_dlg.IsOpen());
    EXPECT_EQ(m_lookups, 0);
}

TEST_F(SelectComputerDlgTest, TypingAListedDealersNamePicksItWithoutALookup) {
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false));
    m_dlg.AddAnswer(Answer("127.0.0.4", "den", true));
    m_dlg.Tree()->setCurrentItem(m_dlg.Games().WaitingRoot()->child(0));
    // "den" is known to the resolver too, as another address: the list wins.
    m_dlg.ComputerEdit()->setText("den");
    Ok();
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_dlg.Address(), inet_addr("127.0.0.4"));
    EXPECT_EQ(m_lookups, 0);
}

TEST_F(SelectComputerDlgTest, AnUnlistedNameIsLookedUp) {
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false));
    m_dlg.ComputerEdit()->setText("den");
    Ok();
    EXPECT_EQ(m_lookups, 1);
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_dlg.Address(), inet_addr("127.0.0.9"));
    EXPECT_FALSE(m_dlg.IsOpen());
}

TEST_F(SelectComputerDlgTest, ANameThatDoesNotResolveBeepsAndStays) {
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false));
    m_dlg.Tree()->setCurrentItem(m_dlg.Games().WaitingRoot()->child(0));
    m_dlg.ComputerEdit()->setText("nowhere");
    Ok();
    EXPECT_EQ(m_lookups, 1);
    EXPECT_EQ(m_dlg.Beeps(), 1);
    EXPECT_TRUE(m_dlg.isVisible());
    EXPECT_TRUE(m_dlg.IsOpen());
    // Answers still arrive, and the player can go on.
    m_dlg.AddAnswer(Answer("127.0.0.3", "attic", false));
    EXPECT_EQ(m_dlg.Games().WaitingRoot()->childCount(), 2);
    m_dlg.ComputerEdit()->setText("kitchen");
    Ok();
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_dlg.Address(), inet_addr("127.0.0.2"));
}

TEST_F(SelectComputerDlgTest, AnswersFromAnotherThreadAppearInTheTree) {
    std::thread listener([this] {
        for (int i = 0; i < 20; ++i) {
            const std::string host = "host" + std::to_string(i);
            m_dlg.PostAnswer(Answer(("127.0.1." + std::to_string(i + 1)).c_str(), host, i % 2 == 1,
                                    {{"p" + std::to_string(i), i % 3 == 0}}));
        }
    });
    listener.join();
    QTreeWidgetItem* waiting = m_dlg.Games().WaitingRoot();
    QTreeWidgetItem* active = m_dlg.Games().ActiveRoot();
    ASSERT_TRUE(
        uitest::PumpUntil([&] { return waiting->childCount() + active->childCount() == 20; }));
    EXPECT_EQ(waiting->childCount(), 10);
    EXPECT_EQ(active->childCount(), 10);
    // In the order the listener handed them over.
    EXPECT_EQ(waiting->child(0)->text(0), "host0");
    EXPECT_EQ(waiting->child(9)->text(0), "host18");
    EXPECT_EQ(active->child(0)->text(0), "host1");
    EXPECT_EQ(m_dlg.ComputerEdit()->text(), "host0");
}

TEST_F(SelectComputerDlgTest, AnswersAfterClosingAreIgnored) {
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false));
    m_dlg.PostAnswer(Answer("127.0.0.3", "queued", false));
    m_dlg.reject();
    m_dlg.AddAnswer(Answer("127.0.0.4", "late", false));
    m_dlg.PostAnswer(Answer("127.0.0.5", "later", false));
    uitest::PumpUntil([] { return false; }, 100);
    EXPECT_EQ(m_dlg.Games().WaitingRoot()->childCount(), 1);
}

TEST(SelectComputerDlg, AnswersBeforeOpeningAreIgnored) {
    CSelectComputerDlg dlg([] {});
    EXPECT_FALSE(dlg.IsOpen());
    dlg.AddAnswer(Answer("127.0.0.2", "early", false));
    dlg.PostAnswer(Answer("127.0.0.3", "early too", false));
    uitest::PumpUntil([] { return false; }, 50);
    EXPECT_EQ(dlg.Games().WaitingRoot()->childCount(), 0);
    EXPECT_EQ(dlg.ComputerEdit()->text(), "");
}

TEST(SelectComputerDlg, ResolvesDottedAddressesWithoutTheNetwork) {
    uint32_t address = 0;
    EXPECT_TRUE(CSelectComputerDlg::ResolveHost("127.0.0.1", address));
    EXPECT_EQ(address, htonl(INADDR_LOOPBACK));
    EXPECT_TRUE(CSelectComputerDlg::ResolveHost("127.1.2.3", address));
    EXPECT_EQ(address, inet_addr("127.1.2.3"));
    address = 5;
    EXPECT_FALSE(CSelectComputerDlg::ResolveHost("", address));
    EXPECT_EQ(address, 5u);
}

TEST(SelectComputerDlg, TypedDottedAddressIsTaken) {
    CSelectComputerDlg dlg([] {});
    dlg.show();
    dlg.ComputerEdit()->setText("127.0.0.1");
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Address(), htonl(INADDR_LOOPBACK));
    EXPECT_EQ(dlg.Beeps(), 0);
}

TEST(SelectComputerDlg, RendersToAPicture) {
    CSelectComputerDlg dlg([] {});
    dlg.show();
    dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}, {"Bo", false}}));
    dlg.AddAnswer(Answer("127.0.0.3", "attic", true,
                         {{"Cy", true}, {"Di", true}, {"Ed", true}, {"Flo", true}}));
    dlg.Tree()->expandAll();
    dlg.Tree()->setCurrentItem(dlg.Games().WaitingRoot()->child(0));
    uitest::Shoot(&dlg, "SelectComputerDlg");
    dlg.close();
}
