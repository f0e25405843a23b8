#include "ai/CComputerPlayer.h"

#include <atomic>
#include <memory>
#include <random>
#include <string>

#include "ai/CFairPlayer.h"
#include "ai/GameCommands.h"
#include "ai/ICommandSender.h"
#include "ai/SearchBits.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/GameState.h"

namespace {

SearchPumpHook s_pump = nullptr;
void* s_pumpContext = nullptr;
void (*s_beep)() = nullptr;

void Beep() {
    if (s_beep) s_beep();
}

std::atomic<bool> s_fair{false};

// One fair player for the whole run, seeded from the system's entropy source.
CFairPlayer& FairPlayer() {
    static CFairPlayer player(std::random_device{}());
    return player;
}

} // namespace

CComputerPlayer::CComputerPlayer(ICommandSender& sender) : m_sender(sender) {}

void CComputerPlayer::SetPumpHook(SearchPumpHook hook, void* context) {
    s_pump = hook;
    s_pumpContext = context;
}

void CComputerPlayer::SetFair(bool fair) {
    s_fair.store(fair, std::memory_order_relaxed);
}

void CComputerPlayer::SeedFair(uint64_t seed) {
    FairPlayer().Reseed(seed);
}

bool CComputerPlayer::Fair() {
    return s_fair.load(std::memory_order_relaxed);
}

CSeatKnowledge CComputerPlayer::SeatKnowledge(int place) {
    place &= 3;
    uint32_t own = g_pHand[place] ? g_pHand[place]->m_natSet : 0;
    int leader = place;
    if (g_pTable) {
        own |= g_pTable->CardsPlayedBy(place);
        const int current = g_pTable->m_nCurTrick;
        for (int i = 0; i < g_pTable->CardsInCurrentTrick() && i < 4; ++i)
            if (((g_pTable->CurrentTrickInfo().leader + i) & 3) == place)
                own |= search_bits::NatOf(g_pTable->TrickCard(current, i));
        if (current > 0 || g_pTable->CardsInCurrentTrick() > 0)
            leader = g_pTable->m_tricks[0].leader;
    }
    CSeatKnowledge k(place, own, g_contract.trump, leader);
    if (g_pTable) {
        for (int t = 0; t <= g_pTable->m_nCurTrick && t < kMaxTricks; ++t) {
            const TrickInfo& info = g_pTable->m_tricks[t];
            for (int i = 0; i < info.count && i < 4; ++i) {
                const int code = g_pTable->TrickCard(t, i);
                if (code >= 0) k.Observe((info.leader + i) & 3, code);
            }
        }
    }
    for (int p = 0; p < 4; ++p)
        if (p != place && g_pHand[p] && g_declare[p].shown) k.AddShown(p, g_pHand[p]->m_selSet);
    return k;
}

void CComputerPlayer::SetBeepHook(void (*beep)()) {
    s_beep = beep;
}

uint32_t CComputerPlayer::ChooseCard(CCardSearch& search, const uint32_t hands[4],
                                     const TrickStart& trick, int place) {
    SearchState s;
    const int limit = search.InitSearch(s, hands, trick);
    if (s.toPlay != (place & 3) || s.hands[place & 3] == 0) return 0;
    search.SetPerspective(place);
    SearchState result = s;
    result.chosenCard = 0;
    search.SearchTrick(s, &result, limit);
    return result.chosenCard;
}

int CComputerPlayer::PlayTurn(int place) {
    if (place < 0 || place > 3 || g_pHand[place] == nullptr || g_pTable == nullptr) {
        Beep();
        return -1;
    }
    uint32_t hands[4];
    for (int p = 0; p < 4; ++p)
        hands[p] = g_pHand[p] ? g_pHand[p]->m_natSet : 0;

    TrickStart trick;
    trick.trump = g_contract.trump;
    trick.cardsPlayed = g_pTable->Count();
    const TrickInfo& info = g_pTable->CurrentTrickInfo();
    trick.count = info.count >= 0 && info.count < 4 ? info.count : 0;
    trick.leader = trick.count > 0 ? info.leader : place;
    for (int i = 0; i < trick.count; ++i)
        trick.codes[i] = g_pTable->TrickCard(g_pTable->m_nCurTrick, i);

    uint32_t chosen = 0;
    if (Fair()) {
        CFairPlayer& fair = FairPlayer();
        fair.Search().SetContinueFlags(&g_bComputerSearch, &g_bAutoPlay);
        if (s_pump) fair.Search().SetPumpHook(s_pump, s_pumpContext);
        g_bComputerSearch = 1;
        chosen = fair.ChooseCard(SeatKnowledge(place));
        g_bComputerSearch = 0;
    } else {
        CCardSearch search;
        search.SetContinueFlags(&g_bComputerSearch, &g_bAutoPlay);
        if (s_pump) search.SetPumpHook(s_pump, s_pumpContext);
        g_bComputerSearch = 1;
        chosen = ChooseCard(search, hands, trick, place);
        g_bComputerSearch = 0;
    }

    const int slot = chosen ? g_pHand[place]->FindSlotBySet(chosen) : -1;
    const CCard* card = slot >= 0 ? g_pHand[place]->CardAt(slot) : nullptr;
    if (card == nullptr) {
        Beep();
        return -1;
    }
    const int code = card->m_nCode;
    if (g_bGameRunning) {
        std::string text(1, static_cast<char>(code + 1));
        m_sender.SendCommand(CMD_PLAY_CARD, text, static_cast<int16_t>(UserAtPlace(place)));
    }
    return code;
}
