// Card points per suit with and without trumps.
#include <gtest/gtest.h>

#include "rules/Cards.h"
#include "tests/rules/RulesFixture.h"

namespace {

TEST(CardPointsTest, SuitsAreWorthTheirTotals) {
    for (int trump = 0; trump <= 4; ++trump)
        for (int suit = 0; suit < 4; ++suit) {
            int sum = 0;
            for (int code : DeckCodes())
                if (SuitOf(code) == suit) sum += PointsOfSet(NaturalCardSet(code), trump);
            EXPECT_EQ(sum, trump == 4 ? 38 : suit == trump ? 62 : 30) << trump << " " << suit;
        }
    EXPECT_EQ(CardPoints(0x0210, 2), 20); // jack of trumps
}

} // namespace
