// The login name offered as the player's name, cut to what a name may hold.
#include <gtest/gtest.h>

#include "platform/qt/UserName.h"

TEST(UserName, CutsTo18BytesWithoutSplittingCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"abcdefghijklmnopqrs", "abcdefghijklmnopqr"},
        {std::string(17, 'a') + "\xC3\xA5" + "b", std::string(17, 'a')}, // a two-byte character
        {std::string(16, 'a') + "\xC3\xA5" + "bc", std::string(16, 'a') + "\xC3\xA5"},
        {std::string(16, 'a') + "\xE2\x82\xAC", std::string(16, 'a')}, // three bytes across
    };
    for (const auto& [name, cut] : cases)
        EXPECT_EQ(CutUserName(name), cut) << name;
}
