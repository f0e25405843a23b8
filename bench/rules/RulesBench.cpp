// The legality check and the play of a card, the two rules operations on the
// path of every click and of every computer move.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "net/Conn.h"
#include "net/UsersList.h"
#include "rules/CCard.h"
#include "rules/CCardPile.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/DealRandom.h"
#include "rules/GameState.h"

namespace {

// Four seated users, the deck, the hands and the table pile, without a view.
struct Table {
    CConn conn;
    Table() {
        ResetGameStateForStart();
        std::memset(g_UsersList, 0, sizeof(USERINFO) * kMaxUsers);
        conn.m_nUserId = 0;
        g_pConn = &conn;
        for (int id = 0; id < 4; ++id) {
            g_UsersList[id].name[0] = static_cast<char>('A' + id);
            g_UsersList[id].state = static_cast<uint16_t>((id + 1) | 0x8000);
            g_UsersList[id].owner = static_cast<uint16_t>(id);
        }
        RebuildSeating();
        g_pDeck = new CCardPile(32);
        for (auto& hand : g_pHand)
            hand = new CPlayerHand(kNoUser, 8);
        g_pTable = new CTrickPile(4, 8);
        ResetGame();
    }
    ~Table() {
        delete g_pTable;
        for (auto& hand : g_pHand)
            delete hand;
        delete g_pDeck;
        g_pTable = nullptr;
        g_pDeck = nullptr;
        for (auto& hand : g_pHand)
            hand = nullptr;
        g_pConn = nullptr;
    }
    void Deal(int trump) {
        for (auto* hand : g_pHand)
            hand->Clear();
        g_pTable->ResetTricks();
        g_pDeck->ReturnDealt();
        uint8_t slots[33];
        g_pDeck->PickRandom(32, slots);
        for (int place = 0; place < 4; ++place) {
            uint8_t list[9];
            std::memcpy(list, slots + 8 * place, 8);
            list[8] = 0;
            g_pHand[place]->TakeListed(g_pDeck, list);
        }
        g_contract = {8, trump, -1, -1, 0, 1};
    }
    // Plays a whole deal, each card the first one the rules allow.
    void PlayOut() {
        for (int n = 0; n < 32; ++n) {
            const int place = g_contract.turn;
            CPlayerHand* hand = g_pHand[place];
            for (int slot = 0; slot < kPileSlots; ++slot) {
                if (hand->CardAt(slot) && g_pTable->IsLegalCard(hand, slot)) {
                    g_pTable->PlayCard(place, hand->CardAt(slot)->m_nCode);
                    break;
                }
            }
        }
    }
};

void BM_IsLegalCard(benchmark::State& state) {
    Table table;
    SeedDealRandom(1);
    table.Deal(kHeart);
    // Two cards on the trick, then every card of the next hand is checked.
    for (int n = 0; n < 2; ++n) {
        CPlayerHand* hand = g_pHand[g_contract.turn];
        for (int slot = 0; slot < kPileSlots; ++slot)
            if (hand->CardAt(slot)) {
                g_pTable->PlayCard(g_contract.turn, hand->CardAt(slot)->m_nCode);
                break;
            }
    }
    CPlayerHand* hand = g_pHand[g_contract.turn];
    for (auto _ : state) {
        int legal = 0;
        for (int slot = 0; slot < kPileSlots; ++slot)
            if (hand->CardAt(slot)) legal += g_pTable->IsLegalCard(hand, slot);
        benchmark::DoNotOptimize(legal);
    }
}
BENCHMARK(BM_IsLegalCard);

void BM_PlayOutDeal(benchmark::State& state) {
    Table table;
    SeedDealRandom(2);
    int trump = 0;
    for (auto _ : state) {
        state.PauseTiming();
        table.Deal(trump);
        trump = (trump + 1) % 5;
        state.ResumeTiming();
        table.PlayOut();
        benchmark::DoNotOptimize(g_pTable->Count());
    }
    state.SetItemsProcessed(state.iterations() * 32);
}
BENCHMARK(BM_PlayOutDeal);

} // namespace
