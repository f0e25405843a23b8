// The legal-card rule on card sets against the table pile's own check, and the
// candidate rules of the card-play search on hand-built positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <sstream>
#include <vector>

#include "ai/CCardSearch.h"
#include "ai/CardPruning.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/GameState.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

namespace {

constexpr int kHearts = 2;

uint32_t Seed() {
    const char* env = std::getenv("VESK_SEED");
    return env ? static_cast<uint32_t>(std::strtoul(env, nullptr, 10)) : 12345u;
}

} // namespace

TEST(LegalCardsTest, AgreesWithTheTablePileOnRandomDeals) {
    std::mt19937 rng(Seed());
    std::vector<int> codes = {0, 1, 2, 3};
    for (int c = 24; c < 52; ++c)
        codes.push_back(c);
    int compared = 0;
    for (int deal = 0; deal < 150; ++deal) {
        std::shuffle(codes.begin(), codes.end(), rng);
        const int trump = static_cast<int>(rng() % 5);
        g_contract.trump = trump;
        CTrickPile table(4, 8);
        std::vector<std::unique_ptr<CPlayerHand>> hands;
        for (int p = 0; p < 4; ++p) {
            hands.push_back(std::make_unique<CPlayerHand>(0xFFFF, 8));
            hands[p]->m_nPlace = p;
            g_pHand[p] = hands[p].get();
            for (int i = 0; i < 8; ++i)
                hands[p]->Add(new CCard(codes[p * 8 + i]));
        }
        g_pTable = &table;
        int turn = static_cast<int>(rng() % 4);
        CCardSearch search;
        for (int played = 0; played < 32; ++played) {
            // The position as the computer player loads it from the table.
            uint32_t nat[4];
            for (int p = 0; p < 4; ++p)
                nat[p] = hands[p]->m_natSet;
            TrickStart trick;
            trick.trump = trump;
            trick.cardsPlayed = table.Count();
            trick.count = table.CardsInCurrentTrick();
            trick.leader = trick.count ? table.CurrentTrickInfo().leader : turn;
            for (int i = 0; i < trick.count; ++i)
                trick.codes[i] = table.TrickCard(table.m_nCurTrick, i);
            SearchState s;
            search.InitSearch(s, nat, trick);
            ASSERT_EQ(s.toPlay, turn);
            const uint32_t legal = LegalCards(s, hands[turn]->m_trumpSet);
            std::vector<int> legalCodes;
            for (int slot = 0; slot < 52; ++slot) {
                const CCard* card = hands[turn]->CardAt(slot);
                if (!card) continue;
                const bool rule = table.IsLegalCard(hands[turn].get(), slot) == 1;
                ASSERT_EQ(rule, (legal & card->m_trumpSet) != 0)
                    << "deal " << deal << " card " << card->m_nCode << " trump " << trump;
                if (rule) legalCodes.push_back(card->m_nCode);
                ++compared;
            }
            ASSERT_FALSE(legalCodes.empty());
            table.PlayCard(turn, legalCodes[rng() % legalCodes.size()]);
            turn = g_contract.turn;
        }
        for (auto& h : g_pHand)
            h = nullptr;
        g_pTable = nullptr;
    }
    EXPECT_GT(compared, 10000);
}

// One rule applied to candidates in a hand-built position. `hands` lists the four
// hands by place, split by '/'; `play` is the trump (C D H S, N for none) and the
// leader, 'e' when early in the deal, then the cards already on the trick.
struct PruneCase {
    const char* name;
    const char* hands;
    const char* play;
    const char* candidates;
    const char* expected;
};

SearchState PositionOf(const PruneCase& c) {
    std::string hands[4];
    std::istringstream split(c.hands);
    for (auto& hand : hands)
        std::getline(split, hand, '/');
    std::istringstream play(c.play);
    std::string head, card;
    play >> head;
    std::vector<std::string> trick;
    while (play >> card)
        trick.push_back(card);
    const int trump = static_cast<int>(std::string("CDHSN").find(head[0]));
    return Position(hands, trump, head[1] - '0', trick, head.size() > 2 ? 1 : 0);
}

