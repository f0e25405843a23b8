// The dealer's list: ids, unique names and what a leaving user takes along.
#include <gtest/gtest.h>

#include <cstring>

#include "net/DealerUsers.h"

namespace {
std::string NameAt(const CDealerUsers& u, int i) {
    return std::string(u.List()[i].name, strnlen(u.List()[i].name, 20));
}
} // namespace

TEST(DealerUsers, FirstLoginGetsIdZeroAndTheNextTheLowestFree) {
    CDealerUsers u;
    EXPECT_EQ(u.Admit("Ann"), 0);
    EXPECT_EQ(u.Admit("Bob"), 1);
    EXPECT_EQ(u.Admit("Cid"), 2);
    u.Detach(1);
    EXPECT_EQ(u.Admit("Dan"), 1);
    const USERINFO& e = u.List()[1];
    EXPECT_EQ(e.state, 0);
    EXPECT_EQ(e.owner, 1);
    EXPECT_EQ(e.aux, 0xFFFF);
    EXPECT_EQ(NameAt(u, 1), "Dan");
}

TEST(DealerUsers, SameNameGetsSuffixes) {
    CDealerUsers u;
    u.Admit("Player");
    u.Admit("Player");
    u.Admit("Player");
    EXPECT_EQ(NameAt(u, 0), "Player");
    EXPECT_EQ(NameAt(u, 1), "Player_1");
    EXPECT_EQ(NameAt(u, 2), "Player_2");
}

TEST(DealerUsers, SuffixCountsOnFromTheHighestInUse) {
    CDealerUsers u;
    u.Admit("Player");
    u.Admit("Player");
    u.Admit("Player");
    u.Detach(1); // Player_1 leaves
    const int id = u.Admit("Player");
    EXPECT_EQ(id, 1);
    EXPECT_EQ(NameAt(u, 1), "Player_3");
}

TEST(DealerUsers, ComparisonIsByPrefix) {
    CDealerUsers u;
    u.Admit("Player");
    u.Admit("Play");
    EXPECT_EQ(NameAt(u, 1), "Play_1");
    u.Admit("Pla");
    EXPECT_EQ(NameAt(u, 2), "Pla_2"); // agrees with both
}

TEST(DealerUsers, EighteenCharacterNameKeepsSixteenAndSuffix) {
    CDealerUsers u;
    const std::string n = "ABCDEFGHIJKLMNOPQR";
    ASSERT_EQ(n.size(), 18u);
    u.Admit(n);
    u.Admit(n);
    EXPECT_EQ(NameAt(u, 0), n);
    EXPECT_EQ(NameAt(u, 1), "ABCDEFGHIJKLMNOP_1");
}

TEST(DealerUsers, EleventhPlayerGetsAColon) {
    CDealerUsers u;
    for (int i = 0; i < 11; ++i)
        u.Admit("Player");
    EXPECT_EQ(NameAt(u, 9), "Player_9");
    EXPECT_EQ(NameAt(u, 10), "Player_:");
}

TEST(DealerUsers, OverlongNameIsCutToNineteen) {
    CDealerUsers u;
    u.Admit(std::string(39, 'x'));
    EXPECT_EQ(NameAt(u, 0), std::string(19, 'x'));
    EXPECT_EQ(u.List()[0].name[19], 0);
}

TEST(DealerUsers, EmptyNameIsAdmittedAsPlayer) {
    CDealerUsers u;
    EXPECT_EQ(u.Admit(""), 0);
    EXPECT_EQ(NameAt(u, 0), "Player");
    EXPECT_TRUE(u.IsTaken(0));
}

TEST(DealerUsers, FullListRefuses) {
    CDealerUsers u;
    for (int i = 0; i < kMaxUsers; ++i)
        ASSERT_EQ(u.Admit("U" + std::to_string(i)), i);
    EXPECT_EQ(u.Admit("late"), -1);
}

TEST(DealerUsers, DetachTakesTheComputerPartnersAlong) {
    CDealerUsers u;
    u.Admit("Ann");
    u.Admit("Bob");
    u.AddAuto(1, 1);
    u.AddAuto(2, 0);
    u.SetState(1, 0x8003);
    u.Detach(1);
    EXPECT_FALSE(u.IsTaken(1));
    EXPECT_EQ(u.List()[1].state, 0);
    EXPECT_FALSE(u.IsTaken(101));
    EXPECT_TRUE(u.IsTaken(102)); // Ann's partner stays
    EXPECT_TRUE(u.IsTaken(0));
}

TEST(DealerUsers, OutOfRangeIdsChangeNothing) {
    CDealerUsers u;
    u.Admit("Ann");
    u.Detach(300);
    u.SetState(0xFFFF, 5);
    EXPECT_TRUE(u.IsTaken(0));
    EXPECT_EQ(u.List()[0].state, 0);
}
