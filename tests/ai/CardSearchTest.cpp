// The card-play search: trick scoring, the cut-offs and the repeatability of whole
// play-outs.
#include <gtest/gtest.h>

#include <random>

#include "ai/CCardSearch.h"
#include "ai/CComputerPlayer.h"
#include "ai/CDealSimulator.h"
#include "ai/CardPruning.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

namespace {
constexpr int kHearts = 2;
constexpr int kNoTrumps = 4;

// Plays `code` into the trick and starts the next trick when it is complete.
void Advance(TrickStart& trick, uint32_t hands[4], int place, int code) {
    hands[place] &= ~search_bits::NatOf(code);
    trick.codes[trick.count++] = code;
    ++trick.cardsPlayed;
    if (trick.count < 4) return;
    int winner = trick.leader;
    uint16_t best = search_bits::PackNatural(search_bits::NatOf(trick.codes[0]));
    for (int i = 1; i < 4; ++i) {
        const uint16_t c = search_bits::PackNatural(search_bits::NatOf(trick.codes[i]));
        if (BeatsCard(c, best, trick.trump)) {
            best = c;
            winner = (trick.leader + i) & 3;
        }
    }
    trick.leader = winner;
    trick.count = 0;
}
} // namespace

TEST(CardSearchTest, TrickScoring) {
    struct Row {
        const char* name;
        std::string hands[4];
        int trump, leader, value, trickPoints, lastWinner;
    };
    const Row rows[] = {
        // No-trump ace 19, last trick 10, trick 50; the last card is searched.
        {"last trick", {"AS", "7S", "8S", "9S"}, kNoTrumps, 0, 79, 29, 0},
        // 19 + 50, then 19 + 10 + 50.
        {"two tricks add up", {"AS AD", "7S 7D", "8S 8D", "9S 9D"}, kNoTrumps, 0, 148, 19, 0},
    };
    for (const Row& row : rows) {
        SearchState s = Position(row.hands, row.trump, row.leader);
        CCardSearch search;
        SearchState result = s;
        EXPECT_EQ(search.SearchTrick(s, &result, 9), row.value) << row.name;
        EXPECT_EQ(result.trickPoints, row.trickPoints) << row.name;
        EXPECT_EQ(result.lastWinner, row.lastWinner) << row.name;
        search.SetPerspective(1);
        SearchState other = s;
        EXPECT_EQ(search.SearchTrick(s, &other, 9), -row.value) << row.name;
    }
}

// Equal scores: of two cards worth the same, the one searched first (diamonds before
// clubs) stays when the trick goes to the opponents.
TEST(CardSearchTest, TieBetweenCardsOfEqualPoints) {
    const std::string hands[4] = {"7C 7D", "9H", "8H", "TH"};
    SearchState s = Position(hands, kNoTrumps, 1, {"AS", "7S", "8S"});
    CCardSearch search;
    SearchState result = s;
    EXPECT_EQ(search.SearchTrick(s, &result, 9), -69 - 70);
    EXPECT_EQ(result.chosenCard, Tr("7D"));
}

TEST(PlayOutTest, SameDealSameChoicesEveryCardOnceAndLegal) {
    std::mt19937_64 rng(12345);
    for (int deal = 0; deal < 10; ++deal) {
        uint32_t hands[4];
        CDealSimulator::DealHands(rng, hands);
        const int trump = deal % 5;
        const PlayedDeal d = CDealSimulator::PlayOut(hands, trump, deal & 3);
        const PlayedDeal again = CDealSimulator::PlayOut(hands, trump, deal & 3);
        ASSERT_EQ(d.cards.size(), 32u);
        EXPECT_EQ(d.cards, again.cards);
        EXPECT_EQ(d.cardPoints[0], again.cardPoints[0]);
        EXPECT_EQ(d.tricks[0] + d.tricks[1], 8);
        EXPECT_EQ(d.cardPoints[0] + d.cardPoints[1], d.tricks[0] && d.tricks[1] ? 162 : 250);
        uint32_t h[4] = {hands[0], hands[1], hands[2], hands[3]};
        TrickStart trick;
        trick.trump = trump;
        trick.leader = deal & 3;
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
    }
}

// The cut-offs and the transposition table change how many positions are
// searched, never what is chosen:
// the same root value, card and position after the trick as the full search.
TEST(CutoffTest, SameChoicesAsTheFullSearch) {
    std::mt19937_64 rng(2026);
    int compared = 0;
    for (int deal = 0; deal < 40; ++deal) {
        uint32_t hands[4];
        CDealSimulator::DealHands(rng, hands);
        const PlayedDeal full = CDealSimulator::PlayOut(hands, deal % 5, deal & 3);
        uint32_t h[4] = {hands[0], hands[1], hands[2], hands[3]};
        TrickStart trick;
        trick.trump = deal % 5;
        trick.leader = deal & 3;
        for (int code : full.cards) {
            // The mover's view as in card play, then place 0's without shortcut as in bidding.
            int place = -1;
            for (bool bidding : {false, true}) {
                CCardSearch cut, plain;
                plain.SetCutoffs(false);
                plain.SetTable(false);
                SearchState a, b;
                const int limit = cut.InitSearch(a, h, trick);
                plain.InitSearch(b, h, trick);
                place = a.toPlay;
                if (bidding) {
                    cut.SetShortcut(false);
                    plain.SetShortcut(false);
                } else {
                    cut.SetPerspective(a.toPlay);
                    plain.SetPerspective(b.toPlay);
                }
                SearchState ra = a, rb = b;
                ASSERT_EQ(cut.SearchTrick(a, &ra, limit), plain.SearchTrick(b, &rb, limit));
                ASSERT_EQ(ra.chosenCard, rb.chosenCard);
                ASSERT_EQ(ra.trickPoints, rb.trickPoints);
                ASSERT_EQ(ra.lastWinner, rb.lastWinner);
                EXPECT_LE(cut.Nodes(), plain.Nodes());
            }
            ++compared;
            Advance(trick, h, place, code);
        }
    }
    EXPECT_EQ(compared, 40 * 32);
}
