#include <gtest/gtest.h>

#include "app/RefereeLine.h"

namespace {

const std::string kNames[4] = {"Ann", "Bob", "Cid", "Dan"};

} // namespace

TEST(RefereeLine, OrdersByValueHighestFirst) {
    const bool announced[4] = {true, true, true, true};
    const int values[4] = {12, 42, 0, 28};
    EXPECT_EQ(BuildRefereeOrderLine(kNames, announced, values),
              "Referee> Order - (Bob) (Dan) (Ann) ");
}

TEST(RefereeLine, EqualValuesShareOneBracket) {
    const bool announced[4] = {false, true, true, true};
    const int values[4] = {50, 29, 10, 29};
    EXPECT_EQ(BuildRefereeOrderLine(kNames, announced, values),
              "Referee> Order - (Bob,Dan) (Cid) ");
}

TEST(RefereeLine, LowerValueAfterHigherOnesAndInsertBeforeLower) {
    const bool announced[4] = {true, true, true, true};
    const int values[4] = {10, 20, 5, 30};
    EXPECT_EQ(BuildRefereeOrderLine(kNames, announced, values),
              "Referee> Order - (Dan) (Bob) (Ann) (Cid) ");
}

TEST(RefereeLine, NobodyCountingGivesTheBareLine) {
    const bool announced[4] = {false, false, true, false};
    const int values[4] = {10, 20, 0, 30};
    EXPECT_EQ(BuildRefereeOrderLine(kNames, announced, values), "Referee> Order - ");
}
