// Whole play-outs by the classic and the fair players.
#include <gtest/gtest.h>

#include <random>

#include "ai/CCardSearch.h"
#include "ai/CDealSimulator.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

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
