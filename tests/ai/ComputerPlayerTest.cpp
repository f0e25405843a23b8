// The computer's card play from the game state: what the fair player may see, and
// which cards are legal by the table pile, the search and the rules in words.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ai/CCardSearch.h"
#include "ai/CComputerPlayer.h"
#include "ai/CSeatKnowledge.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/GameState.h"
#include "tests/ai/AiTestSupport.h"
#include "tests/rules/RulesFixture.h"

using namespace aitest;

namespace {

const std::string kDeal[4] = {"JH 9H AH 7C AC 8D KD QS", "7H 8H TC JC 7D 9D 7S 8S",
                              "QH KH 8C 9C TD JD 9S TS", "TH QC KC QD AD JS KS AS"};

// The rules' table of four (user p at place p), hearts trumps, the game running.
class ComputerPlayerTest : public RulesTable {
protected:
    void SetUp() override {
        RulesTable::SetUp();
        CComputerPlayer::SetBeepHook([] {});
        SetContract(8, kHeart, 3);
    }
    void TearDown() override {
        CComputerPlayer::SetBeepHook(nullptr);
        CComputerPlayer::SetFair(false);
        RulesTable::TearDown();
    }
    static void Deal(const std::string cards[4]) {
        ClearTable();
        for (int p = 0; p < 4; ++p)
            for (int code : DeckCodes())
                if (Nat(cards[p]) & NatOf(code)) Give(p, {code});
    }
    static void Play(int place, const char* card) { g_pTable->PlayCard(place, Code(card)); }

    CaptureSender sender;
};

} // namespace

// The fair player never reads a hidden card: game states that differ only in cards
// place 0 cannot see give the same knowledge and, with the same seed, the same card.
TEST_F(ComputerPlayerTest, FairPlayerHiddenCardsDoNotChangeTheChoice) {
    CComputerPlayer::SetFair(true);
    // Places 1 and 2 swap hidden cards of the same suits; place 3 its unplayed ones with 1.
    const std::string other[4] = {kDeal[0], "7H KH TC 9C 7D TD 7S 9S", "QH 8H 8C JC 9D JD 8S TS",
                                  kDeal[3]};
    int chosen[2] = {-1, -1};
    uint32_t excluded[2] = {0, 0}, gone[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        Deal(i == 0 ? kDeal : other);
        g_declare[3].shown = 1;
        g_pHand[3]->m_selSet = Nat("JS KS");
        // Trick 1: place 1 leads the seven of diamonds; 2 follows, 3 wins with the ace.
        // Trick 2: place 3 leads the queen of clubs; place 0 chooses a club.
        for (auto [place, card] : {std::pair{1, "7D"}, {2, "JD"}, {3, "AD"}, {0, "8D"}, {3, "QC"}})
            Play(place, card);
        g_contract.turn = 0;
        const CSeatKnowledge k = CComputerPlayer::SeatKnowledge(0);
        excluded[i] = k.Excluded(1) | k.Excluded(2) | k.Excluded(3);
        gone[i] = k.Gone();
        EXPECT_EQ(k.Known(3), Nat("JS KS"));
        EXPECT_EQ(k.OwnHand(), Nat("JH 9H AH 7C AC KD QS"));
        CComputerPlayer::SeedFair(42);
        CComputerPlayer player(sender);
        chosen[i] = player.PlayTurn(0);
    }
    EXPECT_EQ(excluded[0], excluded[1]);
    EXPECT_EQ(gone[0], gone[1]);
    EXPECT_EQ(chosen[0], chosen[1]);
    EXPECT_TRUE(chosen[0] == Code("7C") || chosen[0] == Code("AC")) << chosen[0];
}

