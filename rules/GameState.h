// The table-wide game state of this program: who sits where, the deal and the
// contract, the scores, the mode switches and the objects that hold the cards.
// Places here are this program's view places (0 = own player at the bottom).
#pragma once

#include <atomic>
#include <cstdint>

class CConn;
class CCardPile;
class CPlayerHand;
class CTrickPile;
class IMainFrame;
class ITableView;

// The contract of the current deal; -1 = none in every field.
struct Contract {
    int32_t value;       // contract value as called (8 = 80 points)
    int32_t trump;       // 0..3 trump suit, 4 = no trump
    int32_t doubledBy;   // place that doubled
    int32_t redoubledBy; // place that redoubled
    int32_t declarer;    // place that holds the contract
    int32_t turn;        // place whose card is awaited
};

struct DeclarationRecord {
    int announced; // announced in this deal
    int shown;     // finished showing the declared cards
    int value;     // best rank code of the place's declarations, 0 = none
    char text[80]; // announcement text
};

// ---- objects ----
extern CConn* g_pConn;
extern IMainFrame* g_pMainFrame;
extern ITableView* g_pView;
extern CCardPile* g_pDeck;
extern CPlayerHand* g_pHand[4]; // index = place
extern CTrickPile* g_pTable;

// ---- players and places ----
extern uint16_t g_placeTable[9]; // user id at each view place 0..3; 0xFFFF = none
extern uint16_t g_seatTable[9];  // user id holding each seat 1..4; 0xFFFF = none
extern int g_bSeated;
extern int g_bGameRunning;
// Read by the bid-evaluation worker as well, hence atomic.
extern std::atomic<int> g_bAutoPlay;
extern std::atomic<int> g_bComputerSearch;

// ---- deal and contract ----
extern int32_t g_nDealer;   // -1
extern int32_t g_nBidder;   // -1
extern Contract g_contract; // all -1
extern int32_t g_nBidRule;  // 4
extern int32_t g_nDeals;    // 0
extern int32_t g_score[2];  // [0] = places 0 and 2, [1] = places 1 and 3

// The deal record: 26 entries of 47 bytes, then two spare bytes.
constexpr int kDealRecordSize = 1222;
constexpr int kDealEntrySize = 47;
constexpr int kDealEntries = 26;
// Field offsets inside one entry. Integers are 32-bit little-endian.
constexpr int kDealResult0 = 0;   // 4 chars: partnership 0 total or marker
constexpr int kDealResult1 = 4;   // 4 chars: partnership 1
constexpr int kDealValue = 8;     // 3 chars: contract value as decimal text
constexpr int kDealTrump = 11;    // int32
constexpr int kDealDouble = 15;   // int32: 0 none, 1 doubled, 2 redoubled
constexpr int kDealPoints0 = 19;  // int32: partnership 0 hand points
constexpr int kDealPoints1 = 23;  // int32: partnership 1 hand points
constexpr int kDealDeclarer = 27; // 20 chars: declarer's name
constexpr int kDealResultLen = 4;
constexpr int kDealValueLen = 3;
constexpr int kDealNameLen = 20;
extern uint8_t g_dealRecord[kDealRecordSize];

// Entry n of the deal record, or null when n is outside 0..25.
uint8_t* DealEntry(int n);
// 32-bit little-endian field of entry n; writes to a missing entry are dropped, reads give 0.
int32_t GetDealInt(int n, int offset);
void SetDealInt(int n, int offset, int32_t value);
// Text field of entry n: copies at most `width` bytes of text and zero-fills the rest.
void SetDealText(int n, int offset, int width, const char* text);

extern DeclarationRecord g_declare[4]; // index = place

// ---- program modes and user interface state ----
extern int g_bOverlay;
extern int32_t g_nMarkerPlace; // -1
extern uint32_t g_dwNextBlink;
extern int32_t g_nCardBack; // 54
extern int g_bStateAsked;
extern int g_bStateDone;
extern int g_bRestoring;
extern int g_bReplaying;
extern int g_bClickBusy;
extern uint32_t g_dwLastChatTime;
extern const char g_szEmpty[1];

// Contract all -1.
void ResetContract();
// Deal record all zero.
void ClearDealRecord();
// Contract all -1, deal record cleared, no deals, totals 0, each hand gets the user at its place.
void ResetGame();
// For each place with a hand: the hand's computer flag := IsComputerUser(UserAtPlace(place)).
void RefreshComputerFlags();
// Puts every variable above back to its start-up value (objects and connection untouched).
void ResetGameStateForStart();
// Deletes the table pile, the four hands and the deck and clears their pointers.
void DeleteGameObjects();
