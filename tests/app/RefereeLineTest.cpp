#include <gtest/gtest.h>

#include "app/RefereeLine.h"

TEST(RefereeLine, OrdersTheAnnouncedValuesHighestFirst) {
    const std::string names[4] = {"Ann", "Bob", "Cid", "Dan"};
    const struct {
        bool announced[4];
        int values[4];
        const char* line;
    } cases[] = {
        {{true, true, true, true}, {12, 42, 0, 28}, "Referee> Order - (Bob) (Dan) (Ann) "},
        {{false, true, true, true}, {50, 29, 10, 29}, "Referee> Order - (Bob,Dan) (Cid) "},
        {{true, true, true, true}, {10, 20, 5, 30}, "Referee> Order - (Dan) (Bob) (Ann) (Cid) "},
        {{false, false, true, false}, {10, 20, 0, 30}, "Referee> Order - "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildRefereeOrderLine(names, c.announced, c.values), c.line);
}
