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

TEST(AppOptions, TableChoices) {
    const AppOptions o =
        ParseAppOptions({"--name", "P", "--deal", "--port=4000", "--seat", "1", "--partner", "2",
                         "--partner", "4", "--start", "--autoplay", "--exit-after-game"});
    EXPECT_TRUE(o.error.empty()) << o.error;
    EXPECT_EQ(o.name, "P");
    EXPECT_EQ(o.connType, 1);
    EXPECT_EQ(o.port, 4000);
    EXPECT_EQ(o.seat, 1);
    EXPECT_EQ(o.partners, (std::vector<int>{2, 4}));
    EXPECT_TRUE(o.start && o.autoplay && o.exitAfterGame);
    const AppOptions j = ParseAppOptions({"--join", "127.0.0.1"});
    EXPECT_EQ(j.connType, 0);
    EXPECT_EQ(j.joinHost, "127.0.0.1");
    EXPECT_EQ(ParseAppOptions({}).connType, -1);
}

TEST(AppOptions, BadTableChoicesAreReported) {
    EXPECT_FALSE(ParseAppOptions({"--seat", "5"}).error.empty());
    EXPECT_FALSE(ParseAppOptions({"--partner", "0"}).error.empty());
    EXPECT_FALSE(ParseAppOptions({"--port", "x"}).error.empty());
    EXPECT_FALSE(ParseAppOptions({"--start"}).error.empty());
    EXPECT_FALSE(ParseAppOptions({"--name"}).error.empty());
    EXPECT_FALSE(ParseAppOptions({"--join="}).error.empty());
}

TEST(AppOptions, SavedGameChoices) {
    const AppOptions o =
        ParseAppOptions({"--load", "in.vsk", "--save-after-cards", "40", "out.vsk", "--trace"});
    EXPECT_TRUE(o.error.empty()) << o.error;
    EXPECT_EQ(o.loadFile, "in.vsk");
    EXPECT_EQ(o.saveAfterCards, 40);
    EXPECT_EQ(o.saveFile, "out.vsk");
    EXPECT_TRUE(o.trace); // the option after the two values is read as an option
    EXPECT_FALSE(ParseAppOptions({"--save-after-cards", "40"}).error.empty());
    EXPECT_FALSE(ParseAppOptions({"--save-after-cards", "0", "x.vsk"}).error.empty());
    EXPECT_FALSE(ParseAppOptions({"--load"}).error.empty());
}
