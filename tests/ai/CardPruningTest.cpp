// The candidate rules of the card-play search on hand-built positions, and the
// legal-card rule on card sets against the table pile's own check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
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
constexpr int kNoTrumps = 4;

uint32_t Seed() {
    const char* env = std::getenv("VESK_SEED");
    return env ? static_cast<uint32_t>(std::strtoul(env, nullptr, 10)) : 12345u;
}

std::vector<int> DeckCodes() {
    std::vector<int> codes;
    for (int c = 0; c < 4; ++c)
        codes.push_back(c);
    for (int c = 24; c < 52; ++c)
        codes.push_back(c);
    return codes;
}

} // namespace

// ---- legal cards against the rules ------------------------------------------------

class LegalCardsTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (auto& h : g_pHand)
            h = nullptr;
        g_pTable = nullptr;
    }
};

TEST_F(LegalCardsTest, AgreesWithTheTablePileOnRandomDeals) {
    std::mt19937 rng(Seed());
    int compared = 0;
    for (int deal = 0; deal < 150; ++deal) {
        std::vector<int> codes = DeckCodes();
        std::shuffle(codes.begin(), codes.end(), rng);
        const int trump = static_cast<int>(rng() % 5);
        g_contract.trump = trump;
        CTrickPile table(4, 8);
        CPlayerHand* hands[4];
        for (int p = 0; p < 4; ++p) {
            hands[p] = new CPlayerHand(0xFFFF, 8);
            hands[p]->m_nPlace = p;
            g_pHand[p] = hands[p];
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
                const bool rule = table.IsLegalCard(hands[turn], slot) == 1;
                const bool mine = (legal & card->m_trumpSet) != 0;
                ASSERT_EQ(rule, mine)
                    << "deal " << deal << " card " << card->m_nCode << " trump " << trump;
                if (rule) legalCodes.push_back(card->m_nCode);
                ++compared;
            }
            ASSERT_FALSE(legalCodes.empty());
            const int code = legalCodes[rng() % legalCodes.size()];
            table.PlayCard(turn, code);
            turn = g_contract.turn;
        }
        for (int p = 0; p < 4; ++p) {
            g_pHand[p] = nullptr;
            delete hands[p];
        }
        g_pTable = nullptr;
    }
    EXPECT_GT(compared, 10000);
}

// ---- run reduction -------------------------------------------------------------------

TEST(RunReductionTest, TopTrumpRunLeavesItsLowestCard) {
    const std::string hands[4] = {"JH 9H AH 7C", "8H QH 8C", "KH TH 9C", "7H TC"};
    SearchState s = Position(hands, kHearts, 0);
    EXPECT_EQ(ReduceRuns(s, Tr("JH 9H AH")), Tr("AH"));
}

TEST(RunReductionTest, SevenAndEightOfTrumpsKeepTheEight) {
    const std::string hands[4] = {"7H 8H", "QH", "KH", "AH"};
    SearchState s = Position(hands, kHearts, 0);
    EXPECT_EQ(ReduceRuns(s, Tr("7H 8H")), Tr("8H"));
}

TEST(RunReductionTest, LowPlainCardsKeepTheEight) {
    const std::string hands[4] = {"7S 8S 9S", "JS", "QS", "KS"};
    SearchState s = Position(hands, kHearts, 0);
    EXPECT_EQ(ReduceRuns(s, Tr("7S 8S")), Tr("8S"));
    EXPECT_EQ(ReduceRuns(s, Tr("8S 9S")), Tr("8S"));
    // A run of three keeps its ends first; 7 and 9 with the 8 still out both stay.
    EXPECT_EQ(ReduceRuns(s, Tr("7S 8S 9S")), Tr("7S 9S"));
}

TEST(RunReductionTest, SevenAndNineWithTheEightGoneKeepTheSeven) {
    // The 8 of spades is in no hand: a run from the seven does not cross it.
    const std::string hands[4] = {"7S 9S", "JS", "QS", "KS"};
    SearchState s = Position(hands, kHearts, 0);
    EXPECT_EQ(ReduceRuns(s, Tr("7S 9S")), Tr("7S"));
}

TEST(RunReductionTest, RunsKeepTheirLowestAndHighestCard) {
    const std::string hands[4] = {"JS QS KS 9D JD QD", "7S 8D", "AS", "TS"};
    SearchState s = Position(hands, kHearts, 0);
    // Plain order 7 8 9 J Q K T A: J Q K is one run.
    EXPECT_EQ(ReduceRuns(s, Tr("JS QS KS")), Tr("JS KS"));
    EXPECT_EQ(ReduceRuns(s, Tr("9D JD QD")), Tr("9D QD"));
}

TEST(RunReductionTest, RunsCrossCardsAlreadyGone) {
    // Queen of spades gone: J, K, T, A of spades form one run.
    const std::string hands[4] = {"JS KS TS AS", "7S", "8S", "9S"};
    SearchState s = Position(hands, kHearts, 0);
    EXPECT_EQ(ReduceRuns(s, Tr("JS KS TS AS")), Tr("JS AS"));
    // With the queen still out, J stands alone and K T A is a run.
    const std::string withQueen[4] = {"JS KS TS AS", "QS", "8S", "9S"};
    SearchState t = Position(withQueen, kHearts, 0);
    EXPECT_EQ(ReduceRuns(t, Tr("JS KS TS AS")), Tr("JS KS AS"));
}

