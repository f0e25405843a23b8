#include "rules/CPlayerHand.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "net/UsersList.h"
#include "platform/Tick.h"
#include "rules/CCard.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/Declarations.h"
#include "rules/ViewUtil.h"

namespace {
// Blinks the turn marker between its two pictures; shared by every hand.
unsigned g_blinkCounter = 0;
} // namespace

CPlayerHand::CPlayerHand(uint16_t user, int fullCount) : CCardPile(0), m_nFull(fullCount) {
    std::memset(m_szName, 0, sizeof m_szName);
    m_nPlace = 0;
    AssignUser(user);
}

CPlayerHand::~CPlayerHand() = default;

void CPlayerHand::AssignUser(uint16_t user) {
    if (user == m_nUser) return;
    m_nUser = user;
    m_nPlace = PlaceOfUser(user);
    const char* name = user < kMaxUsers ? g_UsersList[user].name : "";
    if (name[0] == '\0') name = "???";
    std::memset(m_szName, 0, sizeof m_szName);
    std::strncpy(m_szName, name, sizeof m_szName - 1);
    Layout();
    UpdateFaceMode();
    m_bComputer = IsComputerUser(user);
}

void CPlayerHand::UpdateFaceMode() {
    if (m_nPlace != 0)
        m_nFaceMode = kDrawBack;
    else if (g_bSeated)
        m_nFaceMode = kDrawFace;
    else
        m_nFaceMode = IsPlaceHandledHere(0) || g_nCardBack == 64 ? kDrawFace : kDrawBack;
}

void CPlayerHand::Layout() {
    const ViewSize client = TableSize();
    const ViewSize card = CardSize();
    const int W = client.cx, H = client.cy, cw = card.cx, ch = card.cy;
    // A row of one card has no step; avoid the division.
    const int gaps = m_nFull > 1 ? m_nFull - 1 : 1;
    const int sideStep = (H - 112 - ch) / gaps;
    const int rowStep = (W - 2 * cw - 130 - cw) / gaps;
    int offX = 0, offY = 0;
    switch (m_nPlace) {
    case 1:
    case 3:
        m_nFirstX = m_nPlace == 1 ? 9 : W - cw - 9;
        m_nFirstY = 56;
        m_nStepX = 0;
        m_nStepY = sideStep;
        m_nWidth = cw;
        m_nHeight = m_nStepY * (m_nFull - 1) + ch;
        offX = m_nPlace == 1 ? -30 : 30;
        offY = m_nPlace == 1 ? -5 : 5;
        break;
    case 0:
    case 2:
        m_nFirstX = cw + 65;
        m_nFirstY = m_nPlace == 2 ? 3 : H - ch - 3;
        m_nStepX = rowStep;
        m_nStepY = 0;
        m_nWidth = m_nStepX * (m_nFull - 1) + cw;
        m_nHeight = ch;
        offX = m_nPlace == 2 ? 5 : -5;
        offY = m_nPlace == 2 ? -30 : 30;
        break;
    default:
        return;
    }
    m_nPlayX = (W - cw) / 2 + offX;
    m_nPlayY = (H - ch) / 2 + offY;
}

void CPlayerHand::SlotPosition(int slot, int* x, int* y) const {
    int i = m_nPlace == 2 || m_nPlace == 3 ? m_nFull - slot - 1 : slot;
    *x = m_nFirstX + m_nStepX * i;
    *y = m_nFirstY + m_nStepY * i;
}

int CPlayerHand::Add(CCard* card, int slot) {
    slot = CCardPile::Add(card, slot);
    if (slot < 0) return slot;
    int x, y;
    SlotPosition(slot, &x, &y);
    card->SetPlace(x, y, m_nFaceMode, -1, -1);
    card->Draw(true);
    return slot;
}

void CPlayerHand::Arrange() {
    CCardPile::Sort();
    for (int slot = 0; slot < kPileSlots; ++slot) {
        CCard* card = CardAt(slot);
        if (!card) continue;
        int x, y;
        SlotPosition(slot, &x, &y);
        card->SetPlace(x, y, m_nFaceMode, -1, -1);
        card->Draw(false);
    }
    InvalidateView();
}

void CPlayerHand::Clear() {
    CCardPile::Clear();
    ResetDeclaration();
}

void CPlayerHand::Redraw(bool invalidate) {
    if (g_bOverlay || m_nUser == kNoUser) return;
    DrawLabel(false, false);
    CCardPile::Redraw(invalidate);
}

int CPlayerHand::HitSlot(int px, int py) const {
    for (int slot = kPileSlots - 1; slot >= 0; --slot) {
        CCard* card = CardAt(slot);
        if (card && card->HitTest(px, py)) return slot;
    }
    return -1;
}

CCard* CPlayerHand::PlayFromHand(int code, bool invalidate) {
    int slot = FindSlot(code);
    if (slot < 0) return nullptr;
    bool bonus = EarnsTrumpPairBonus(*this, code, g_contract.trump);
    CCard* card = CardAt(slot);
    card->AddRef();
    RemoveAt(slot);
    Redraw(invalidate);
    card->SetPlace(m_nPlayX, m_nPlayY, kDrawFace, -1, -1);
    card->m_bMarked = bonus;
    if (bonus) m_nPoints += 20;
    return card;
}

