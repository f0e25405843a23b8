// Writing the game state as a game record. The record holds seats, not places,
// and the partnership of seats 2 and 4 first, so that it means the same on every
// program. Layout of the outer SEQUENCE, in order:
//   1. SEQUENCE of six pairs {kind, INTEGER}: 2 dealer's seat, 3 pass limit,
//      4 seat to call, 5 deals played, 6 and 7 the two totals;
//   2. contract {9, value, trump, doubler, redoubler, declarer, turn (seats)};
//   3. bidding state {18, BIT STRING};
//   4. table {17, BIT STRING of 106 bytes};
//   5. hands of seats 1..4 {9 + seat, 52 card bytes, selected set, points,
//      may-declare, computer, wins-declarations};
//   (the game flow's chat lines {1, strings...} and pending game {19, BIT STRING})
//   6. deal record {8, PrintableString of the entries played, zero bytes as 255}.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "record/CRecordBuffer.h"

// Each writes its part in front of the list, or returns the list unchanged when
// the part is absent.
RecordPtr PutDealRecord(RecordPtr list);     // when g_nDeals is not negative
RecordPtr PutHand(int seat, RecordPtr list); // when the seat's place has a hand
RecordPtr PutTable(RecordPtr list);          // when the table pile exists
RecordPtr PutBidding(RecordPtr list);        // when the view has a bidding panel
RecordPtr PutContract(RecordPtr list);       // when the contract's turn is not -1
// The six pairs, wrapped in their SEQUENCE.
RecordPtr PutGameValues(RecordPtr list);
// Chat lines (kind 1), oldest first; each line is cut at kMaxChatLine bytes and at
// a zero byte, and empty lines are left out. Nothing without lines.
RecordPtr PutChatLines(std::span<const std::string> lines, RecordPtr list);
// A whole game record nested as kind 19; nothing without one.
RecordPtr PutPendingGame(const CRecordBuffer* record, RecordPtr list);

// Builds the whole record from the game state, with the game flow's further
// elements (chat lines, pending game) placed between the hands and the deal
// record. Null when the record would not fit into 65535 bytes.
RecordPtr BuildGameRecord(RecordPtr extras = nullptr);

// The own user holds seat 1 or 3: the totals are kept the other way round.
bool OwnSeatIsOdd();
// Swaps the two partnerships: the totals and, in deal record entries 0..g_nDeals,
// the two result fields and the two hand-point fields.
void SwapPartnerships();
