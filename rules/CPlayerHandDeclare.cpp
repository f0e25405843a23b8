// The declaration side of a player's hand: computing, picking and showing.
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/Declarations.h"
#include "rules/GameState.h"

namespace {

// How far a picked card lies towards the table centre from its place's row.
void PickOffset(int place, int* dx, int* dy) {
    *dx = *dy = 0;
    switch (place) {
    case 0:
        *dy = -30;
        break;
    case 1:
        *dx = 40;
        break;
    case 2:
        *dy = 30;
        break;
    case 3:
        *dx = -40;
        break;
    default:
        break;
    }
}

} // namespace

uint32_t CPlayerHand::PlayerCards() const {
    return m_natSet | (g_pTable ? g_pTable->CardsPlayedBy(m_nPlace) : 0);
}

uint32_t CPlayerHand::ComputeDeclaration(int trump) {
    DeclarationResult r = FindDeclarations(PlayerCards(), trump);
    m_nDeclPoints = r.points;
    m_nBestRank = r.bestRank;
    m_declText = r.text;
    return m_natSet & ~r.rest;
}

int CPlayerHand::SelectionValue() {
    if (m_selSet == 0) {
        m_nDeclPoints = 0;
        return 0;
    }
    const uint32_t played = g_pTable ? g_pTable->CardsPlayedBy(m_nPlace) : 0;
    DeclarationResult r = FindDeclarations(m_selSet | played, g_contract.trump);
    m_nDeclPoints = r.points;
    return (r.rest & ~played) == 0 ? 1 : 0;
}

bool CPlayerHand::IsPicked(int slot) const {
    const CCard* card = CardAt(slot);
    if (!card) return false;
    int x, y;
    SlotPosition(slot, &x, &y);
    switch (m_nPlace) {
    case 0:
        return card->m_nY < y;
    case 1:
        return card->m_nX > x;
    case 2:
        return card->m_nY > y;
    case 3:
        return card->m_nX < x;
    default:
        return false;
    }
}

void CPlayerHand::ToggleShowCard(int slot, int mode, bool invalidate) {
    CCard* card = CardAt(slot);
    if (!card) return;
    int dx, dy;
    PickOffset(m_nPlace, &dx, &dy);
    const bool picked = IsPicked(slot);
    if (mode == 0) {
        if (picked) {
            card->MoveBy(-dx, -dy);
            m_selSet &= ~card->m_natSet;
            --m_nSelCount;
        } else {
            card->MoveBy(dx, dy);
            m_selSet |= card->m_natSet;
            ++m_nSelCount;
        }
        Redraw(invalidate);
    } else if (mode == 1) {
        if (picked)
            card->SetPlace(card->m_nX - dx, card->m_nY - dy, m_nFaceMode, card->m_nWidth,
                           card->m_nHeight);
    } else if (mode == 2) {
        if (picked) card->SetPlace(card->m_nX, card->m_nY, 0, card->m_nWidth, card->m_nHeight);
    }
}

void CPlayerHand::ToggleShowCode(int code, bool invalidate) {
    int slot = FindSlot(code);
    if (slot >= 0) ToggleShowCard(slot, 0, invalidate);
}

void CPlayerHand::ShowDeclaration() {
    m_bMayDeclare = 0;
    SelectionValue();
    m_nPoints += m_nDeclPoints;
    for (int slot = 0; slot < kPileSlots; ++slot)
        ToggleShowCard(slot, 2, false);
    Redraw(true);
}

void CPlayerHand::CancelShow() {
    bool any = m_nSelCount > 0;
    for (int slot = 0; slot < kPileSlots && !any; ++slot)
        any = IsPicked(slot);
    if (!any) return;
    for (int slot = 0; slot < kPileSlots; ++slot)
        ToggleShowCard(slot, 1, false);
    m_nSelCount = 0;
    m_selSet = 0;
    Redraw(true);
}

int CPlayerHand::CanShowNow() {
    m_bWinsDecl = PartnershipWinsDeclarations(m_nPlace);
    bool trickDone = g_pTable && g_pTable->m_nCurTrick > 0;
    return m_bMayDeclare && m_bWinsDecl && trickDone ? 1 : 0;
}

void CPlayerHand::ResetDeclaration() {
    m_bMayDeclare = 1;
    m_nPoints = 0;
    m_nDeclPoints = 0;
    m_nBestRank = 0;
    m_selSet = 0;
    m_nSelCount = 0;
    m_bWinsDecl = 0;
    m_declText.clear();
}