// ---- PlayLow -----------------------------------------------------------------------------

TEST(PlayLowTest, LowestPerSuitNeverALonePlainAce) {
    const std::string hands[4] = {"AC 9H QH KD 8D", "", "", ""};
    SearchState s = Position(hands, kHearts, 0);
    // Trump order puts the queen below the nine; the lone club ace is skipped.
    EXPECT_EQ(PlayLow(s, Tr("AC 9H QH KD 8D")), Tr("QH 8D"));
}

TEST(PlayLowTest, AcesWhenNothingElse) {
    const std::string hands[4] = {"AC AD", "", "", ""};
    SearchState s = Position(hands, kHearts, 0);
    EXPECT_EQ(PlayLow(s, Tr("AC AD")), Tr("AC AD"));
}

TEST(PlayLowTest, TrumpAceIsATrumpLikeAnyOther) {
    const std::string hands[4] = {"AH", "", "", ""};
    SearchState s = Position(hands, kHearts, 0);
    EXPECT_EQ(PlayLow(s, Tr("AH")), Tr("AH"));
}

// ---- FeedPartner -----------------------------------------------------------------------

TEST(FeedPartnerTest, OpponentsHoldingHigherCardsGetTheWholeSuit) {
    // Place 0 third to play; partner (2) led and wins. Left (1) holds the diamond ace.
    const std::string hands[4] = {"TD 7D", "AD 7S", "8S 9S", "KD 8C"};
    SearchState s = Position(hands, kHearts, 2, {"AS", "JS"});
    s.hands[2] = Nat("KD 8C");
    s.hands[3] = Nat("9D 8S");
    s.hands[1] = Nat("AD 7S");
    EXPECT_EQ(FeedPartner(s, Tr("TD 7D")), Tr("TD 7D"));
}

TEST(FeedPartnerTest, SafeSuitGivesTheLowestWhenNobodyTrumps) {
    const std::string hands[4] = {"TD 7D", "8D 7S", "KD 8C", "9D 8S"};
    SearchState s = Position(hands, kHearts, 2, {"AS", "JS"});
    EXPECT_EQ(FeedPartner(s, Tr("TD 7D")), Tr("7D"));
}

TEST(FeedPartnerTest, FallbackOnlyWhenNoOtherSuitQualifies) {
    // Clubs: the left opponent holds the ace, so the king stays a candidate; the
    // diamonds become the fallback and are not needed.
    const std::string hands[4] = {"TD 7D KC", "8D AC", "KD 8C", "9D 8S"};
    SearchState s = Position(hands, kHearts, 2, {"AS", "JS"});
    EXPECT_EQ(FeedPartner(s, Tr("TD 7D KC")), Tr("KC"));
}

TEST(FeedPartnerTest, NoTrumpsKeepsTheHighCardAsFallback) {
    const std::string hands[4] = {"AD KD", "7D 7S", "QD 8C", "8D 8S"};
    SearchState s = Position(hands, kNoTrumps, 2, {"AS", "JS"});
    EXPECT_EQ(FeedPartner(s, Tr("AD KD")), Tr("KD"));
}

TEST(FeedPartnerTest, TrumpCandidatesOnlyComeBackUnchanged) {
    const std::string hands[4] = {"7H 8H", "7D", "8D", "9D"};
    SearchState s = Position(hands, kHearts, 2, {"AS", "JS"});
    EXPECT_EQ(FeedPartner(s, Tr("7H 8H")), Tr("7H 8H"));
}

// ---- Prune: following -----------------------------------------------------------------

TEST(PruneTest, TwoCardsAreNeverPruned) {
    const std::string hands[4] = {"7D AD", "8D", "9D", "KD"};
    SearchState s = Position(hands, kHearts, 3, {"TD"});
    EXPECT_EQ(Prune(s, Tr("7D AD"), 1, 2), Tr("7D AD"));
}

TEST(PruneTest, SecondHandPlaysLowWhenNeitherPartnerCanBeat) {
    // Left of the leader with 5 cards; the spade ace led, no trump anywhere.
    const std::string hands[4] = {"7S QS 8D 9C KC", "AS 7D 8C 9D TD", "8S 7C JD QD KD",
                                  "9S TS JS QC JC"};
    SearchState s = Position(hands, kHearts, 3, {"AS"});
    s.hands[3] = Nat("9S TS JS QC");
    ASSERT_EQ(s.toPlay, 0);
    const uint32_t legal = LegalCards(s, Tr("7S QS 8D 9C KC"));
    EXPECT_EQ(legal, Tr("7S QS"));
    EXPECT_EQ(Prune(s, legal, 3, 5), Tr("7S"));
}

