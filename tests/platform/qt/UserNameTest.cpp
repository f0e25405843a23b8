#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include "platform/qt/UserName.h"

TEST(UserName, IsTheLoginNameOfTheRealUser) {
    const passwd* pw = getpwuid(getuid());
    ASSERT_NE(pw, nullptr);
    const std::string login = pw->pw_name;
    const std::string name = GetUserName();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), kMaxUserName);
    EXPECT_EQ(name, login.substr(0, name.size()));
    if (login.size() <= kMaxUserName) {
        EXPECT_EQ(name, login);
    }
}

TEST(UserName, ShortNamesStayWhole) {
    EXPECT_EQ(CutUserName(""), "");
    EXPECT_EQ(CutUserName("ana"), "ana");
    EXPECT_EQ(CutUserName("abcdefghijklmnopqr"), "abcdefghijklmnopqr"); // exactly 18
}

TEST(UserName, LongNamesAreCutTo18) {
    EXPECT_EQ(CutUserName("abcdefghijklmnopqrs"), "abcdefghijklmnopqr");
    EXPECT_EQ(CutUserName(std::string(200, 'x')), std::string(18, 'x'));
}

TEST(UserName, CutsDoNotSplitCharacters) {
    // 17 ASCII bytes and a two-byte character: the character does not fit.
    const std::string name = std::string(17, 'a') + "\xC3\xA5" + "b";
    EXPECT_EQ(CutUserName(name), std::string(17, 'a'));
    // 16 ASCII bytes and a two-byte character fill exactly 18 bytes.
    const std::string fits = std::string(16, 'a') + "\xC3\xA5" + "bc";
    EXPECT_EQ(CutUserName(fits), std::string(16, 'a') + "\xC3\xA5");
    // A three-byte character across the limit.
    const std::string euro = std::string(16, 'a') + "\xE2\x82\xAC";
    EXPECT_EQ(CutUserName(euro), std::string(16, 'a'));
}
