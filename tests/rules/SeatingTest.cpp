// Places, seats and the rebuilding of the seating from the user list.
#include <gtest/gtest.h>

#include "tests/rules/RulesFixture.h"

namespace {

class Seating : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGameStateForStart();
        std::memset(g_UsersList, 0, sizeof(USERINFO) * kMaxUsers);
        conn.m_nUserId = 0;
        g_pConn = &conn;
    }
    void TearDown() override {
        g_pConn = nullptr;
        std::memset(g_UsersList, 0, sizeof(USERINFO) * kMaxUsers);
        ResetGameStateForStart();
    }
    static void AddUser(int id, int seat, int owner, bool started = true) {
        USERINFO& u = g_UsersList[id];
        std::snprintf(u.name, sizeof u.name, "U%d", id);
        u.state = static_cast<uint16_t>(seat | (started ? 0x8000 : 0));
        u.owner = static_cast<uint16_t>(owner);
        u.aux = 0xFFFF;
    }
    CConn conn;
};

TEST_F(Seating, LookupsOutsideTheirRange) {
    EXPECT_EQ(UserAtPlace(4), 0xFFFF);
    EXPECT_EQ(UserAtPlace(-1), 0xFFFF);
    EXPECT_EQ(UserOfSeat(0), 0xFFFF);
    EXPECT_EQ(UserOfSeat(8), 0xFFFF);
    EXPECT_EQ(PlaceOfUser(255), -1);
    EXPECT_EQ(PlaceOfUser(0xFFFF), -1);
    EXPECT_EQ(SeatOfUser(-1), 0);
    EXPECT_FALSE(IsUserHandledHere(-1));
    EXPECT_FALSE(IsUserHandledHere(0xFFFF));
}

TEST_F(Seating, OwnSeatBecomesPlaceZero) {
    conn.m_nUserId = 7;
    AddUser(7, 3, 7);
    AddUser(2, 4, 2);
    AddUser(5, 1, 5);
    AddUser(9, 2, 9, false);
    EXPECT_EQ(RebuildSeating(), 0); // one seat has not started
    EXPECT_TRUE(g_bSeated);
    EXPECT_EQ(UserAtPlace(0), 7);
    EXPECT_EQ(UserAtPlace(1), 2); // seat 4 plays after seat 3
    EXPECT_EQ(UserAtPlace(2), 5);
    EXPECT_EQ(UserAtPlace(3), 9);
    EXPECT_EQ(PlaceOfUser(2), 1);
    EXPECT_EQ(UserOfSeat(3), 7);
    EXPECT_EQ(PlaceOfSeat(1), 2);
    EXPECT_EQ(SeatOfPlace(3), 2);

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
    EXPECT_EQ(g_UsersList[6].aux, 0xFFFF);
    EXPECT_EQ(PlaceOfUser(6), -1);
    EXPECT_EQ(PlaceOfUser(3), 1);
}

TEST_F(Seating, NotSeatedStopsAutoPlay) {
    AddUser(4, 2, 4); // somebody else; own user 0 has no entry
    g_bAutoPlay = 1;
    g_bComputerSearch = 1;
    RebuildSeating();
    EXPECT_FALSE(g_bSeated);
    EXPECT_EQ(g_bAutoPlay, 0);
    EXPECT_EQ(g_bComputerSearch, 0);
    // Without an own seat the place table keeps seat numbers modulo 4.
    EXPECT_EQ(UserAtPlace(2), 4);
}

TEST_F(Seating, ComputerPartnersAndAutoPlay) {
    AddUser(0, 1, 0);
    AddUser(101, 2, 0); // computer partner run by this program
    AddUser(1, 3, 1);
    AddUser(102, 4, 1); // computer partner run by user 1
    RebuildSeating();
    EXPECT_TRUE(IsComputerUser(101));
    EXPECT_FALSE(IsComputerUser(1));
    EXPECT_TRUE(IsUserHandledHere(101));
    EXPECT_FALSE(IsUserHandledHere(102));
    EXPECT_TRUE(IsPlaceAutoPlayed(PlaceOfUser(101)));
    EXPECT_FALSE(IsPlaceAutoPlayed(PlaceOfUser(102)));
    EXPECT_FALSE(IsPlaceAutoPlayed(0));
    g_bAutoPlay = 1;
    EXPECT_TRUE(IsPlaceAutoPlayed(0));
    g_bRestoring = 1;
    EXPECT_FALSE(IsUserHandledHere(101));
    EXPECT_FALSE(IsPlaceAutoPlayed(PlaceOfUser(101)));
}

TEST_F(Seating, WithoutConnectionNoUserIsHandledHere) {
    AddUser(0, 1, 0);
    g_pConn = nullptr;
    RebuildSeating();
    EXPECT_FALSE(g_bSeated);
    EXPECT_FALSE(IsUserHandledHere(0));
}

} // namespace
