// The card-play search: the single-card shortcut, trick scoring, the tie rule,
// the position loader and the repeatability of whole play-outs.
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
} // namespace

TEST(SearchShortcutTest, OneLegalCardOfSeveralAnswers999) {
    const std::string hands[4] = {"7S KD", "8S 8D", "9S 9D", "7D"};
    SearchState s = Position(hands, kHearts, 3, {"AS"});
    CCardSearch search;
    SearchState result = s;
    EXPECT_EQ(search.SearchTrick(s, &result, 9), CCardSearch::kShortcut);
    EXPECT_EQ(result.chosenCard, Tr("7S"));
    EXPECT_EQ(search.Depth(), 0);
}

TEST(SearchShortcutTest, BiddingSearchHasNoShortcut) {
    const std::string hands[4] = {"7S KD", "8S 8D", "9S 9D", "7D"};
    SearchState s = Position(hands, kHearts, 3, {"AS"});
    CCardSearch search;
    SearchState init;
    const uint32_t nat[4] = {s.hands[0], s.hands[1], s.hands[2], s.hands[3]};
    search.InitSearch(init, nat, true);
    EXPECT_FALSE(search.Shortcut());
    SearchState result = s;
    EXPECT_NE(search.SearchTrick(s, &result, 9), CCardSearch::kShortcut);
    EXPECT_EQ(result.chosenCard, Tr("7S"));
}

TEST(SearchShortcutTest, LastCardIsSearchedNotShortcut) {
    const std::string hands[4] = {"AS", "7S", "8S", "9S"};
    SearchState s = Position(hands, kNoTrumps, 0);
    CCardSearch search;
    SearchState result = s;
    EXPECT_EQ(search.SearchTrick(s, &result, 9), 79);
    EXPECT_EQ(result.chosenCard, Tr("AS"));
}

TEST(TrickScoringTest, LastTrickCountsTenAndFifty) {
    const std::string hands[4] = {"AS", "7S", "8S", "9S"};
    SearchState s = Position(hands, kNoTrumps, 0);
    CCardSearch search;
    SearchState result = s;
    // No-trump ace 19, last trick 10, trick 50.
    EXPECT_EQ(search.SearchTrick(s, &result, 9), 79);
    EXPECT_EQ(result.trickPoints, 29);
    EXPECT_EQ(result.lastWinner, 0);
    EXPECT_EQ(result.toPlay, -1);
    EXPECT_EQ(result.count, 0);

    search.SetPerspective(1);
    SearchState other = s;
    EXPECT_EQ(search.SearchTrick(s, &other, 9), -79);
    EXPECT_EQ(other.trickPoints, 0);
}

TEST(TrickScoringTest, TrumpTakesTheLastTrickForPartner) {
    // Hearts trump: place 2 trumps the spade ace.
    const std::string hands[4] = {"TS", "AS", "7H", "9S"};
    SearchState s = Position(hands, kHearts, 1);
    CCardSearch search;
    SearchState result = s;
    EXPECT_EQ(search.SearchTrick(s, &result, 9), 81);
    search.SetPerspective(1);
    SearchState mine = s;
    EXPECT_EQ(search.SearchTrick(s, &mine, 9), -81);
    search.SetPerspective(0);
    EXPECT_EQ(result.lastWinner, 2);
    EXPECT_EQ(result.trickPoints, 11 + 10 + 10);
}

TEST(TrickScoringTest, TwoTricksAddUp) {
    const std::string hands[4] = {"AS AD", "7S 7D", "8S 8D", "9S 9D"};
    SearchState s = Position(hands, kNoTrumps, 0);
    CCardSearch search;
    SearchState result = s;
    // 19 + 50, then 19 + 10 + 50.
    EXPECT_EQ(search.SearchTrick(s, &result, 9), 148);
    EXPECT_EQ(result.trickPoints, 19);
    EXPECT_EQ(result.toPlay, 0);
    EXPECT_EQ(search.Depth(), 0);
}