namespace {

// Strength within a suit by rank index (0 ace, 6 seven .. 12 king).
const int kPlainStrength[13] = {7, 0, 0, 0, 0, 0, 0, 1, 2, 6, 3, 4, 5};
const int kTrumpStrength[13] = {5, 0, 0, 0, 0, 0, 0, 1, 6, 4, 7, 2, 3};

// The rules in words: follow the led suit; unable to, trump (over a winning trump if
// possible) when the opponents hold the trick, else play anything. On a trump lead a
// higher trump than the winning one is due, even over the partner, else any trump.
bool Expected(const std::vector<int>& hand, int card, const std::vector<int>& trick, int leader,
              int mover, int trump) {
    if (trick.empty()) return true;
    const int led = trick[0] % 4;
    auto isTrump = [&](int c) { return trump < 4 && c % 4 == trump; };
    int best = 0;
    for (size_t i = 1; i < trick.size(); ++i) {
        const int w = trick[best], c = trick[i];
        if (isTrump(c) && (!isTrump(w) || kTrumpStrength[c / 4] > kTrumpStrength[w / 4]))
            best = static_cast<int>(i);
        if (!isTrump(c) && !isTrump(w) && c % 4 == w % 4 &&
            kPlainStrength[c / 4] > kPlainStrength[w / 4])
            best = static_cast<int>(i);
    }
    const int winCard = trick[best];
    const int winner = (leader + best) % 4;
    auto any = [&](auto pred) { return std::any_of(hand.begin(), hand.end(), pred); };
    auto overTrumps = [&](int c) {
        return isTrump(c) &&
               (!isTrump(winCard) || kTrumpStrength[c / 4] > kTrumpStrength[winCard / 4]);
    };
    if (trump < 4 && led == trump) {
        if (any(overTrumps)) return overTrumps(card);
        return !any(isTrump) || isTrump(card);
    }
    if (any([&](int c) { return c % 4 == led; })) return card % 4 == led;
    if (trump == 4 || winner % 2 == mover % 2) return true;
    if (isTrump(winCard)) return !any(overTrumps) || overTrumps(card);
    return !any(isTrump) || isTrump(card);
}

} // namespace

// Which card may be played, on random deals played out legally: the table pile's
// check agrees with the rules in words and with the search's legal cards from the
// position as the computer player loads it from the table.
TEST_F(ComputerPlayerTest, LegalCardsAgreeWithTheRulesOnRandomDeals) {
    std::mt19937 rng(12345);
    std::vector<int> codes = DeckCodes();
    int compared = 0, refused = 0;
    for (int deal = 0; deal < 200; ++deal) {
        std::shuffle(codes.begin(), codes.end(), rng);
        const int trump = static_cast<int>(rng() % 5);
        SetContract(8, trump, static_cast<int>(rng() % 4));
        ClearTable();
        for (int i = 0; i < 32; ++i)
            Give(i / 8, {codes[i]});
        int turn = static_cast<int>(rng() % 4);
        CCardSearch search;
        for (int played = 0; played < 32; ++played) {
            uint32_t nat[4];
            for (int p = 0; p < 4; ++p)
                nat[p] = g_pHand[p]->m_natSet;
            TrickStart trick;
            trick.trump = trump;
            const CTrickPile& table = *g_pTable;
            trick.cardsPlayed = table.Count();
            trick.count = table.CardsInCurrentTrick();
            trick.leader = trick.count ? table.CurrentTrickInfo().leader : turn;
            std::vector<int> onTrick, held;
            for (int i = 0; i < trick.count; ++i)
                onTrick.push_back(trick.codes[i] = table.TrickCard(table.m_nCurTrick, i));
            SearchState s;
            search.InitSearch(s, nat, trick);
            ASSERT_EQ(s.toPlay, turn);
            CPlayerHand* hand = g_pHand[turn];
            for (int slot = 0; slot < 52; ++slot)
                if (const CCard* card = hand->CardAt(slot)) held.push_back(card->m_nCode);
            const uint32_t legal = LegalCards(s, hand->m_trumpSet);
            std::vector<int> legalCodes;
            for (int code : held) {
                const int slot = hand->FindSlot(code);
                const bool rule = g_pTable->IsLegalCard(hand, slot) == 1;
                ASSERT_EQ(rule, Expected(held, code, onTrick, trick.leader, turn, trump))
                    << "deal " << deal << " card " << code << " trump " << trump;
                ASSERT_EQ(rule, (legal & hand->CardAt(slot)->m_trumpSet) != 0)
                    << "deal " << deal << " card " << code << " trump " << trump;
                if (rule) legalCodes.push_back(code);
                refused += !rule;
                ++compared;
            }
            ASSERT_FALSE(legalCodes.empty());
            g_pTable->PlayCard(turn, legalCodes[rng() % legalCodes.size()]);
            turn = g_contract.turn;
        }
    }
    EXPECT_GT(compared, 10000);
    EXPECT_GT(refused, 1000);
    const char* why = nullptr;
    EXPECT_EQ(g_pTable->IsLegalCard(g_pHand[0], 40, &why), 0) << "an empty slot";
    EXPECT_EQ(g_pTable->IsLegalCard(nullptr, 0, &why), 0);
}
