// The Select Computer dialog: broadcasting while open, the list of answers, and
// how OK turns the box's text into a dealer's address.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <atomic>
#include <thread>

#include "net/ui/GameTree.h"
#include "net/ui/SelectComputerDlg.h"
#include "tests/net/ui/UiTestHelpers.h"

using uitest::Answer;

namespace {

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
    // Types `text` (unless null), presses OK, and returns the address taken (0: stayed open).
    uint32_t Ok(const char* text = nullptr) {
        if (text) m_dlg.ComputerEdit()->setText(text);
        Button("OK")->click();
        return m_dlg.result() == QDialog::Accepted && !m_dlg.IsOpen() ? m_dlg.Address() : 0;
    }
    QTreeWidgetItem* Waiting() { return m_dlg.Games().WaitingRoot(); }
    QTreeWidgetItem* Active() { return m_dlg.Games().ActiveRoot(); }

    std::atomic<int> m_broadcasts{0};
    int m_lookups = 0;
    CSelectComputerDlg m_dlg{[this] { ++m_broadcasts; }};
};

} // namespace

TEST_F(SelectComputerDlgTest, ControlsAndBroadcastsEverySecondUntilClosed) {
    EXPECT_EQ(m_dlg.windowTitle(), "Select Computer");
    QLabel* label = m_dlg.findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "&Computer");
    EXPECT_EQ(label->buddy(), m_dlg.ComputerEdit());
    ASSERT_NE(Button("Cancel"), nullptr);
    EXPECT_TRUE(Button("OK")->isDefault());
    for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(m_dlg.ComputerEdit()),
                       static_cast<QWidget*>(m_dlg.Tree()), static_cast<QWidget*>(Button("OK"))})
        EXPECT_TRUE(m_dlg.rect().contains(w->geometry()));
    EXPECT_EQ(m_broadcasts, 1);
    ASSERT_TRUE(uitest::PumpUntil([&] { return m_broadcasts >= 3; }, 4000));
    m_dlg.reject();
    EXPECT_FALSE(m_dlg.IsOpen());
    const int after = m_broadcasts;
    uitest::PumpUntil([] { return false; }, 1300);
    EXPECT_EQ(m_broadcasts, after);
}

TEST_F(SelectComputerDlgTest, TheFirstAnswerFillsTheBoxAndOkLooksItUp) {
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false));
    m_dlg.AddAnswer(Answer("127.0.0.3", "attic", false));
    EXPECT_EQ(m_dlg.ComputerEdit()->text(), "kitchen");
    EXPECT_EQ(m_dlg.Address(), 0u) << "filling the box chooses nothing by itself";
    EXPECT_EQ(Ok(), inet_addr("127.0.0.2"));
    EXPECT_EQ(m_lookups, 0);
}

TEST_F(SelectComputerDlgTest, SelectingADealerChoosesItEvenWhenItsGameStarts) {
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}}));
    m_dlg.AddAnswer(Answer("127.0.0.3", "attic", true));
    m_dlg.Tree()->setCurrentItem(Waiting()->child(0));
    EXPECT_EQ(m_dlg.Address(), inet_addr("127.0.0.2"));
    m_dlg.Tree()->setCurrentItem(Active()->child(0));
    EXPECT_EQ(m_dlg.ComputerEdit()->text(), "attic");
    EXPECT_EQ(m_dlg.Address(), inet_addr("127.0.0.3"));
    m_dlg.Tree()->setCurrentItem(Waiting()->child(0)->child(0)); // a user: nothing
    m_dlg.Tree()->setCurrentItem(Waiting());                     // a root: nothing
    EXPECT_EQ(m_dlg.ComputerEdit()->text(), "attic");
    m_dlg.AddAnswer(Answer("127.0.0.3", "attic", false));
    EXPECT_EQ(Active()->childCount(), 0);
    EXPECT_EQ(m_dlg.ComputerEdit()->text(), "attic");
    EXPECT_EQ(Ok(), inet_addr("127.0.0.3"));
    EXPECT_EQ(m_lookups, 0);
}

TEST_F(SelectComputerDlgTest, TypedNamesListedFirstThenLookedUp) {
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false));
    EXPECT_EQ(Ok(""), 0u) << "an empty box beeps and stays";
    EXPECT_EQ(Ok("nowhere"), 0u) << "a name that does not resolve beeps and stays";
    EXPECT_EQ(m_dlg.Beeps(), 2);
    EXPECT_EQ(m_lookups, 1);
    EXPECT_TRUE(m_dlg.isVisible());
    m_dlg.AddAnswer(Answer("127.0.0.4", "den", true));
    EXPECT_EQ(Ok("den"), inet_addr("127.0.0.4")) << "the list wins over the resolver";
    EXPECT_EQ(m_lookups, 1);
}

TEST_F(SelectComputerDlgTest, AnUnlistedNameIsLookedUp) {
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false));
    EXPECT_EQ(Ok("den"), inet_addr("127.0.0.9"));
    EXPECT_EQ(m_lookups, 1);
}

TEST_F(SelectComputerDlgTest, AnswersFromAnotherThreadAppearInOrderUntilClosed) {
    std::thread listener([this] {
        for (int i = 0; i < 20; ++i)
            m_dlg.PostAnswer(Answer(("127.0.1." + std::to_string(i + 1)).c_str(),
                                    "host" + std::to_string(i), i % 2 == 1,
                                    {{"p" + std::to_string(i), i % 3 == 0}}));
    });
    listener.join();
    ASSERT_TRUE(
        uitest::PumpUntil([&] { return Waiting()->childCount() + Active()->childCount() == 20; }));
    EXPECT_EQ(Waiting()->childCount(), 10);
    EXPECT_EQ(Waiting()->child(9)->text(0), "host18");
    EXPECT_EQ(Active()->child(0)->text(0), "host1");
    EXPECT_EQ(m_dlg.ComputerEdit()->text(), "host0");
    m_dlg.PostAnswer(Answer("127.0.0.3", "queued", false));
    m_dlg.reject();
    m_dlg.AddAnswer(Answer("127.0.0.4", "late", false));
    m_dlg.PostAnswer(Answer("127.0.0.5", "later", false));
    uitest::PumpUntil([] { return false; }, 100);
    EXPECT_EQ(Waiting()->childCount(), 10);
}

TEST(SelectComputerDlg, BeforeOpeningAndDottedAddresses) {
    CSelectComputerDlg dlg([] {});
    dlg.AddAnswer(Answer("127.0.0.2", "early", false));
    dlg.PostAnswer(Answer("127.0.0.3", "early too", false));
    uitest::PumpUntil([] { return false; }, 50);
    EXPECT_EQ(dlg.Games().WaitingRoot()->childCount(), 0);
    uint32_t address = 0;
    EXPECT_TRUE(CSelectComputerDlg::ResolveHost("127.1.2.3", address));
    EXPECT_EQ(address, inet_addr("127.1.2.3"));
    address = 5;
    EXPECT_FALSE(CSelectComputerDlg::ResolveHost("", address));
    EXPECT_EQ(address, 5u);
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
}
