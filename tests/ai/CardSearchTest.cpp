// The card-play search on hand-built positions, and whole play-outs by the classic
// and the fair players.
#include <gtest/gtest.h>

#include <random>

#include "ai/CCardSearch.h"
#include "ai/CDealSimulator.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

TEST(CardSearchTest, TrickScoringAndTies) {
    struct Row {
        const char* name;
        std::string hands[4];
        int leader;
        std::vector<std::string> trick;
        int value, trickPoints, lastWinner;
        const char* chosen; // nullptr: not checked
    };
    const Row rows[] = {
        // No-trump ace 19, last trick 10, trick 50; the last card is searched.
        {"last trick", {"AS", "7S", "8S", "9S"}, 0, {}, 79, 29, 0, nullptr},
        // 19 + 50, then 19 + 10 + 50.
        {"two tricks add up", {"AS AD", "7S 7D", "8S 8D", "9S 9D"}, 0, {}, 148, 19, 0, nullptr},
        // Of two cards worth the same, the one searched first (diamonds before clubs)
        // stays when the trick goes to the opponents.
        {"equal points", {"7C 7D", "9H", "8H", "TH"}, 1, {"AS", "7S", "8S"}, -69 - 70, 0, 1, "7D"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SearchState s = Position(row.hands, 4, row.leader, row.trick);
        CCardSearch search;
        SearchState result = s, start = s;
        EXPECT_EQ(search.SearchTrick(start, &result, 9), row.value);
        EXPECT_EQ(result.trickPoints, row.trickPoints);
        EXPECT_EQ(result.lastWinner, row.lastWinner);
        if (row.chosen) {
            EXPECT_EQ(result.chosenCard, Tr(row.chosen));
        }
        search.SetPerspective((s.toPlay + 1) & 3);
        SearchState other = s;
        start = s;
        EXPECT_EQ(search.SearchTrick(start, &other, 9), -row.value) << "the other side's view";
    }
}

// Classic play-outs, and fair ones (places 0 and 2 sampling) with a fixed seed: the
// same seed gives the same cards and calls, every card is played once and legally,
// and the card points add up.
TEST(PlayOutTest, SameSeedSameChoicesEveryCardOnceAndLegal) {
    std::mt19937_64 rng(12345);
    for (int deal = 0; deal < 8; ++deal) {
        SCOPED_TRACE("deal " + std::to_string(deal));
        uint32_t hands[4];
        CDealSimulator::DealHands(rng, hands);
        const int trump = deal % 5, leader = deal & 3;
        SeatPlayers players;
        if (deal & 1) {
            players.samples[0] = players.samples[2] = 4;
            players.seed = 1234 + deal;
        }
        const PlayedDeal d = CDealSimulator::PlayOut(hands, trump, leader, nullptr, players);
        ASSERT_EQ(d.cards.size(), 32u);
        EXPECT_EQ(CDealSimulator::PlayOut(hands, trump, leader, nullptr, players).cards, d.cards);
        EXPECT_EQ(d.tricks[0] + d.tricks[1], 8);
        EXPECT_EQ(d.cardPoints[0] + d.cardPoints[1], d.tricks[0] && d.tricks[1] ? 162 : 250);
        uint32_t h[4] = {hands[0], hands[1], hands[2], hands[3]};
        TrickStart trick;
        trick.trump = trump;
        trick.leader = leader;
        CCardSearch search;
        uint32_t seen = 0;
        for (int code : d.cards) {
            SearchState s;
            search.InitSearch(s, h, trick);
            const uint32_t card = search_bits::NatToTrump(search_bits::NatOf(code));
            ASSERT_TRUE(LegalCards(s, search_bits::NatToTrump(h[s.toPlay])) & card) << code;
            seen |= search_bits::NatOf(code);
            Advance(trick, h, s.toPlay, code);
        }
        EXPECT_EQ(seen, 0xFFFFFFFFu);
        if (!(deal & 1)) continue;
        const PlayedDeal c = CDealSimulator::BidAndPlay(hands, leader, nullptr, players);
        const PlayedDeal e = CDealSimulator::BidAndPlay(hands, leader, nullptr, players);
        EXPECT_EQ(std::vector<int>({c.calls, c.value, c.trump}),
                  std::vector<int>({e.calls, e.value, e.trump}));
        EXPECT_EQ(c.cards, e.cards);
    }
}