TEST(PruneTest, ThirdHandFeedsPartnerWhenFourthCannotBeat) {
    // Partner (2) led the spade ace; the fourth place (1) holds only low spades.
    const std::string hands[4] = {"TS 7S QD", "8S 9S 7D", "", "JS 8D 9D"};
    SearchState s = Position(hands, kHearts, 2, {"AS", "QS"});
    ASSERT_EQ(s.toPlay, 0);
    const uint32_t legal = LegalCards(s, Tr("TS 7S QD"));
    EXPECT_EQ(Prune(s, legal, 3, 3), FeedPartner(s, legal));
}

TEST(PruneTest, ThirdHandPlaysLowWhenFourthWillTrump) {
    // Fourth place (1) is void in spades and holds trumps above mine.
    const std::string hands[4] = {"TS 7S 7H", "JH 9H 7D", "", "JS 8D 9D"};
    SearchState s = Position(hands, kHearts, 2, {"AS", "QS"});
    const uint32_t legal = LegalCards(s, Tr("TS 7S 7H"));
    EXPECT_EQ(legal, Tr("TS 7S"));
    EXPECT_EQ(Prune(s, legal, 3, 3), PlayLow(s, legal));
    // With a higher trump byte than the fourth place, every legal card.
    s.hands[0] = Nat("TS 7S JH");
    s.hands[1] = Nat("9H 8H 7D");
    EXPECT_EQ(Prune(s, legal, 3, 3), legal);
}

TEST(PruneTest, FourthHandThatCannotBeatOpponentPlaysLow) {
    const std::string hands[4] = {"7S 8S QS", "", "", ""};
    SearchState s = Position(hands, kHearts, 1, {"AS", "9S", "KS"});
    ASSERT_EQ(s.toPlay, 0);
    const uint32_t legal = LegalCards(s, Tr("7S 8S QS"));
    EXPECT_EQ(Prune(s, legal, 3, 3), Tr("7S"));
}

TEST(PruneTest, MoverThatCanBeatKeepsEveryLegalCard) {
    const std::string hands[4] = {"7S AS QS", "", "", ""};
    SearchState s = Position(hands, kHearts, 1, {"TS", "9S", "KS"});
    const uint32_t legal = LegalCards(s, Tr("7S AS QS"));
    EXPECT_EQ(Prune(s, legal, 3, 3), legal);
}

// ---- Prune: leading ---------------------------------------------------------------------

TEST(LeadTest, NobodyElseHoldsTrumpsLeadsNonTrumps) {
    const std::string hands[4] = {"JH 9H 7C AC 8D", "7D TD", "8C 9C", "KD QD"};
    SearchState s = Position(hands, kHearts, 0);
    EXPECT_EQ(Prune(s, Tr("JH 9H 7C AC 8D"), -1, 5), Tr("7C AC 8D"));
}

TEST(LeadTest, HoldingJackAndNineLeadsTrumps) {
    const std::string hands[4] = {"JH 9H AH 7C 8D", "7H 7D", "TH 8C", "8H KD"};
    SearchState s = Position(hands, kHearts, 0);
    EXPECT_EQ(Prune(s, Tr("JH 9H AH 7C 8D"), -1, 5), Tr("JH 9H AH"));
}

TEST(LeadTest, JackAndNineSplitLeadsTrumpsBelowTheHighest) {
    const std::string hands[4] = {"JH AH TH 7C 8D", "7H 7D", "9H 8C", "8H KD"};
    SearchState s = Position(hands, kHearts, 0);
    EXPECT_EQ(Prune(s, Tr("JH AH TH 7C 8D"), -1, 5), Tr("AH TH"));
    // A single trump is led as it is.
    s.hands[0] = Nat("JH 7C 8D");
    EXPECT_EQ(Prune(s, Tr("JH 7C 8D"), -1, 3), Tr("JH"));
}

TEST(LeadTest, OpponentWithMoreTrumpsMeansAPlainLead) {
    const std::string hands[4] = {"JH 7C AC 8D", "7H 8H QH KH", "9H 8C", "TD KD"};
    SearchState s = Position(hands, kHearts, 0);
    // An opponent holds trumps: every card.
    EXPECT_EQ(Prune(s, Tr("JH 7C AC 8D"), -1, 4), Tr("JH 7C AC 8D"));
}

TEST(LeadTest, PlainLeadTakesTheTopOfTheBestMasterSuit) {
    // No trumps: spades are masters and still masters after a round.
    const std::string hands[4] = {"AS TS KS 7C 8D", "7S 9C", "8S JD", "9S QD"};
    SearchState s = Position(hands, kNoTrumps, 0);
    EXPECT_EQ(Prune(s, Tr("AS TS KS 7C 8D"), -1, 5), Tr("AS"));
}

TEST(LeadTest, EarlyInTheDealOnlyLowestAndHighestPerSuit) {
    const std::string hands[4] = {"JH 9H 7C 9C AC 8D", "7D TD", "8C", "KD QD"};
    SearchState s = Position(hands, kHearts, 0, {}, 1);
    EXPECT_EQ(Prune(s, Tr("JH 9H 7C 9C AC 8D"), -1, 6), Tr("7C AC 8D"));
    EXPECT_EQ(LowAndHighPerSuit(Tr("7C 8C 9C AC JH 9H 7H"), kHearts), Tr("7C AC JH 7H"));
}
