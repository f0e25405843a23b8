// Places, seats and the rebuilding of the seating from the user list.
#include <gtest/gtest.h>

#include "tests/rules/RulesFixture.h"

namespace {

class Seating : public RulesTable {
protected:
    void SetUp() override {
        ClearUsers();
        conn.m_nUserId = 0;
        g_pConn = &conn;
    }
    void TearDown() override {
        g_pConn = nullptr;
        ClearUsers();
    }
};

TEST_F(Seating, OwnSeatBecomesPlaceZero) {
    conn.m_nUserId = 7;
    AddUser(7, 3, 7);
    AddUser(2, 4, 2);
    AddUser(5, 1, 5);
    AddUser(9, 2, 9, false);
    EXPECT_EQ(RebuildSeating(), 0); // one seat has not started
    EXPECT_TRUE(g_bSeated);
    const int users[4] = {7, 2, 5, 9}; // seat 4 plays after seat 3
    for (int place = 0; place < 4; ++place) {
        EXPECT_EQ(UserAtPlace(place), users[place]);
        EXPECT_EQ(PlaceOfUser(users[place]), place);
        EXPECT_EQ(PlaceOfSeat(SeatOfPlace(place)), place);
    }
    EXPECT_EQ(UserAtPlace(4), 0xFFFF);
    EXPECT_EQ(UserOfSeat(8), 0xFFFF);
    EXPECT_EQ(PlaceOfUser(0xFFFF), -1);
    g_UsersList[9].state |= 0x8000;
    EXPECT_EQ(RebuildSeating(), 1);
    EXPECT_TRUE(g_bGameRunning);
}

TEST_F(Seating, LowerUserIdKeepsAContestedSeat) {
    AddUser(0, 1, 0);
    AddUser(3, 2, 3);
    AddUser(6, 2, 6);
    RebuildSeating();
    EXPECT_EQ(UserOfSeat(2), 3);
    EXPECT_EQ(g_UsersList[6].state, 0);
    EXPECT_EQ(PlaceOfUser(6), -1);
}

TEST_F(Seating, NotSeatedStopsAutoPlay) {
    AddUser(4, 2, 4); // somebody else; own user 0 has no entry
    g_bAutoPlay = 1;
    g_bComputerSearch = 1;
    RebuildSeating();
    EXPECT_FALSE(g_bSeated);
    EXPECT_EQ(g_bAutoPlay, 0);
    EXPECT_EQ(g_bComputerSearch, 0);
    g_pConn = nullptr;
    AddUser(0, 1, 0);
    RebuildSeating();
    EXPECT_FALSE(IsUserHandledHere(0)) << "without a connection nobody is handled here";
}

TEST_F(Seating, ComputerPartnersAndAutoPlay) {
    AddUser(0, 1, 0);
    AddUser(101, 2, 0); // computer partner run by this program
    AddUser(1, 3, 1);
    AddUser(102, 4, 1); // computer partner run by user 1
    RebuildSeating();
    EXPECT_TRUE(IsComputerUser(101));
    EXPECT_FALSE(IsComputerUser(1));
    EXPECT_TRUE(IsPlaceAutoPlayed(PlaceOfUser(101)));
    EXPECT_FALSE(IsPlaceAutoPlayed(PlaceOfUser(102)));
    EXPECT_FALSE(IsPlaceAutoPlayed(0));
    g_bAutoPlay = 1;
    EXPECT_TRUE(IsPlaceAutoPlayed(0));
    g_bRestoring = 1;
    EXPECT_FALSE(IsUserHandledHere(101));
}

} // namespace
