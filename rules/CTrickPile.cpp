#include "rules/CTrickPile.h"

#include <algorithm>
#include <cstring>

#include "platform/TextMark.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/Cards.h"
#include "rules/Declarations.h"
#include "rules/ViewUtil.h"

namespace {

bool IsTrumpSuit(int trump) {
    return trump >= 0 && trump < 4;
}

bool IsDeckCode(int code) {
    return (code >= 0 && code < 4) || (code >= 24 && code < 52);
}

uint32_t WholeSuit(int suit) {
    return PlaceInSuit(0xFF, suit);
}

} // namespace

CTrickPile::CTrickPile(int cardsPerTrick, int tricksPerDeal)
    : CCardPile(0), m_nCardsPerTrick(std::clamp(cardsPerTrick, 1, 4)),
      m_nTricksPerDeal(tricksPerDeal) {
    ResetTricks();
}

CTrickPile::~CTrickPile() = default;

void CTrickPile::Clear() {
    CCardPile::Clear();
    m_nCurTrick = 0;
    std::memset(m_tricks, 0, sizeof m_tricks);
    std::memset(m_playedBy, 0xFF, kPileSlots);
    m_playedBy[kPileSlots] = 0;
}

void CTrickPile::ResetTricks() {
    Clear();
}

int CTrickPile::TrickCard(int t, int i) const {
    if (t < 0 || t >= kMaxTricks || i < 0 || i >= m_nCardsPerTrick) return -1;
    const CCard* card = CardAt(t * m_nCardsPerTrick + i);
    return card ? card->m_nCode : -1;
}

void CTrickPile::Redraw(bool invalidate) {
    if (m_nCurTrick < kMaxTricks) {
        const int first = m_nCurTrick * m_nCardsPerTrick;
        for (int i = 0; i < m_tricks[m_nCurTrick].count; ++i)
            if (CCard* card = CardAt(first + i)) card->Draw(false);
    }
    if (invalidate) InvalidateView();
}

namespace {
// The explanation of a refused card, beside the suit names (translated where shown).
const char* const kBiggerTrump = VESK_TRANSLATE_NOOP("Vesk", "bigger trump");
} // namespace

int CTrickPile::IsLegalCard(const CPlayerHand* hand, int slot, const char** explanation) const {
    const CCard* card = hand ? hand->CardAt(slot) : nullptr;
    if (!card) return 0;
    if (m_nCurTrick >= kMaxTricks || m_tricks[m_nCurTrick].count == 0) return 1;

    const int led = TrickCard(m_nCurTrick, 0);
    const int win = m_tricks[m_nCurTrick].winCard;
    const int ledSuit = SuitOf(led);
    const int trump = g_contract.trump;

    uint32_t first = WholeSuit(ledSuit);
    const char* firstWhy = SuitName(ledSuit);
    uint32_t second = 0xFFFFFFFFu;
    const char* secondWhy = "";
    if (IsTrumpSuit(trump)) {
        if (ledSuit == trump) {
            first = HigherTrumps(win);
            firstWhy = kBiggerTrump;
            second = WholeSuit(trump);
            secondWhy = SuitName(trump);
        } else if (PartnershipOf(m_tricks[m_nCurTrick].winner) != PartnershipOf(hand->m_nPlace)) {
            if (SuitOf(win) == trump) {
                second = HigherTrumps(win);
                secondWhy = kBiggerTrump;
            } else {
                second = WholeSuit(trump);
                secondWhy = SuitName(trump);
            }
        }
    }

    const uint32_t played = card->m_trumpSet;
    const uint32_t held = hand->m_trumpSet;
    if (played & first) return 1;
    if (held & first) {
        if (explanation) *explanation = firstWhy;
        return 0;
    }
    if (!(played & second) && (held & second)) {
        if (explanation) *explanation = secondWhy;
        return 0;
    }
    return 1;
}

int CTrickPile::BeatsWinner(int code) const {
    if (m_nCurTrick >= kMaxTricks) return 0;
    const int win = m_tricks[m_nCurTrick].winCard;
    const int trump = g_contract.trump;
    const bool cardTrump = IsTrumpSuit(trump) && SuitOf(code) == trump;
    if (!(IsTrumpSuit(trump) && SuitOf(win) == trump))
        return cardTrump || (SuitOf(code) == SuitOf(win) && PlainBit(code) > PlainBit(win));
    return cardTrump && TrumpBit(code) > TrumpBit(win);
}

