// The dealer's list: ids, unique names and what a leaving user takes along.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "net/DealerUsers.h"
#include "net/UsersList.h"

namespace {
std::string NameAt(const CDealerUsers& u, int i) {
    return std::string(u.List()[i].name, strnlen(u.List()[i].name, 20));
}
} // namespace

TEST(DealerUsers, NamesAreMadeUnique) {
    // Names admitted in turn, separated by '|', and the names the list then holds.
    const std::pair<const char*, const char*> rows[] = {
        {"Player|Player|Player", "Player|Player_1|Player_2"},
        {"Player|Play|Pla", "Player|Play_1|Pla_2"}, // compared by prefix
        {"ABCDEFGHIJKLMNOPQR|ABCDEFGHIJKLMNOPQR", "ABCDEFGHIJKLMNOPQR|ABCDEFGHIJKLMNOP_1"},
        {"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", "xxxxxxxxxxxxxxxxxxx"}, // cut to 19
        {"P|P|P|P|P|P|P|P|P|P|P", "P|P_1|P_2|P_3|P_4|P_5|P_6|P_7|P_8|P_9|P_:"},
    };
    for (const auto& [admitted, listed] : rows) {
        CDealerUsers u;
        std::istringstream in(admitted), out(listed);
        std::string name;
        for (int id = 0; std::getline(in, name, '|') || id == 0; ++id)
            ASSERT_EQ(u.Admit(name), id);
        for (int id = 0; std::getline(out, name, '|'); ++id)
            EXPECT_EQ(NameAt(u, id), name) << admitted;
    }
}

TEST(DealerUsers, IdsAndSuffixesAfterLeavingAndPartnersLeaveWithTheirOwner) {
    CDealerUsers u;
    for (int i = 0; i < 3; ++i)
        u.Admit("Player");
    u.AddAuto(1, 1);
    u.AddAuto(2, 0);
    u.SetState(1, 0x8003);
    u.Detach(1); // Player_1 leaves, with its partner 1 (user 101)
    EXPECT_FALSE(u.IsTaken(1));
    EXPECT_EQ(u.List()[1].state, 0);
    EXPECT_FALSE(u.IsTaken(101));
    EXPECT_TRUE(u.IsTaken(102)) << "the partner of user 0 stays";
    EXPECT_EQ(u.Admit("Player"), 1) << "the lowest free id";
    EXPECT_EQ(NameAt(u, 1), "Player_3") << "the suffix counts on from the highest in use";
    for (int i = 3; i < kMaxUsers; ++i) // every free id is given out, the last one too
        ASSERT_TRUE(u.IsTaken(i) || u.Admit("U") == i) << i;
    EXPECT_EQ(u.Admit("late"), -1) << "a full list refuses";
    // A partner number that lands before the list (100 + k below 0) is refused.
    USERINFO list[kMaxUsers] = {};
    EXPECT_EQ(AddAutoPlayer(list, static_cast<char>(-kAutoPlayerBase - 1), 0), 0);
}