TEST(TrickScoringTest, StopsAtTheTrickBoundaryWhenTheFlagsAreClear) {
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

TEST(TieRuleTest, CheaperCardWhenTheTrickGoesToTheOpponents) {
    // Place 0 plays fourth to a trick the left opponent wins with the ace;
    // the last trick goes to that side as well, so K and Q score alike.
    const std::string hands[4] = {"KD QD", "AS", "7S", "8S"};
    SearchState s = Position(hands, kNoTrumps, 1, {"AD", "7D", "8D"});
    ASSERT_EQ(s.toPlay, 0);
    CCardSearch search;
    SearchState result = s;
    search.SearchTrick(s, &result, 9);
    EXPECT_EQ(result.chosenCard, Tr("QD"));
}

TEST(TieRuleTest, RicherCardWhenTheTrickGoesToOurSide) {
    const std::string hands[4] = {"KD QD", "7S", "AS", "8S"};
    SearchState s = Position(hands, kNoTrumps, 1, {"7D", "AD", "8D"});
    ASSERT_EQ(s.toPlay, 0);
    CCardSearch search;
    SearchState result = s;
    search.SearchTrick(s, &result, 9);
    EXPECT_EQ(result.chosenCard, Tr("KD"));
}

TEST(InitSearchTest, PlayFormLoadsTheTrickAndTheDepthLimit) {
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
    EXPECT_EQ(s.count, 2);
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

TEST(PlayOutTest, SameDealSameChoices) {
    std::mt19937_64 rng(12345);
    for (int deal = 0; deal < 5; ++deal) {
        uint32_t hands[4];
        CDealSimulator::DealHands(rng, hands);
        const int trump = deal % 5;
        PlayedDeal first = CDealSimulator::PlayOut(hands, trump, deal & 3);
        PlayedDeal second = CDealSimulator::PlayOut(hands, trump, deal & 3);
        ASSERT_EQ(first.cards.size(), 32u);
        EXPECT_EQ(first.cards, second.cards);
        EXPECT_EQ(first.cardPoints[0], second.cardPoints[0]);
    }
}

TEST(PlayOutTest, EveryCardOnceAndPointsAddUp) {
    std::mt19937_64 rng(777);
    for (int deal = 0; deal < 10; ++deal) {
        uint32_t hands[4];
        CDealSimulator::DealHands(rng, hands);
        PlayedDeal d = CDealSimulator::PlayOut(hands, deal % 5, 1);
        ASSERT_EQ(d.cards.size(), 32u);
        uint32_t seen = 0;
        for (int code : d.cards)
            seen |= search_bits::NatOf(code);
        EXPECT_EQ(seen, 0xFFFFFFFFu);
        EXPECT_EQ(d.tricks[0] + d.tricks[1], 8);
        if (d.tricks[0] > 0 && d.tricks[1] > 0)
            EXPECT_EQ(d.cardPoints[0] + d.cardPoints[1], 162);
        else
            EXPECT_EQ(d.cardPoints[0] + d.cardPoints[1], 250);
    }
}

TEST(PlayOutTest, SearchFromTheStartNeverPlaysAnIllegalCard) {
    std::mt19937_64 rng(4242);
    uint32_t hands[4];
    CDealSimulator::DealHands(rng, hands);
    PlayedDeal d = CDealSimulator::PlayOut(hands, kHearts, 0);
    // Replay the cards and check each against the legal set of its position.
    uint32_t h[4] = {hands[0], hands[1], hands[2], hands[3]};
    TrickStart trick;
    trick.trump = kHearts;
    trick.leader = 0;
    CCardSearch search;
    for (int code : d.cards) {
        SearchState s;
        search.InitSearch(s, h, trick);
        uint32_t legal = LegalCards(s, search_bits::NatToTrump(h[s.toPlay]));
        ASSERT_TRUE(legal & search_bits::NatToTrump(search_bits::NatOf(code)));
        h[s.toPlay] &= ~search_bits::NatOf(code);
        trick.codes[trick.count++] = code;
        ++trick.cardsPlayed;
        if (trick.count == 4) {
            int winner = trick.leader;
            uint16_t best = search_bits::PackNatural(search_bits::NatOf(trick.codes[0]));
            for (int i = 1; i < 4; ++i) {
                uint16_t c = search_bits::PackNatural(search_bits::NatOf(trick.codes[i]));
                if (BeatsCard(c, best, kHearts)) {
                    best = c;
                    winner = (trick.leader + i) & 3;
                }
            }
            trick.leader = winner;
            trick.count = 0;
        }
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
        PlayedDeal full = CDealSimulator::PlayOut(hands, deal % 5, deal & 3);
        // Replay the deal and compare both searches at every position on the way.
        uint32_t h[4] = {hands[0], hands[1], hands[2], hands[3]};
        TrickStart trick;
        trick.trump = deal % 5;
        trick.leader = deal & 3;
        for (int code : full.cards) {
            CCardSearch cut, plain;
            plain.SetCutoffs(false);
            SearchState a, b;
            const int limit = cut.InitSearch(a, h, trick);
            plain.InitSearch(b, h, trick);
            cut.SetPerspective(a.toPlay);
            plain.SetPerspective(b.toPlay);
            SearchState ra = a, rb = b;
            const int va = cut.SearchTrick(a, &ra, limit);
            const int vb = plain.SearchTrick(b, &rb, limit);
            ASSERT_EQ(va, vb);
            ASSERT_EQ(ra.chosenCard, rb.chosenCard);
            ASSERT_EQ(ra.trickPoints, rb.trickPoints);
            ASSERT_EQ(ra.lastWinner, rb.lastWinner);
            EXPECT_LE(cut.Nodes(), plain.Nodes());
            ++compared;

            // As the bid evaluation searches: place 0's view, no shortcut.
            CCardSearch cut0, plain0;
            plain0.SetCutoffs(false);
            SearchState c = a, d = b;
            cut0.InitSearch(c, h, trick);
            plain0.InitSearch(d, h, trick);
            cut0.SetShortcut(false);
            plain0.SetShortcut(false);
            SearchState rc = c, rd = d;
            ASSERT_EQ(cut0.SearchTrick(c, &rc, limit), plain0.SearchTrick(d, &rd, limit));
            ASSERT_EQ(rc.chosenCard, rd.chosenCard);
            ASSERT_EQ(rc.trickPoints, rd.trickPoints);

            const int place = a.toPlay;
            h[place] &= ~search_bits::NatOf(code);
            trick.codes[trick.count++] = code;
            ++trick.cardsPlayed;
            if (trick.count == 4) {
                int winner = trick.leader;
                uint16_t best = search_bits::PackNatural(search_bits::NatOf(trick.codes[0]));
                for (int i = 1; i < 4; ++i) {
                    uint16_t c = search_bits::PackNatural(search_bits::NatOf(trick.codes[i]));
                    if (BeatsCard(c, best, trick.trump)) {
                        best = c;
                        winner = (trick.leader + i) & 3;
                    }
                }
                trick.leader = winner;
                trick.count = 0;
            }
        }
    }
    EXPECT_EQ(compared, 40 * 32);
}
