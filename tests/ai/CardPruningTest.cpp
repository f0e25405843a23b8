// The candidate rules of the card-play search on hand-built positions.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "ai/CardPruning.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

// One rule applied to candidates: 'R' the run reduction, 'P' the pruning of the mover's
// legal cards. `hands`: the four hands by place, split by '/'; `play`: the trump (C D H
// S, N for none) and the leader, 'e' when early in the deal, then the trick's cards.
struct PruneCase {
    char rule;
    const char *name, *hands, *play, *candidates, *expected;
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

TEST(PruningTest, RunReductionAndPruning) {
    const PruneCase cases[] = {
        {'R', "top trump run: its lowest", "JH 9H AH 7C/8H QH 8C/KH TH 9C/7H TC", "H0", "JH 9H AH",
         "AH"},
        {'R', "low plain cards: the eight", "7S 8S 9S/JS/QS/KS", "H0", "8S 9S", "8S"},
        {'R', "a run of three keeps its ends", "7S 8S 9S/JS/QS/KS", "H0", "7S 8S 9S", "7S 9S"},
        {'P', "two cards are never pruned", "7S 8S///", "H1 AS 9S KS", "7S 8S", "7S 8S"},
        {'P', "second hand low when neither partner beats",
         "7S QS 8D 9C KC/AS 7D 8C 9D TD/8S 7C JD QD KD/9S TS JS QC", "H3 AS", "7S QS", "7S"},
        {'P', "second hand keeps its choice with four cards",
         "7S QS 8D 9C/AS 7D 8C 9D/8S 7C JD QD/9S TS", "H3 AS", "7S QS", "7S QS"},
        {'P', "fourth hand that cannot beat plays low", "7S 8S QS///", "H1 AS 9S KS", "7S 8S QS",
         "7S"},
        {'P', "nobody else holds trumps: no trump lead", "JH 9H 7C AC 8D/7D TD/8C 9C/KD QD", "H0",
         "JH 9H 7C AC 8D", "7C AC 8D"},
        {'P', "jack and nine lead trumps", "JH 9H AH 7C 8D/7H 7D/TH 8C/8H KD", "H0",
         "JH 9H AH 7C 8D", "JH 9H AH"},
        {'P', "the top of the best master suit", "AS TS KS 7C 8D/7S 9C/8S JD/9S QD", "N0",
         "AS TS KS 7C 8D", "AS"},
        {'P', "master suits: both opponents void first", "AC AS 7D/7C 8D/9D 7S/8C TD", "N0",
         "AC AS 7D", "AS"},
        {'P', "master suits: the longer one staying on top", "AC KC AS KS 7S/8C 9S/7D/9C 8S", "N0",
         "AC KC AS KS 7S", "AS"},
        {'P', "master suits: a tie goes to the first suit", "AC AS 7D/7C 7S/9D TD/8C 8S", "N0",
         "AC AS 7D", "AC"},
        {'P', "early: lowest and highest per suit", "JH 9H 7C 9C AC 8D/7D TD/8C/KD QD", "H0e",
         "JH 9H 7C 9C AC 8D", "7C AC 8D"},
    };
    for (const PruneCase& c : cases) {
        SCOPED_TRACE(c.name);
        SearchState s = PositionOf(c);
        const uint32_t hand = s.hands[s.toPlay], candidates = Tr(c.candidates);
        if (c.rule == 'R') {
            EXPECT_EQ(ReduceRuns(s, candidates), Tr(c.expected));
            continue;
        }
        EXPECT_EQ(LegalCards(s, search_bits::NatToTrump(hand)), candidates) << "legal cards";
        const int seen = s.count ? 3 : -1;
        EXPECT_EQ(Prune(s, candidates, seen, search_bits::Count32(hand)), Tr(c.expected));
    }
    EXPECT_EQ(LowAndHighPerSuit(Tr("7C 8C 9C AC JH 9H 7H"), 2), Tr("7C AC JH 7H"));
}
