// The card-play search: the single-card shortcut, trick scoring, the tie rule,
// the position loader, the cut-offs and the repeatability of whole play-outs.
#include <gtest/gtest.h>

#include <atomic>
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

TEST(CardSearchTest, ShortcutOnlyForOneLegalCardOfSeveral) {
    const std::string hands[4] = {"7S KD", "8S 8D", "9S 9D", "7D"};
    SearchState s = Position(hands, kHearts, 3, {"AS"});
    CCardSearch search;
    SearchState result = s;
    EXPECT_EQ(search.SearchTrick(s, &result, 9), CCardSearch::kShortcut);
    EXPECT_EQ(result.chosenCard, Tr("7S"));
    EXPECT_EQ(search.Depth(), 0);
    // The bidding search has no shortcut.
    CCardSearch bidding;
    SearchState init;
    const uint32_t nat[4] = {s.hands[0], s.hands[1], s.hands[2], s.hands[3]};
    bidding.InitSearch(init, nat, true);
    EXPECT_FALSE(bidding.Shortcut());
    result = s;
    EXPECT_NE(bidding.SearchTrick(s, &result, 9), CCardSearch::kShortcut);
    EXPECT_EQ(result.chosenCard, Tr("7S"));
}

TEST(CardSearchTest, TrickScoring) {
    struct Row {
        const char* name;
        std::string hands[4];
        int trump, leader, value, trickPoints, lastWinner;
    };
    const Row rows[] = {
        // No-trump ace 19, last trick 10, trick 50; the last card is searched.
        {"last trick", {"AS", "7S", "8S", "9S"}, kNoTrumps, 0, 79, 29, 0},
        {"trumped for the partner", {"TS", "AS", "7H", "9S"}, kHearts, 1, 81, 31, 2},
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
    // With both continue flags clear the search stops at the trick boundary.
    const std::string hands[4] = {"AS AD", "7S 7D", "8S 8D", "9S 9D"};
    SearchState s = Position(hands, kNoTrumps, 0);
    CCardSearch search;
    std::atomic<int> a{0}, b{0};
    search.SetContinueFlags(&a, &b);
    SearchState result = s;
    EXPECT_EQ(search.SearchTrick(s, &result, 9), 69);
    b = 1;
    EXPECT_EQ(search.SearchTrick(s, &result, 9), 148);
}

TEST(CardSearchTest, TieRulePrefersTheCheaperCardForTheOpponentsOnly) {
    // Place 0 plays fourth; K and Q of diamonds score alike.
    const std::string lost[4] = {"KD QD", "AS", "7S", "8S"}; // the left opponent wins
    const std::string won[4] = {"KD QD", "7S", "AS", "8S"};  // the partner wins
    CCardSearch search;
    SearchState s = Position(lost, kNoTrumps, 1, {"AD", "7D", "8D"});
    SearchState result = s;
    search.SearchTrick(s, &result, 9);
    EXPECT_EQ(result.chosenCard, Tr("QD"));
    s = Position(won, kNoTrumps, 1, {"7D", "AD", "8D"});
    result = s;
    search.SearchTrick(s, &result, 9);
    EXPECT_EQ(result.chosenCard, Tr("KD"));
}

TEST(CardSearchTest, InitSearchLoadsTheTrickAndTheDepthLimit) {
    CCardSearch search;
    const uint32_t hands[4] = {Nat("7S 8S"), Nat("AS KD"), Nat("9S"), Nat("TS")};
    TrickStart trick;
    trick.trump = kHearts;
    trick.leader = 2;
    trick.count = 2;
    trick.codes[0] = Code("JS");
    trick.codes[1] = Code("7H");
    trick.cardsPlayed = 26;
    SearchState s;
    EXPECT_EQ(search.InitSearch(s, hands, trick), 45);
    EXPECT_EQ(s.toPlay, 0);
    EXPECT_EQ(s.winnerAfter[0], 2);
    EXPECT_EQ(s.winnerAfter[1], 3); // the trump wins
    EXPECT_EQ(s.trick[2], Packed("JS"));
    EXPECT_EQ(s.early, 0);
    trick.trump = kNoTrumps;
    EXPECT_EQ(search.InitSearch(s, hands, trick), 13);
    EXPECT_EQ(s.winnerAfter[1], 2); // no trumps: the heart is a discard
    trick.cardsPlayed = 6;
    EXPECT_EQ(search.InitSearch(s, hands, trick), 9);
    EXPECT_EQ(s.early, 1);
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
        // Replay the cards and check each against the legal set of its position.
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

// The cut-offs change how many positions are searched, never what is chosen:
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
            // As the card play searches (the mover's view), then as the bid
            // evaluation does (place 0's view, no shortcut).
            int place = -1;
            for (bool bidding : {false, true}) {
                CCardSearch cut, plain;
                plain.SetCutoffs(false);
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