void Check(const PruneCase& c, const std::function<uint32_t(SearchState&, uint32_t)>& rule) {
    SearchState s = PositionOf(c);
    EXPECT_EQ(rule(s, Tr(c.candidates)), Tr(c.expected)) << c.name;
}

TEST(PruningTest, RunReduction) {
    const PruneCase cases[] = {
        {"top trump run: its lowest", "JH 9H AH 7C/8H QH 8C/KH TH 9C/7H TC", "H0", "JH 9H AH",
         "AH"},
        {"low plain cards: the eight", "7S 8S 9S/JS/QS/KS", "H0", "8S 9S", "8S"},
        {"a run of three keeps its ends", "7S 8S 9S/JS/QS/KS", "H0", "7S 8S 9S", "7S 9S"},
    };
    for (const PruneCase& c : cases)
        Check(c, [](SearchState& s, uint32_t set) { return ReduceRuns(s, set); });
}

TEST(PruningTest, PruneFollowingAndLeading) {
    // The candidates are the mover's legal cards.
    const PruneCase cases[] = {
        {"two cards are never pruned", "7S 8S///", "H1 AS 9S KS", "7S 8S", "7S 8S"},
        {"second hand low when neither partner beats",
         "7S QS 8D 9C KC/AS 7D 8C 9D TD/8S 7C JD QD KD/9S TS JS QC", "H3 AS", "7S QS", "7S"},
        {"second hand keeps its choice with four cards",
         "7S QS 8D 9C/AS 7D 8C 9D/8S 7C JD QD/9S TS", "H3 AS", "7S QS", "7S QS"},
        {"fourth hand that cannot beat plays low", "7S 8S QS///", "H1 AS 9S KS", "7S 8S QS", "7S"},
        {"nobody else holds trumps: no trump lead", "JH 9H 7C AC 8D/7D TD/8C 9C/KD QD", "H0",
         "JH 9H 7C AC 8D", "7C AC 8D"},
        {"jack and nine lead trumps", "JH 9H AH 7C 8D/7H 7D/TH 8C/8H KD", "H0", "JH 9H AH 7C 8D",
         "JH 9H AH"},
        {"the top of the best master suit", "AS TS KS 7C 8D/7S 9C/8S JD/9S QD", "N0",
         "AS TS KS 7C 8D", "AS"},
        {"master suits: both opponents void first", "AC AS 7D/7C 8D/9D 7S/8C TD", "N0", "AC AS 7D",
         "AS"},
        {"master suits: the longer one staying on top", "AC KC AS KS 7S/8C 9S/7D/9C 8S", "N0",
         "AC KC AS KS 7S", "AS"},
        {"master suits: a tie goes to the first suit", "AC AS 7D/7C 7S/9D TD/8C 8S", "N0",
         "AC AS 7D", "AC"},
        {"early: lowest and highest per suit", "JH 9H 7C 9C AC 8D/7D TD/8C/KD QD", "H0e",
         "JH 9H 7C 9C AC 8D", "7C AC 8D"},
    };
    for (const PruneCase& c : cases) {
        SearchState probe = PositionOf(c);
        const uint32_t hand = probe.hands[probe.toPlay];
        EXPECT_EQ(LegalCards(probe, search_bits::NatToTrump(hand)), Tr(c.candidates)) << c.name;
        const int count = search_bits::Count32(hand);
        const int seen = probe.count ? 3 : -1;
        Check(c, [&](SearchState& s, uint32_t set) { return Prune(s, set, seen, count); });
    }
    EXPECT_EQ(LowAndHighPerSuit(Tr("7C 8C 9C AC JH 9H 7H"), kHearts), Tr("7C AC JH 7H"));
}
