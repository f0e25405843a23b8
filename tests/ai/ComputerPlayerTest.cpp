// The computer's card play from the game state: the card it sends and when it
// sends nothing, what the fair player may see, and the search's legal cards
// against the table pile's own check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "ai/CCardSearch.h"
#include "ai/CComputerPlayer.h"
#include "ai/CSeatKnowledge.h"
#include "ai/GameCommands.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/GameState.h"
#include "tests/ai/AiTestSupport.h"
#include "tests/rules/RulesFixture.h"

using namespace aitest;

namespace {

int g_beeps = 0;

const std::string kDeal[4] = {"JH 9H AH 7C AC 8D KD QS", "7H 8H TC JC 7D 9D 7S 8S",
                              "QH KH 8C 9C TD JD 9S TS", "TH QC KC QD AD JS KS AS"};

// The rules' table of four (user p at place p), hearts trumps, the game running.
class ComputerPlayerTest : public RulesTable {
protected:
    void SetUp() override {
        RulesTable::SetUp();
        g_beeps = 0;
        CComputerPlayer::SetBeepHook([] { ++g_beeps; });
        SetContract(8, kHeart, 3);
    }
    void TearDown() override {
        CComputerPlayer::SetBeepHook(nullptr);
        CComputerPlayer::SetFair(false);
        RulesTable::TearDown();
    }
    static void Deal(const std::string cards[4]) {
        for (CPlayerHand* hand : g_pHand)
            hand->Clear();
        g_pTable->ResetTricks();
        g_pDeck->ReturnDealt();
        for (int p = 0; p < 4; ++p)
            for (int code : DeckCodes())
                if (Nat(cards[p]) & NatOf(code)) Give(p, {code});
    }
    static void Play(int place, const char* card) { g_pTable->PlayCard(place, Code(card)); }

    CaptureSender sender;
};

} // namespace

TEST_F(ComputerPlayerTest, SendsAHeldLegalCardWhileTheGameRunsOrBeepsWithoutOne) {
    CComputerPlayer player(sender);
    EXPECT_EQ(player.PlayTurn(0), -1);
    EXPECT_EQ(player.PlayTurn(7), -1);
    EXPECT_EQ(g_beeps, 2);
    EXPECT_TRUE(sender.sent.empty());
    Deal(kDeal);
    const int lead = player.PlayTurn(0);
    EXPECT_NE(g_pHand[0]->FindSlot(lead), -1);
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(sender.sent[0].text[0]), lead + 1);

    const std::string only[4] = {"AS 8D", "7S KD", "", ""};
    Deal(only);
    Play(0, "AS");
    sender.sent.clear();
    EXPECT_EQ(player.PlayTurn(1), Code("7S")) << "the only legal card";
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].cmd, CMD_PLAY_CARD);
    EXPECT_EQ(sender.sent[0].text, std::string(1, static_cast<char>(Code("7S") + 1)));
    EXPECT_EQ(sender.sent[0].from, 1) << "the user at place 1";
    EXPECT_EQ(g_bComputerSearch.load(), 0);
    g_bGameRunning = 0;
    EXPECT_EQ(player.PlayTurn(1), Code("7S"));
    EXPECT_EQ(sender.sent.size(), 1u) << "nothing is sent when the game is not running";
}

// The fair player never reads a hidden card: two game states that differ only
// in cards place 0 cannot see give it the same knowledge and, with the same
// seed, the same card.
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

// The search's legal cards, from the position as the computer player loads it from
// the table, agree with the table pile on random deals played out legally.
TEST_F(ComputerPlayerTest, LegalCardsAgreeWithTheTablePileOnRandomDeals) {
    const char* env = std::getenv("VESK_SEED");
    std::mt19937 rng(env ? static_cast<uint32_t>(std::strtoul(env, nullptr, 10)) : 12345u);
    std::vector<int> codes = DeckCodes();
    int compared = 0;
    for (int deal = 0; deal < 150; ++deal) {
        std::shuffle(codes.begin(), codes.end(), rng);
        const int trump = static_cast<int>(rng() % 5);
        g_contract.trump = trump;
        for (CPlayerHand* hand : g_pHand)
            hand->Clear();
        g_pTable->ResetTricks();
        g_pDeck->ReturnDealt();
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
            for (int i = 0; i < trick.count; ++i)
                trick.codes[i] = table.TrickCard(table.m_nCurTrick, i);
            SearchState s;
            search.InitSearch(s, nat, trick);
            ASSERT_EQ(s.toPlay, turn);
            CPlayerHand* hand = g_pHand[turn];
            const uint32_t legal = LegalCards(s, hand->m_trumpSet);
            std::vector<int> legalCodes;
            for (int slot = 0; slot < 52; ++slot) {
                const CCard* card = hand->CardAt(slot);
                if (!card) continue;
                const bool rule = g_pTable->IsLegalCard(hand, slot) == 1;
                ASSERT_EQ(rule, (legal & card->m_trumpSet) != 0)
                    << "deal " << deal << " card " << card->m_nCode << " trump " << trump;
                if (rule) legalCodes.push_back(card->m_nCode);
                ++compared;
            }
            ASSERT_FALSE(legalCodes.empty());
            g_pTable->PlayCard(turn, legalCodes[rng() % legalCodes.size()]);
            turn = g_contract.turn;
        }
    }
    EXPECT_GT(compared, 10000);
}
