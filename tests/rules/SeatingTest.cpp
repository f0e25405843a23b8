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

TEST_F(Seating, OwnSeatBecomesPlaceZeroAndLowerIdKeepsAContestedSeat) {
    conn.m_nUserId = 7;
    AddUser(7, 3, 7);
    AddUser(2, 4, 2);
    AddUser(5, 1, 5);
    AddUser(9, 2, 9, false);
    AddUser(12, 4, 12);             // contests seat 4: the lower id keeps it
    EXPECT_EQ(RebuildSeating(), 0); // one seat has not started
    const int users[4] = {7, 2, 5, 9};
    for (int place = 0; place < 4; ++place) {
        EXPECT_EQ(UserAtPlace(place), users[place]);
        EXPECT_EQ(PlaceOfUser(users[place]), place);
    }
    EXPECT_EQ(g_UsersList[12].state, 0);
    g_UsersList[9].state |= 0x8000;
    EXPECT_EQ(RebuildSeating(), 1);
    EXPECT_TRUE(g_bGameRunning);
}

} // namespace
