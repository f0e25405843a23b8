// The classic computer player must not change: its values, chosen cards and the
// positions after the trick, in card play and in the bid evaluation, are compared
// with a record made by the search as it was before the transposition table and
// the cheaper nodes. Set VESK_WRITE_CLASSIC_RECORD to a path to write the record
// from the code under test instead (only ever from the old search).
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ai/CBidEvaluator.h"
#include "ai/CCardSearch.h"
#include "ai/CDealSimulator.h"
#include "ai/CardPruning.h"
#include "ai/SearchBits.h"

namespace {

// The record holds 48 deals; an unoptimised (sanitizer) build compares the first 16.
#ifdef NDEBUG
constexpr int kDeals = 48;
#else
constexpr int kDeals = 16;
#endif
constexpr uint64_t kSeed = 4711;

std::string Line(const SearchState& r, int value) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%d %08x %d %d", value, r.chosenCard, r.trickPoints,
                  r.lastWinner);
    return buf;
}

// One line per position of a classic play-out (the mover's search as in card
// play, then place 0's without the shortcut as in the bid evaluation), then one
// line with the deal's estimate tables.
std::vector<std::string> RecordDeal(const uint32_t hands[4], int trump, int leader, int dealer) {
    std::vector<std::string> lines;
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
            line += (bidding ? " " : "") + Line(r, v);
        }
        lines.push_back(line);
        const uint32_t nat = search_bits::TrumpToNat(played);
        if (nat == 0 || (nat & (nat - 1)) != 0) break;
        const int pos = std::countr_zero(nat) & 7, suit = std::countr_zero(nat) >> 3;
        const int code = pos == 7 ? suit : 24 + pos * 4 + suit;
        h[place] &= ~nat;
        trick.codes[trick.count++] = code;
        ++trick.cardsPlayed;
        if (trick.count == 4) {
            int winner = trick.leader;
            uint16_t best = search_bits::PackNatural(search_bits::NatOf(trick.codes[0]));
            for (int i = 1; i < 4; ++i) {
                const uint16_t c = search_bits::PackNatural(search_bits::NatOf(trick.codes[i]));
                if (BeatsCard(c, best, trump)) {
                    best = c;
                    winner = (trick.leader + i) & 3;
                }
            }
            trick.leader = winner;
            trick.count = 0;
        }
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
    return lines;
}

std::vector<std::string> RecordAll() {
    std::vector<std::string> lines;
    std::mt19937_64 rng(kSeed);
    for (int d = 0; d < kDeals; ++d) {
        uint32_t hands[4];
        CDealSimulator::DealHands(rng, hands);
        lines.push_back("deal " + std::to_string(d));
        for (std::string& l : RecordDeal(hands, d % 5, d & 3, (d + 1) & 3))
            lines.push_back(std::move(l));
    }
    return lines;
}

} // namespace

TEST(ClassicIdentityTest, SearchAndBidEvaluationMatchTheRecord) {
    const std::vector<std::string> now = RecordAll();
    if (const char* out = std::getenv("VESK_WRITE_CLASSIC_RECORD")) {
        std::ofstream file(out);
        for (const std::string& l : now)
            file << l << '\n';
        GTEST_SKIP() << "record written to " << out;
    }
    std::ifstream file(VESK_AI_TEST_DATA "/classic_record.txt");
    ASSERT_TRUE(file) << "missing record";
    std::vector<std::string> recorded;
    for (std::string l; std::getline(file, l);)
        recorded.push_back(l);
    ASSERT_GE(recorded.size(), now.size());
    int positions = 0;
    for (size_t i = 0; i < now.size(); ++i) {
        ASSERT_EQ(now[i], recorded[i]) << "line " << i + 1;
        positions += now[i][0] != 'd' && now[i][0] != 'E';
    }
    EXPECT_EQ(positions, kDeals * 32);
}
