// A table of four seated users with the deck, the hands, the table pile and a
// real table picture as the view; pauses and message pumps go to hooks the test watches.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>

#include "display/DisplayPace.h"
#include "display/TablePicture.h"
#include "net/Conn.h"
#include "net/UsersList.h"
#include "rules/CCard.h"
#include "rules/CCardPile.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/GameState.h"

// Card codes by rank and suit: CardOf(kAce, kHeart).
enum DisplayRank { kSeven = 6, kEight, kNine, kTen, kJack, kQueen, kKing, kAce = 0 };
inline int CardOf(int rank, int suit) {
    return rank * 4 + suit;
}

class DisplayTable : public ::testing::Test {
protected:
    static constexpr int kWidth = 540;
    static constexpr int kHeight = 440;

    void SetUp() override {
        ResetGameStateForStart();
        CDisplayPace::SetFactor(1.0);
        std::memset(g_UsersList, 0, sizeof(USERINFO) * kMaxUsers);
        conn.m_nUserId = 0;
        g_pConn = &conn;
        const char* const names[4] = {"Ana", "Boris", "Cleo", "Dusan"};
        for (uint16_t id = 0; id < 4; ++id) {
            std::snprintf(g_UsersList[id].name, sizeof g_UsersList[id].name, "%s", names[id]);
            g_UsersList[id].state = static_cast<uint16_t>((id + 1) | 0x8000);
            g_UsersList[id].owner = id;
            g_UsersList[id].aux = 0xFFFF;
        }
        RebuildSeating();
        g_bSeated = 1;
        view = std::make_unique<CTablePicture>();
        view->Create(kWidth, kHeight);
        view->SetPumpHook([this] {
            ++pumps;
            if (onPump) onPump();
        });
        view->SetPauseHook([this](int ms) { pauses.push_back(ms); });
        g_pView = view.get();
        g_pDeck = new CCardPile(32);
        for (auto& hand : g_pHand)
            hand = new CPlayerHand(kNoUser, 8);
        g_pTable = new CTrickPile(4, 8);
        ResetGame();
    }
    void TearDown() override {
        DeleteGameObjects();
        view.reset();
        g_pView = nullptr;
        g_pConn = nullptr;
        std::memset(g_UsersList, 0, sizeof(USERINFO) * kMaxUsers);
        ResetGameStateForStart();
        CDisplayPace::SetFactor(1.0);
    }

    // Deals the listed cards out of the deck into the hand at `place`.
    static void Give(int place, std::initializer_list<int> codes) {
        for (int code : codes) {
            const int slot = g_pDeck->FindSlot(code);
            ASSERT_GE(slot, 0) << code;
            uint8_t list[2] = {static_cast<uint8_t>(slot + 1), 0};
            g_pHand[place]->TakeListed(g_pDeck, list);
        }
    }
    // Every pixel of the rectangle (clipped to the picture) has the table colour.
    bool AllTable(const QRect& r) const {
        return NonTableBox(view->Picture().copy(r.intersected(view->Picture().rect()))).isEmpty();
    }
    // The bounding box of the pixels that differ from the table colour.
    static QRect NonTableBox(const QImage& image) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) != (qRgb(0, 128, 0) & 0xFFFFFF))
                    box = box.united(QRect(x, y, 1, 1));
        return box;
    }

    std::unique_ptr<CTablePicture> view;
    int pumps = 0;
    std::vector<int> pauses;
    std::function<void()> onPump; // runs inside every pump
    CConn conn;
};
