#include <gtest/gtest.h>

#include <tuple>

#include "app/AppOptions.h"

TEST(AppOptions, ChoicesAreParsed) {
    EXPECT_DOUBLE_EQ(ParseAppOptions({"--pace=0.5"}).pace, 0.5);
    const AppOptions o =
        ParseAppOptions({"--name", "P", "--deal", "--port=4000", "--seat", "1", "--partner", "2",
                         "--partner", "4", "--start", "--autoplay", "--fair", "--exit-after-game"});
    EXPECT_TRUE(o.error.empty()) << o.error;
    EXPECT_EQ(std::tuple(o.name, o.connType, o.port, o.seat), std::tuple("P", 1, 4000, 1));
    EXPECT_EQ(o.partners, (std::vector<int>{2, 4}));
    EXPECT_TRUE(o.start && o.autoplay && o.fair && o.exitAfterGame);
    // The option after the two values of --save-after-cards is read as an option.
    const AppOptions s =
        ParseAppOptions({"--load", "in.vsk", "--save-after-cards", "40", "out.vsk", "--trace"});
    EXPECT_TRUE(s.error.empty()) << s.error;
    EXPECT_EQ(std::tuple(s.loadFile, s.saveAfterCards, s.saveFile, s.trace),
              std::tuple("in.vsk", 40, "out.vsk", true));
    // A file alone, as the desktop entry passes it, loads like --load.
    const AppOptions f = ParseAppOptions({"--name", "P", "/home/p/Vesk/game 1.vsk"});
    EXPECT_EQ(std::tuple(f.error, f.loadFile), std::tuple("", "/home/p/Vesk/game 1.vsk"));
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
