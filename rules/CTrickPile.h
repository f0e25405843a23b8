// The table pile: every card played in the deal, in order of play, with the
// trick table. It holds the rules of legal play and of winning a trick.
#pragma once

#include <cstdint>

#include "rules/CCardPile.h"

class CPlayerHand;

struct TrickInfo {
    int32_t leader;  // place that played the first card
    int32_t winner;  // place holding the trick so far
    int32_t winCard; // code of the card now winning
    int32_t count;   // cards played in the trick
};

constexpr int kMaxTricks = 13;
constexpr int kTableRecordSize = 106; // 53 card bytes + 53 played-by bytes

class CTrickPile : public CCardPile {
public:
    CTrickPile(int cardsPerTrick = 4, int tricksPerDeal = 8);
    ~CTrickPile() override;
    // Draws the cards of the current trick.
    void Redraw(bool invalidate) override;
    // Empties the pile and the trick table.
    void Clear() override;

    void ResetTricks();
    // 1 when the card in the hand's slot may be played now; else 0 and, when asked,
    // the reason ("club", "diamond", "heart", "Spade" or "bigger trump").
    int IsLegalCard(const CPlayerHand* hand, int slot, const char** explanation = nullptr) const;
    // 1 when the card would take the current trick from its winning card.
    int BeatsWinner(int code) const;
    void PlayCard(int place, int code);
    // Replays a 106-byte table record without drawing.
    void RebuildFromRecord(const uint8_t* record);
    int TricksWonBy(int place) const;
    uint32_t CardsPlayedBy(int place) const;
    void ShowCurrentTrick();
    // Scores the finished deal into the totals and the deal record entry g_nDeals.
    void ScoreDeal();
    // Fills four codes indexed by place from the last finished trick; false when none.
    bool LastTrickCards(int out[4]) const;
    // True when at least one trick is finished and complete.
    bool HasLastTrick() const;
    void GatherTrick(int animate);

    // Writes the 106-byte table record (card bytes, then played-by bytes).
    void WriteRecord(uint8_t* out) const;

    const TrickInfo& CurrentTrickInfo() const { return m_tricks[m_nCurTrick]; }
    int CardsInCurrentTrick() const { return m_tricks[m_nCurTrick].count; }
    // Code of card i (0-based, in play order) of trick t; -1 when absent.
    int TrickCard(int t, int i) const;

    TrickInfo m_tricks[kMaxTricks];
    uint8_t m_playedBy[kPileSlots + 1]; // seat of the player per slot, 255 = empty, then 0
    int32_t m_nCardsPerTrick;
    int32_t m_nTricksPerDeal;
    int32_t m_nCurTrick = 0;

private:
    void Enter(int place, int code, CCard* card, bool live);
};
