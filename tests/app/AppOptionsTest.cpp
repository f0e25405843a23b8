#include <gtest/gtest.h>

#include "app/AppOptions.h"

TEST(AppOptions, ChoicesAreParsed) {
    EXPECT_TRUE(ParseAppOptions({"-h"}).help);
    EXPECT_TRUE(ParseAppOptions({"--version"}).version);
    EXPECT_DOUBLE_EQ(ParseAppOptions({}).pace, 1.0);
    EXPECT_DOUBLE_EQ(ParseAppOptions({"--pace=0.5"}).pace, 0.5);
    EXPECT_EQ(ParseAppOptions({}).connType, -1);
    const AppOptions o =
        ParseAppOptions({"--name", "P", "--deal", "--port=4000", "--seat", "1", "--partner", "2",
                         "--partner", "4", "--start", "--autoplay", "--fair", "--exit-after-game"});
    EXPECT_TRUE(o.error.empty()) << o.error;
    EXPECT_EQ(o.name, "P");
    EXPECT_EQ(o.connType, 1);
    EXPECT_EQ(o.port, 4000);
    EXPECT_EQ(o.seat, 1);
    EXPECT_EQ(o.partners, (std::vector<int>{2, 4}));
    EXPECT_TRUE(o.start && o.autoplay && o.fair && o.exitAfterGame);
    EXPECT_FALSE(ParseAppOptions({}).fair);
    const AppOptions j = ParseAppOptions({"--join", "127.0.0.1"});
    EXPECT_EQ(j.connType, 0);
    EXPECT_EQ(j.joinHost, "127.0.0.1");
    const AppOptions s =
        ParseAppOptions({"--load", "in.vsk", "--save-after-cards", "40", "out.vsk", "--trace"});
    EXPECT_TRUE(s.error.empty()) << s.error;
    EXPECT_EQ(s.loadFile, "in.vsk");
    EXPECT_EQ(s.saveAfterCards, 40);
    EXPECT_EQ(s.saveFile, "out.vsk");
    EXPECT_TRUE(s.trace); // the option after the two values is read as an option
    // A file alone, as the desktop entry passes it, loads like --load.
    const AppOptions f = ParseAppOptions({"--name", "P", "/home/p/Vesk/game 1.vsk"});
    EXPECT_TRUE(f.error.empty()) << f.error;
    EXPECT_EQ(f.loadFile, "/home/p/Vesk/game 1.vsk");
}

TEST(AppOptions, BadValuesAreReported) {
    const std::vector<std::vector<std::string>> bad = {
        {"--pace"},         {"--pace", "-1"},
        {"--pace=fast"},    {"--pace=nan"},
        {"--colour"},       {"--seat", "5"},
        {"--partner", "0"}, {"--port", "x"},
        {"--start"},        {"--name"},
        {"--join="},        {"--save-after-cards", "40"},
        {"--load"},         {"--save-after-cards", "0", "x.vsk"},
        {"a.vsk", "b.vsk"}, {"--load", "a.vsk", "b.vsk"},
    };
    for (const auto& args : bad)
        EXPECT_FALSE(ParseAppOptions(args).error.empty()) << args[0];
}
