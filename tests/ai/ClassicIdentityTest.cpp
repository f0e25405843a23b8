// The classic computer player must not change: its values, chosen cards and positions
// in card play and in the bid evaluation are compared with a record made earlier.
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ai/CBidEvaluator.h"
#include "ai/CCardSearch.h"
#include "ai/CDealSimulator.h"
#include "tests/ai/AiTestSupport.h"

namespace {

// The record holds 48 deals; an unoptimised (sanitizer) build compares the first 16.
#ifdef NDEBUG
constexpr int kDeals = 48;
#else
constexpr int kDeals = 16;
#endif

// One line per position of a classic play-out (the mover's search as in card
// play, then place 0's without the shortcut as in the bid evaluation), then one
// line with the deal's estimate tables.
void RecordDeal(const uint32_t hands[4], int trump, int leader, int dealer,
                std::vector<std::string>& lines) {
    uint32_t h[4] = {hands[0], hands[1], hands[2], hands[3]};
    TrickStart trick;
    trick.trump = trump;
    trick.leader = leader;
    for (int n = 0; n < 32; ++n) {
        std::string line;
        uint32_t played = 0;
        int place = -1;
        for (bool bidding : {false, true}) {
            CCardSearch search;
            SearchState s;
            const int limit = search.InitSearch(s, h, trick);
            place = s.toPlay;
            if (bidding)
                search.SetShortcut(false);
            else
                search.SetPerspective(s.toPlay);
            SearchState r = s;
            r.chosenCard = 0;
            const int v = search.SearchTrick(s, &r, limit);
            if (!bidding) played = r.chosenCard;
            char buf[64];
            std::snprintf(buf, sizeof buf, "%s%d %08x %d %d", bidding ? " " : "", v, r.chosenCard,
                          r.trickPoints, r.lastWinner);
            line += buf;
        }
        lines.push_back(line);
        const uint32_t nat = search_bits::TrumpToNat(played);
        if (nat == 0 || (nat & (nat - 1)) != 0) break;
        const int bit = std::countr_zero(nat), pos = bit & 7, suit = bit >> 3;
        aitest::Advance(trick, h, place, pos == 7 ? suit : 24 + pos * 4 + suit);
    }
    std::atomic<int> flag{0};
    CBidEvaluator eval(&CBidEvaluator::RulesDeclarations, flag, nullptr, nullptr);
    eval.StartEvaluation(hands, dealer, false);
    std::ostringstream e;
    e << "E";
    for (int p = 0; p < 4; ++p) {
        for (int t = 0; t < 5; ++t)
            e << ' ' << eval.OwnEstimate[p][t] << ' ' << eval.OpponentEstimate[p][t];
        e << ' ' << eval.BestTrump[p];
    }
    lines.push_back(e.str());
}

} // namespace

TEST(ClassicIdentityTest, SearchAndBidEvaluationMatchTheRecord) {
    std::vector<std::string> now;
    std::mt19937_64 rng(4711);
    for (int d = 0; d < kDeals; ++d) {
        uint32_t hands[4];
        CDealSimulator::DealHands(rng, hands);
        now.push_back("deal " + std::to_string(d));
        RecordDeal(hands, d % 5, d & 3, (d + 1) & 3, now);
    }
    std::ifstream file(VESK_AI_TEST_DATA "/classic_record.txt");
    ASSERT_TRUE(file) << "missing record";
    int positions = 0;
    std::string recorded;
    for (size_t i = 0; i < now.size(); ++i) {
        ASSERT_TRUE(std::getline(file, recorded)) << "record ends at line " << i + 1;
        ASSERT_EQ(now[i], recorded) << "line " << i + 1;
        positions += now[i][0] != 'd' && now[i][0] != 'E';
    }
    EXPECT_EQ(positions, kDeals * 32);
}