void CTrickPile::Enter(int place, int code, CCard* card, bool live) {
    const int index = m_nCount;
    m_playedBy[index] = static_cast<uint8_t>(SeatOfPlace(place));
    if (Add(card, -1) < 0) {
        m_playedBy[index] = 0xFF;
        return;
    }
    TrickInfo& t = m_tricks[m_nCurTrick];
    ++t.count;
    if (t.count == 1) {
        t.leader = t.winner = place;
        t.winCard = code;
        g_contract.turn = NextPlace(place);
        return;
    }
    if (BeatsWinner(code)) {
        t.winner = place;
        t.winCard = code;
    }
    if (t.count < m_nCardsPerTrick) {
        g_contract.turn = NextPlace(place);
        return;
    }
    g_contract.turn = t.winner;
    if (live) {
        Redraw(true);
        GatherTrick(1);
        if (t.winner >= 0 && t.winner < 4 && g_pHand[t.winner]) g_pHand[t.winner]->Redraw(true);
    }
    ++m_nCurTrick;
}

void CTrickPile::PlayCard(int place, int code) {
    if (place < 0 || place > 3 || !g_pHand[place]) return;
    // A full pile or trick table takes no further card.
    if (m_nCount >= kPileSlots || m_nCurTrick >= kMaxTricks ||
        (m_nCurTrick + 1) * m_nCardsPerTrick > kPileSlots)
        return;
    CCard* card = g_pHand[place]->PlayFromHand(code, true);
    if (!card) return;
    Enter(place, code, card, true);
    card->Release();
}

void CTrickPile::RebuildFromRecord(const uint8_t* record) {
    ResetTricks();
    if (!record || !g_pDeck) return;
    const uint8_t* cards = record;
    const uint8_t* seats = record + kPileSlots + 1;
    for (int i = 0; i < kPileSlots; ++i) {
        if (cards[i] == kEmptyCardByte) continue;
        const int code = cards[i] - 1;
        const int place = PlaceOfSeat(seats[i]);
        // Bytes that name no deck card, or a card already on the table, are skipped.
        if (!IsDeckCode(code) || place < 0 || place > 3 || FindSlot(code) >= 0) continue;
        if (m_nCount >= kPileSlots || m_nCurTrick >= kMaxTricks) break;
        CCard* card = g_pDeck->DealOut(g_pDeck->FindSlot(code));
        if (!card) continue;
        Enter(place, code, card, false);
    }
}

void CTrickPile::WriteRecord(uint8_t* out) const {
    std::memcpy(out, m_cardBytes, kPileSlots + 1);
    std::memcpy(out + kPileSlots + 1, m_playedBy, kPileSlots + 1);
}

int CTrickPile::TricksWonBy(int place) const {
    int won = 0;
    for (int t = 0; t < m_nCurTrick && t < kMaxTricks; ++t)
        if (m_tricks[t].count == m_nCardsPerTrick && m_tricks[t].winner == place) ++won;
    return won;
}

uint32_t CTrickPile::CardsPlayedBy(int place) const {
    if (place < 0 || place > 3) return 0;
    uint32_t set = 0;
    for (int t = 0; t < m_nCurTrick && t < kMaxTricks; ++t) {
        const int i = ((place - m_tricks[t].leader) % 4 + 4) % 4;
        if (const CCard* card = i < m_nCardsPerTrick ? CardAt(t * m_nCardsPerTrick + i) : nullptr)
            set |= card->m_natSet;
    }
    return set;
}

void CTrickPile::ShowCurrentTrick() {
    if (m_nCurTrick >= kMaxTricks) return;
    const TrickInfo& t = m_tricks[m_nCurTrick];
    for (int i = 0; i < t.count; ++i) {
        CCard* card = CardAt(m_nCurTrick * m_nCardsPerTrick + i);
        const int place = (t.leader + i) % 4;
        CPlayerHand* hand = place >= 0 ? g_pHand[place] : nullptr;
        if (!card || !hand) continue;
        card->SetPlace(hand->m_nPlayX, hand->m_nPlayY, kDrawFace, -1, -1);
        card->m_bMarked = EarnsTrumpPairBonus(*hand, card->m_nCode, g_contract.trump);
        card->Draw(false);
    }
    InvalidateView();
}

bool CTrickPile::HasLastTrick() const {
    return m_nCurTrick >= 1 && m_nCurTrick <= kMaxTricks &&
           m_tricks[m_nCurTrick - 1].count == m_nCardsPerTrick;
}

bool CTrickPile::LastTrickCards(int out[4]) const {
    for (int i = 0; i < 4; ++i)
        out[i] = -1;
    if (!HasLastTrick()) return false;
    const int t = m_nCurTrick - 1;
    for (int i = 0; i < m_nCardsPerTrick; ++i)
        out[(m_tricks[t].leader + i) % 4] = TrickCard(t, i);
    return true;
}

void CTrickPile::GatherTrick(int animate) {
    if (g_pView) g_pView->GatherTrick(*this, animate);
}
