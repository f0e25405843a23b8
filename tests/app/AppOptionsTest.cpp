#include <gtest/gtest.h>

#include "app/AppOptions.h"

TEST(AppOptions, HelpVersionAndPace) {
    EXPECT_TRUE(ParseAppOptions({"--help"}).help);
    EXPECT_TRUE(ParseAppOptions({"-h"}).help);
    EXPECT_TRUE(ParseAppOptions({"--version"}).version);
    EXPECT_DOUBLE_EQ(ParseAppOptions({}).pace, 1.0);
    EXPECT_DOUBLE_EQ(ParseAppOptions({"--pace", "0"}).pace, 0.0);
    EXPECT_DOUBLE_EQ(ParseAppOptions({"--pace=0.5"}).pace, 0.5);
    EXPECT_TRUE(ParseAppOptions({}).error.empty());
}

TEST(AppOptions, BadArgumentsAreReported) {
    EXPECT_FALSE(ParseAppOptions({"--pace"}).error.empty());
    EXPECT_FALSE(ParseAppOptions({"--pace", "-1"}).error.empty());
    EXPECT_FALSE(ParseAppOptions({"--pace=fast"}).error.empty());
    EXPECT_FALSE(ParseAppOptions({"--pace=nan"}).error.empty());
    EXPECT_FALSE(ParseAppOptions({"--colour"}).error.empty());
}
