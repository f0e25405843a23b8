// A player's hand: a card pile laid out in a row at the hand's place, with the
// player's name label, the turn marker and the declaration state.
#pragma once

#include <cstdint>
#include <string>

#include "rules/CCardPile.h"

class CPlayerHand : public CCardPile {
public:
    CPlayerHand(uint16_t user, int fullCount);
    ~CPlayerHand() override;
    void Redraw(bool invalidate) override;
    void Clear() override;
    int Add(CCard* card, int slot = -1) override;
    // Sorts the cards (suits alternating red and black, 7..A in a suit) and lays them out.
    void Sort() override { Arrange(); }
    void Arrange();

    // Gives the hand to a user: place, name, layout, face mode and computer flag.
    void AssignUser(uint16_t user);
    // Recomputes the draw mode of the hand's cards (1 back, 0 face).
    void UpdateFaceMode();
    // Lays the row out for the hand's place from the view's client and card sizes.
    void Layout();
    // Draws the name label and, when asked and it is this place's turn, the turn marker.
    void DrawLabel(bool invalidate, bool marker);
    // The width the name label may take at the hand's place.
    int LabelRoom() const;
    int HitSlot(int px, int py) const;
    // Takes the card out of the hand and lays it at the play position; the caller owns
    // one reference to the returned card. Null when the hand does not hold it.
    CCard* PlayFromHand(int code, bool invalidate);
    // Loads the hand from 52 stored card bytes (code + 1 per slot, 255 = empty).
    void LoadCards(const uint8_t* bytes);
    // Takes the deck slots listed as slot + 1 bytes of a zero-terminated list.
    void TakeListed(CCardPile* deck, const uint8_t* list);
    // Picks n deck cards for this hand and sends them as the deal command.
    void SendDeal(CCardPile* deck, int n);
    // Writes code + 1 of each card meeting the natural set, slot 51 down to 0, then 0.
    // out holds at least 53 bytes.
    void ListSelected(uint32_t set, uint8_t* out) const;
    // Position of slot i in the row.
    void SlotPosition(int slot, int* x, int* y) const;

    // ---- declarations ----
    // Cards still in the hand together with the ones this place played in finished tricks.
    uint32_t PlayerCards() const;
    // Sets declaration points, best rank code and text; returns the hand's cards in them.
    uint32_t ComputeDeclaration(int trump);
    // Sets declaration points from the selection; 1 when every picked card is in one.
    int SelectionValue();
    // mode 0 toggles, 1 puts a picked card back face as the hand, 2 turns a picked card up.
    void ToggleShowCard(int slot, int mode, bool invalidate);
    void ToggleShowCode(int code, bool invalidate);
    void ShowDeclaration();
    void CancelShow();
    int CanShowNow();
    // Clears the declaration state for a new deal.
    void ResetDeclaration();
    // True when the card at the slot lies picked out of the row.
    bool IsPicked(int slot) const;

    char m_szName[20];
    int32_t m_nPlace = -1;
    uint16_t m_nUser = 0xFFFF;
    int32_t m_nFaceMode = 1;
    uint32_t m_selSet = 0;     // natural set of the picked cards
    int32_t m_nSelCount = 0;   // number of picked cards
    int32_t m_nPoints = 0;     // king-and-queen bonus and shown declarations
    int32_t m_nDeclPoints = 0; // value of the declaration last computed
    int32_t m_nBestRank = 0;   // rank code of its best combination; 0 = none
    int32_t m_bMayDeclare = 1;
    int32_t m_bWinsDecl = 0;
    int32_t m_nFull;
    int32_t m_nFirstX = 0;
    int32_t m_nFirstY = 0;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    int32_t m_nPlayX = 0;
    int32_t m_nPlayY = 0;
    int32_t m_nStepX = 0;
    int32_t m_nStepY = 0;
    int32_t m_label[4] = {0, 0, 0, 0}; // width, height, x, y of the last label
    int32_t m_bComputer = 0;
    std::string m_declText;
};
