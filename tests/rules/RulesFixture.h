// Four seated users with the deck, the hands and the table pile.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "net/Conn.h"
#include "net/UsersList.h"
#include "rules/CCard.h"
#include "rules/CCardPile.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/GameState.h"
#include "rules/TableView.h"

struct QuietFrame : IMainFrame {
    void AddChatLine(int, const char*) override {}
    void Beep(int) override {}
    void BroadcastCmd(short, short, const char*, short) override {}
};

// Card codes by rank and suit: Card(kAce, kHeart).
enum Rank { kSeven = 6, kEight, kNine, kTen, kJack, kQueen, kKing, kAce = 0 };
inline int Card(int rank, int suit) {
    return rank * 4 + suit;
}

// The game's 32 codes.
inline std::vector<int> DeckCodes() {
    std::vector<int> codes = {0, 1, 2, 3};
    for (int c = 24; c < 52; ++c)
        codes.push_back(c);
    return codes;
}

class RulesTable : public ::testing::Test {
protected:
    void SetUp() override {
        g_pMainFrame = &frame;
        ClearUsers();
        conn.m_nUserId = 0;
        g_pConn = &conn;
        for (int id = 0; id < 4; ++id) // users 0..3 on seats 1..4, each its own owner
            AddUser(id, id + 1, id);
        RebuildSeating();
        g_pDeck = new CCardPile(32);
        for (auto& hand : g_pHand)
            hand = new CPlayerHand(kNoUser, 8);
        g_pTable = new CTrickPile(4, 8);
        ResetGame();
    }

    void TearDown() override {
        g_pMainFrame = nullptr;
        DeleteGameObjects();
        g_pConn = nullptr;
        ClearUsers();
    }

    static void ClearUsers() {
        std::memset(g_UsersList, 0, sizeof(USERINFO) * kMaxUsers);
        ResetGameStateForStart();
    }

    // Every card back in the deck, no trick played.
    static void ClearTable() {
        for (CPlayerHand* hand : g_pHand)
            hand->Clear();
        g_pTable->ResetTricks();
        g_pDeck->ReturnDealt();
    }

    static void AddUser(int id, int seat, int owner) {
        USERINFO& u = g_UsersList[id];
        std::snprintf(u.name, sizeof u.name, "P%d", id);
        u.state = static_cast<uint16_t>(seat | 0x8000); // started
        u.owner = static_cast<uint16_t>(owner);
        u.aux = 0xFFFF;
    }

    // Deals the listed cards out of the deck into the hand at `place`.
    static void Give(int place, std::initializer_list<int> codes) {
        for (int code : codes) {
            int slot = g_pDeck->FindSlot(code);
            ASSERT_GE(slot, 0) << code;
            ASSERT_EQ(g_pDeck->m_slots[slot].state, kSlotHeld) << "card dealt twice: " << code;
            uint8_t list[2] = {static_cast<uint8_t>(slot + 1), 0};
            g_pHand[place]->TakeListed(g_pDeck, list);
        }
    }

    // Plays one card per place, starting with `leader`.
    static void PlayTrick(int leader, std::initializer_list<int> codes) {
        int place = leader;
        for (int code : codes) {
            ASSERT_GE(g_pHand[place]->FindSlot(code), 0) << "place " << place << " card " << code;
            g_pTable->PlayCard(place, code);
            place = NextPlace(place);
        }
    }

    static void SetContract(int value, int trump, int declarer) {
        g_contract = {value, trump, -1, -1, declarer, NextPlace(declarer)};
    }

    CConn conn;
    QuietFrame frame;
};