void CPlayerHand::LoadCards(const uint8_t* bytes) {
    Clear();
    if (!bytes || !g_pDeck) return;
    for (int i = 0; i < kPileSlots; ++i) {
        if (bytes[i] == kEmptyCardByte || bytes[i] == 0) continue;
        CCard* card = g_pDeck->DealOut(g_pDeck->FindSlot(bytes[i] - 1));
        if (card) Add(card, i);
    }
}

void CPlayerHand::TakeListed(CCardPile* deck, const uint8_t* list) {
    if (!deck || !list) return;
    for (; *list; ++list) {
        int slot = *list - 1;
        // A slot already dealt stays with the hand that has it.
        if (slot >= kPileSlots || deck->m_slots[slot].state != kSlotHeld) continue;
        Add(deck->DealOut(slot), -1);
    }
}

void CPlayerHand::SendDeal(CCardPile* deck, int n) {
    if (!deck) return;
    n = std::clamp(n, 0, kPileSlots);
    uint8_t out[kPileSlots + 2];
    out[0] = static_cast<uint8_t>(UserAtPlace(m_nPlace) + 1);
    deck->PickRandom(n, out + 1);
    deck->Reserve(out + 1);
    if (g_pMainFrame) g_pMainFrame->BroadcastCmd(-1, 2, reinterpret_cast<const char*>(out), -1);
}

void CPlayerHand::ListSelected(uint32_t set, uint8_t* out) const {
    int n = 0;
    for (int slot = kPileSlots - 1; slot >= 0; --slot) {
        CCard* card = CardAt(slot);
        if (card && (card->m_natSet & set)) out[n++] = static_cast<uint8_t>(card->m_nCode + 1);
    }
    out[n] = 0;
}

int CPlayerHand::LabelRoom() const {
    const ViewSize client = TableSize();
    const ViewSize card = CardSize();
    // The margin kept to the window's edge and to the cards.
    constexpr int kMargin = 3;
    // Where the bottom and top rows begin; the side labels stay left of that.
    const int rowStart = card.cx + 65;
    switch (m_nPlace) {
    case 0:
        return m_nFirstX - kMargin; // right-aligned to the first card, from the left edge
    case 2:
        return client.cx - (m_nFirstX + m_nWidth + 3) - kMargin;
    default:
        return rowStart - 9 - kMargin;
    }
}

void CPlayerHand::DrawLabel(bool invalidate, bool marker) {
    if (m_nPlace < 0 || m_nPlace > 3 || m_nUser == kNoUser || g_bOverlay) return;
    ITableView* view = DrawingView();
    if (!view) return;
    if (g_nMarkerPlace >= 0 && g_nMarkerPlace < 4 && g_nMarkerPlace != m_nPlace &&
        g_pHand[g_nMarkerPlace])
        g_pHand[g_nMarkerPlace]->DrawLabel(false, false);
    if (m_label[0] || m_label[1])
        view->FillRect(m_label[2], m_label[3], m_label[0], m_label[1], kTableColour);

    const ViewSize client = TableSize();
    const ViewSize card = CardSize();
    const int W = client.cx, H = client.cy, cw = card.cx, ch = card.cy;
    // A long name is shortened at its end so that the label stays on the table
    // and off the cards; the count of tricks is always shown whole.
    char suffix[16] = "";
    int tricks = g_pTable ? g_pTable->TricksWonBy(m_nPlace) : 0;
    if (tricks > 0) std::snprintf(suffix, sizeof suffix, "(%d)", tricks);
    const int room = LabelRoom() - (suffix[0] ? view->MeasureText(suffix).cx : 0);
    const std::string name = view->FitText(m_szName, room);
    char text[96];
    std::snprintf(text, sizeof text, "%s%s", name.c_str(), suffix);
    const ViewSize size = view->MeasureText(text);
    const int cx = size.cx, cy = size.cy;
    int lx = 0, ly = 0, mx = 0, my = 0;
    switch (m_nPlace) {
    case 1:
        lx = 9, ly = m_nFirstY - cy;
        mx = cw / 2 - 7, my = m_nFirstY - cy - 32;
        break;
    case 2:
        lx = m_nFirstX + m_nWidth + 3, ly = 3;
        mx = m_nFirstX + m_nWidth, my = ch / 2 - 13;
        break;
    case 3:
        lx = W - cx - 9, ly = m_nFirstY + m_nHeight;
        mx = W - cw / 2 - 25, my = m_nFirstY + m_nHeight + cy;
        break;
    default:
        lx = m_nFirstX - cx, ly = H - cy - 3;
        mx = m_nFirstX - 32, my = H - ch / 2 - 19;
        break;
    }
    view->DrawText(lx, ly, text);
    m_label[0] = cx;
    m_label[1] = cy;
    m_label[2] = lx;
    m_label[3] = ly;
    view->FillRect(mx + 1, my + 1, 30, 30, kTableColour);

    if (marker && (m_nPlace == g_contract.turn || m_nPlace == g_nBidder)) {
        bool even = (g_blinkCounter++ % 2) == 0;
        bool lowPlace = m_nPlace == 0 || m_nPlace == 1;
        int icon = (even == lowPlace) ? kIconTurnB : kIconTurnA;
        if (m_bComputer) icon += 2;
        view->DrawIcon(mx, my, icon);
        g_nMarkerPlace = m_nPlace;
        g_dwNextBlink = GetTickCount() + 3000;
    } else {
        g_nMarkerPlace = -1;
    }
    if (invalidate) view->Invalidate();
}
