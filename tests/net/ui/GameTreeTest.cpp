#include <gtest/gtest.h>

#include <QImage>
#include <QTreeWidget>
#include <arpa/inet.h>

#include "net/ui/GameTree.h"
#include "net/ui/GameTreeImages.h"

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

QImage Image(const QIcon& icon) {
    return icon.pixmap(CGameTreeImages::kSize, CGameTreeImages::kSize)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

int ImageIndex(const QTreeWidgetItem* item) {
    const QImage img = Image(item->icon(0));
    for (int i = 0; i < CGameTreeImages::Count; ++i)
        if (img == Image(CGameTreeImages::Icon(i))) return i;
    return -1;
}

class GameTreeTest : public testing::Test {
protected:
    void SetUp() override { m_tree.Open(); }
    QTreeWidget m_widget;
    CGameTree m_tree{&m_widget};
    QTreeWidgetItem* Waiting() { return m_tree.WaitingRoot(); }
    QTreeWidgetItem* Active() { return m_tree.ActiveRoot(); }
};

} // namespace

TEST(GameTreeImages, SixDistinctDrawnImages) {
    for (int i = 0; i < CGameTreeImages::Count; ++i) {
        const QImage a =
            CGameTreeImages::Pixmap(i).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(a.size(), QSize(16, 16));
        int drawn = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                drawn += qAlpha(a.pixel(x, y)) != 0;
        EXPECT_GT(drawn, 20) << i;
        EXPECT_LT(drawn, 256) << i; // the background stays see-through
        for (int j = 0; j < i; ++j) {
            EXPECT_NE(a,
                      CGameTreeImages::Pixmap(j).toImage().convertToFormat(QImage::Format_ARGB32))
                << i << " " << j;
        }
    }
}

TEST_F(GameTreeTest, StartsWithTheTwoRoots) {
    ASSERT_EQ(m_widget.topLevelItemCount(), 2);
    EXPECT_EQ(m_widget.topLevelItem(0), Waiting());
    EXPECT_EQ(m_widget.topLevelItem(1), Active());
    EXPECT_EQ(Waiting()->text(0), "Waiting Games");
    EXPECT_EQ(Active()->text(0), "Active Games");
    EXPECT_EQ(ImageIndex(Waiting()), 1);
    EXPECT_EQ(ImageIndex(Active()), 1);
    EXPECT_EQ(CGameTree::ItemAddress(Waiting()), 0u);
    EXPECT_EQ(CGameTree::ItemAddress(Active()), 0u);
    EXPECT_EQ(Waiting()->childCount(), 0);
}

TEST(GameTree, AnswersCountOnlyWhileOpen) {
    QTreeWidget widget;
    CGameTree tree(&widget);
    EXPECT_FALSE(tree.IsOpen());
    EXPECT_FALSE(tree.Add(Answer("127.0.0.2", "early", false)));
    EXPECT_EQ(tree.WaitingRoot()->childCount(), 0);
    tree.Open();
    EXPECT_TRUE(tree.IsOpen());
    EXPECT_TRUE(tree.Add(Answer("127.0.0.2", "kitchen", false)));
    tree.Close();
    EXPECT_FALSE(tree.Add(Answer("127.0.0.3", "late", true)));
    EXPECT_EQ(tree.WaitingRoot()->childCount(), 1);
    EXPECT_EQ(tree.ActiveRoot()->childCount(), 0);
}

TEST_F(GameTreeTest, ListsAWaitingDealerWithItsUsers) {
    EXPECT_TRUE(m_tree.Add(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}, {"Bo", false}})));
    ASSERT_EQ(Waiting()->childCount(), 1);
    EXPECT_EQ(Active()->childCount(), 0);
    QTreeWidgetItem* dealer = Waiting()->child(0);
    EXPECT_EQ(dealer->text(0), "kitchen");
    EXPECT_EQ(CGameTree::ItemAddress(dealer), inet_addr("127.0.0.2"));
    EXPECT_EQ(ImageIndex(dealer), 3);
    ASSERT_EQ(dealer->childCount(), 2);
    EXPECT_EQ(dealer->child(0)->text(0), "Ann");
    EXPECT_EQ(ImageIndex(dealer->child(0)), 2);
    EXPECT_EQ(dealer->child(1)->text(0), "Bo");
    EXPECT_EQ(ImageIndex(dealer->child(1)), 4);
    EXPECT_EQ(CGameTree::ItemAddress(dealer->child(0)), 0u);
    // The root opens for its first dealer; the dealer stays closed.
    EXPECT_TRUE(Waiting()->isExpanded());
    EXPECT_FALSE(dealer->isExpanded());
}

