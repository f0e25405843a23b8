// The computer's card play from the game state: the card it sends and when it sends nothing.
#include <gtest/gtest.h>

#include "ai/CComputerPlayer.h"
#include "ai/GameCommands.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/GameState.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

namespace {

int g_beeps = 0;

class ComputerPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_beeps = 0;
        CComputerPlayer::SetBeepHook([] { ++g_beeps; });
        for (int p = 0; p < 4; ++p) {
            hands[p] = std::make_unique<CPlayerHand>(0xFFFF, 8);
            hands[p]->m_nPlace = p;
            g_pHand[p] = hands[p].get();
            g_placeTable[p] = static_cast<uint16_t>(10 + p);
        }
        g_pTable = &table;
        g_contract.trump = 2; // hearts
        g_bGameRunning = 1;
    }
    void TearDown() override {
        CComputerPlayer::SetBeepHook(nullptr);
        g_pTable = nullptr;
        for (int p = 0; p < 4; ++p) {
            g_pHand[p] = nullptr;
            g_placeTable[p] = 0xFFFF;
        }
        g_bGameRunning = 0;
    }
    void Give(int place, const std::string& cards) {
        for (int code = 0; code < 52; ++code)
            if ((code < 4 || code >= 24) && (Nat(cards) & NatOf(code)))
                hands[place]->Add(new CCard(code));
    }

    std::unique_ptr<CPlayerHand> hands[4];
    CTrickPile table{4, 8};
    CaptureSender sender;
};

} // namespace

TEST_F(ComputerPlayerTest, TheOnlyLegalCardIsSentWhileTheGameRuns) {
    Give(3, "AS 8D");
    Give(0, "7S KD");
    table.PlayCard(3, Code("AS"));
    CComputerPlayer player(sender);
    EXPECT_EQ(player.PlayTurn(0), Code("7S"));
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].cmd, CMD_PLAY_CARD);
    EXPECT_EQ(sender.sent[0].text, std::string(1, static_cast<char>(Code("7S") + 1)));
    EXPECT_EQ(sender.sent[0].from, 10);
    EXPECT_EQ(g_bComputerSearch.load(), 0);
    g_bGameRunning = 0;
    EXPECT_EQ(player.PlayTurn(0), Code("7S"));
    EXPECT_EQ(sender.sent.size(), 1u) << "nothing is sent when the game is not running";
}

TEST_F(ComputerPlayerTest, LeadsAHeldCardOrBeepsWithoutOne) {
    CComputerPlayer player(sender);
    EXPECT_EQ(player.PlayTurn(0), -1);
    EXPECT_EQ(player.PlayTurn(7), -1);
    EXPECT_EQ(g_beeps, 2);
    EXPECT_TRUE(sender.sent.empty());
    Give(0, "JH 9H AH 7C AC 8D KD QS");
    Give(1, "7H 8H TC JC 7D 9D 7S 8S");
    Give(2, "QH KH 8C 9C TD JD 9S TS");
    Give(3, "TH QC KC QD AD JS KS AS");
    const int code = player.PlayTurn(0);
    EXPECT_NE(hands[0]->FindSlot(code), -1);
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(sender.sent[0].text[0]), code + 1);
}
