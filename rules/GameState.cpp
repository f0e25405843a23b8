#include "rules/GameState.h"

#include <cstring>

#include "rules/CCardPile.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"

CConn* g_pConn = nullptr;
IMainFrame* g_pMainFrame = nullptr;
ITableView* g_pView = nullptr;
CCardPile* g_pDeck = nullptr;
CPlayerHand* g_pHand[4] = {nullptr, nullptr, nullptr, nullptr};
CTrickPile* g_pTable = nullptr;

uint16_t g_placeTable[9] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
uint16_t g_seatTable[9] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
int g_bSeated = 0;
int g_bGameRunning = 0;
std::atomic<int> g_bAutoPlay{0};
std::atomic<int> g_bComputerSearch{0};

int32_t g_nDealer = -1;
int32_t g_nBidder = -1;
Contract g_contract = {-1, -1, -1, -1, -1, -1};
int32_t g_nBidRule = 4;
int32_t g_nDeals = 0;
int32_t g_score[2] = {0, 0};
uint8_t g_dealRecord[kDealRecordSize] = {};
DeclarationRecord g_declare[4] = {};

int g_bOverlay = 0;
int32_t g_nMarkerPlace = -1;
uint32_t g_dwNextBlink = 0;
int32_t g_nCardBack = 54;
int g_bStateAsked = 0;
int g_bStateDone = 0;
int g_bRestoring = 0;
int g_bReplaying = 0;
int g_bClickBusy = 0;
uint32_t g_dwLastChatTime = 0;
const char g_szEmpty[1] = "";

uint8_t* DealEntry(int n) {
    if (n < 0 || n >= kDealEntries) return nullptr;
    return g_dealRecord + n * kDealEntrySize;
}

int32_t GetDealInt(int n, int offset) {
    const uint8_t* e = DealEntry(n);
    if (!e || offset < 0 || offset + 4 > kDealEntrySize) return 0;
    uint32_t v = e[offset] | (e[offset + 1] << 8) | (e[offset + 2] << 16) |
                 (static_cast<uint32_t>(e[offset + 3]) << 24);
    return static_cast<int32_t>(v);
}

void SetDealInt(int n, int offset, int32_t value) {
    uint8_t* e = DealEntry(n);
    if (!e || offset < 0 || offset + 4 > kDealEntrySize) return;
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        e[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

void SetDealText(int n, int offset, int width, const char* text) {
    uint8_t* e = DealEntry(n);
    if (!e || offset < 0 || width < 0 || offset + width > kDealEntrySize) return;
    int i = 0;
    for (; text && i < width && text[i]; ++i)
        e[offset + i] = static_cast<uint8_t>(text[i]);
    for (; i < width; ++i)
        e[offset + i] = 0;
}

void ResetContract() {
    g_contract = {-1, -1, -1, -1, -1, -1};
}

void ClearDealRecord() {
    std::memset(g_dealRecord, 0, sizeof g_dealRecord);
}

void ResetGame() {
    ResetContract();
    ClearDealRecord();
    g_nDeals = 0;
    g_score[0] = g_score[1] = 0;
    for (int place = 0; place < 4; ++place)
        if (g_pHand[place]) g_pHand[place]->AssignUser(UserAtPlace(place));
}

void RefreshComputerFlags() {
    for (int place = 0; place < 4; ++place)
        if (g_pHand[place]) g_pHand[place]->m_bComputer = IsComputerUser(UserAtPlace(place));
}

void ResetGameStateForStart() {
    for (int i = 0; i < 9; ++i)
        g_placeTable[i] = g_seatTable[i] = 0xFFFF;
    g_bSeated = g_bGameRunning = 0;
    g_bAutoPlay = 0;
    g_bComputerSearch = 0;
    g_nDealer = g_nBidder = -1;
    ResetContract();
    g_nBidRule = 4;
    g_nDeals = 0;
    g_score[0] = g_score[1] = 0;
    ClearDealRecord();
    std::memset(g_declare, 0, sizeof g_declare);
    g_bOverlay = 0;
    g_nMarkerPlace = -1;
    g_dwNextBlink = 0;
    g_nCardBack = 54;
    g_bStateAsked = g_bStateDone = g_bRestoring = g_bReplaying = g_bClickBusy = 0;
    g_dwLastChatTime = 0;
}

void DeleteGameObjects() {
    delete g_pTable;
    g_pTable = nullptr;
    for (auto& hand : g_pHand) {
        delete hand;
        hand = nullptr;
    }
    delete g_pDeck;
    g_pDeck = nullptr;
}