TEST_F(GameTreeTest, TheSameDealerAnsweringAgainIsListedOnce) {
    m_tree.Add(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}}));
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(
            m_tree.Add(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}, {"Bo", true}})));
    ASSERT_EQ(Waiting()->childCount(), 1);
    // The users of a dealer already listed are not refreshed.
    EXPECT_EQ(Waiting()->child(0)->childCount(), 1);
}

TEST_F(GameTreeTest, ADealerMovesBetweenWaitingAndActive) {
    m_tree.Add(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}}));
    m_tree.Add(Answer("127.0.0.3", "attic", false));
    // Four players started at the kitchen.
    m_tree.Add(Answer("127.0.0.2", "kitchen", true,
                      {{"Ann", true}, {"Bo", true}, {"Cy", true}, {"Di", true}}));
    ASSERT_EQ(Waiting()->childCount(), 1);
    EXPECT_EQ(Waiting()->child(0)->text(0), "attic");
    ASSERT_EQ(Active()->childCount(), 1);
    QTreeWidgetItem* dealer = Active()->child(0);
    EXPECT_EQ(dealer->text(0), "kitchen");
    EXPECT_EQ(ImageIndex(dealer), 5);
    EXPECT_EQ(dealer->childCount(), 4);
    EXPECT_TRUE(Active()->isExpanded());
    // A player leaves: back to waiting, at the end.
    m_tree.Add(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}, {"Bo", false}}));
    EXPECT_EQ(Active()->childCount(), 0);
    ASSERT_EQ(Waiting()->childCount(), 2);
    EXPECT_EQ(Waiting()->child(1)->text(0), "kitchen");
    EXPECT_EQ(ImageIndex(Waiting()->child(1)), 3);
    EXPECT_EQ(Waiting()->child(1)->childCount(), 2);
}

TEST_F(GameTreeTest, FindsDealersByTheirExactTextWaitingFirst) {
    m_tree.Add(Answer("127.0.0.5", "twin", true));
    m_tree.Add(Answer("127.0.0.6", "twin", false));
    m_tree.Add(Answer("127.0.0.7", "solo", true, {{"Ann", true}}));
    uint32_t address = 0;
    EXPECT_TRUE(m_tree.FindDealer("twin", address));
    EXPECT_EQ(address, inet_addr("127.0.0.6"));
    EXPECT_TRUE(m_tree.FindDealer("solo", address));
    EXPECT_EQ(address, inet_addr("127.0.0.7"));
    address = 1;
    EXPECT_FALSE(m_tree.FindDealer("Solo", address));
    EXPECT_FALSE(m_tree.FindDealer("sol", address));
    // Users and roots are no dealers.
    EXPECT_FALSE(m_tree.FindDealer("Ann", address));
    EXPECT_FALSE(m_tree.FindDealer("Waiting Games", address));
    EXPECT_EQ(address, 1u);
}

TEST_F(GameTreeTest, HostTextEndsAtItsNulAndAtFortyBytes) {
    m_tree.Add(Answer("127.0.0.2", std::string("short\0junk", 10), false));
    m_tree.Add(Answer("127.0.0.3", std::string(60, 'h'), false, {{std::string(30, 'u'), true}}));
    EXPECT_EQ(Waiting()->child(0)->text(0), "short");
    EXPECT_EQ(Waiting()->child(1)->text(0), QString(40, 'h'));
    EXPECT_EQ(Waiting()->child(1)->child(0)->text(0), QString(20, 'u'));
}
