// The Select Computer dialog: broadcasting while open, the list of answers, and
// how OK turns the box's text into a dealer's address.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <atomic>

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
            address = inet_addr("127.0.0.9");
            return host == "den";
        });
        m_dlg.show();
        ASSERT_TRUE(m_dlg.IsOpen());
    }
    // Types `text`, presses OK, and returns the address taken (0: stayed open).
    uint32_t Ok(const char* text) {
        m_dlg.ComputerEdit()->setText(text);
        for (QPushButton* b : m_dlg.findChildren<QPushButton*>())
            if (b->text() == "OK") b->click();
        return m_dlg.result() == QDialog::Accepted && !m_dlg.IsOpen() ? m_dlg.Address() : 0;
    }
    std::atomic<int> m_broadcasts{0};
    int m_lookups = 0;
    CSelectComputerDlg m_dlg{[this] { ++m_broadcasts; }};
};
} // namespace

TEST_F(SelectComputerDlgTest, BroadcastsEverySecondUntilClosed) {
    EXPECT_EQ(m_broadcasts, 1);
    ASSERT_TRUE(uitest::PumpUntil([&] { return m_broadcasts >= 3; }, 4000));
    m_dlg.reject();
    EXPECT_FALSE(m_dlg.IsOpen());
    const int after = m_broadcasts;
    uitest::PumpUntil([] { return false; }, 1300);
    EXPECT_EQ(m_broadcasts, after);
}

TEST_F(SelectComputerDlgTest, TypedNamesListedFirstThenLookedUp) {
    m_dlg.AddAnswer(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}, {"Bo", false}}));
    EXPECT_EQ(m_dlg.ComputerEdit()->text(), "kitchen") << "the first answer fills the box";
    EXPECT_EQ(Ok(""), 0u) << "an empty box beeps and stays";
    EXPECT_EQ(Ok("nowhere"), 0u) << "a name that does not resolve beeps and stays";
    EXPECT_EQ(m_dlg.Beeps(), 2);
    EXPECT_EQ(m_lookups, 1);
    m_dlg.AddAnswer(Answer("127.0.0.4", "den", true, {{"Cy", true}, {"Di", true}}));
    EXPECT_EQ(Ok("den"), inet_addr("127.0.0.4")) << "the list wins over the resolver";
    EXPECT_EQ(m_lookups, 1);
}

TEST_F(SelectComputerDlgTest, AnUnlistedNameIsLookedUp) {
    EXPECT_EQ(Ok("den"), inet_addr("127.0.0.9"));
}
