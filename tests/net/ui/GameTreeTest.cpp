// The Select Computer dialog's tree of games: roots, dealers, users, pictures.
#include <gtest/gtest.h>

#include <QImage>
#include <QTreeWidget>

#include "net/ui/GameTree.h"
#include "net/ui/GameTreeImages.h"
#include "tests/net/ui/UiTestHelpers.h"

using uitest::Answer;

namespace {

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
    QTreeWidget m_widget;
    CGameTree m_tree{&m_widget};
    QTreeWidgetItem* Waiting() { return m_tree.WaitingRoot(); }
    QTreeWidgetItem* Active() { return m_tree.ActiveRoot(); }
};

} // namespace

TEST(GameTreeImages, SixDistinctDrawnImages) {
    std::vector<QImage> images;
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
        for (const QImage& other : images)
            EXPECT_NE(a, other) << i;
        images.push_back(a);
    }
}

TEST_F(GameTreeTest, ListsDealersWithTheirUsersWhileOpen) {
    EXPECT_FALSE(m_tree.Add(Answer("127.0.0.2", "early", false)));
    m_tree.Open();
    ASSERT_EQ(m_widget.topLevelItemCount(), 2);
    EXPECT_EQ(Waiting()->text(0), "Waiting Games");
    EXPECT_EQ(Active()->text(0), "Active Games");
    EXPECT_EQ(ImageIndex(Waiting()), 1);
    EXPECT_TRUE(m_tree.Add(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}, {"Bo", false}})));
    for (int i = 0; i < 3; ++i) // answering again: listed once, users not refreshed
        EXPECT_FALSE(m_tree.Add(Answer("127.0.0.2", "kitchen", false, {{"Cy", true}})));
    ASSERT_EQ(Waiting()->childCount(), 1);
    QTreeWidgetItem* dealer = Waiting()->child(0);
    EXPECT_EQ(dealer->text(0), "kitchen");
    EXPECT_EQ(CGameTree::ItemAddress(dealer), inet_addr("127.0.0.2"));
    EXPECT_EQ(ImageIndex(dealer), 3);
    ASSERT_EQ(dealer->childCount(), 2);
    EXPECT_EQ(dealer->child(0)->text(0), "Ann");
    EXPECT_EQ(ImageIndex(dealer->child(0)), 2);
    EXPECT_EQ(ImageIndex(dealer->child(1)), 4);
    EXPECT_EQ(CGameTree::ItemAddress(dealer->child(0)), 0u);
    EXPECT_TRUE(Waiting()->isExpanded()) << "the root opens for its first dealer";
    EXPECT_FALSE(dealer->isExpanded());
    m_tree.Add(Answer("127.0.0.3", std::string("short\0junk", 10), false));
    m_tree.Add(Answer("127.0.0.4", std::string(60, 'h'), false, {{std::string(30, 'u'), true}}));
    EXPECT_EQ(Waiting()->child(1)->text(0), "short");
    EXPECT_EQ(Waiting()->child(2)->text(0), QString(40, 'h'));
    EXPECT_EQ(Waiting()->child(2)->child(0)->text(0), QString(20, 'u'));
    m_tree.Close();
    EXPECT_FALSE(m_tree.Add(Answer("127.0.0.5", "late", true)));
    EXPECT_EQ(Active()->childCount(), 0);
}

TEST_F(GameTreeTest, ADealerMovesBetweenWaitingAndActive) {
    m_tree.Open();
    m_tree.Add(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}}));
    m_tree.Add(Answer("127.0.0.3", "attic", false));
    m_tree.Add(Answer("127.0.0.2", "kitchen", true,
                      {{"Ann", true}, {"Bo", true}, {"Cy", true}, {"Di", true}}));
    ASSERT_EQ(Waiting()->childCount(), 1);
    EXPECT_EQ(Waiting()->child(0)->text(0), "attic");
    ASSERT_EQ(Active()->childCount(), 1);
    EXPECT_EQ(ImageIndex(Active()->child(0)), 5);
    EXPECT_EQ(Active()->child(0)->childCount(), 4);
    EXPECT_TRUE(Active()->isExpanded());
    m_tree.Add(Answer("127.0.0.2", "kitchen", false, {{"Ann", true}, {"Bo", false}}));
    EXPECT_EQ(Active()->childCount(), 0);
    ASSERT_EQ(Waiting()->childCount(), 2);
    EXPECT_EQ(Waiting()->child(1)->text(0), "kitchen") << "back to waiting, at the end";
    EXPECT_EQ(Waiting()->child(1)->childCount(), 2);
}

TEST_F(GameTreeTest, FindsDealersByTheirExactTextWaitingFirst) {
    m_tree.Open();
    m_tree.Add(Answer("127.0.0.5", "twin", true));
    m_tree.Add(Answer("127.0.0.6", "twin", false));
    m_tree.Add(Answer("127.0.0.7", "solo", true, {{"Ann", true}}));
    uint32_t address = 0;
    EXPECT_TRUE(m_tree.FindDealer("twin", address));
    EXPECT_EQ(address, inet_addr("127.0.0.6"));
    address = 1;
    for (const char* text : {"Solo", "sol", "Ann", "Waiting Games"})
        EXPECT_FALSE(m_tree.FindDealer(text, address)) << text;
    EXPECT_EQ(address, 1u);
}
