// Card codes, the three rank orders, card sets, and the place/seat lookups.
//
// A card is a code 0..51 (rankIndex * 4 + suit; suit 0 club, 1 diamond,
// 2 heart, 3 spade; rankIndex 0 = ace .. 12 = king). The game uses the aces
// (0..3) and the sevens to the kings (24..51). A card set is a 32-bit word with
// one byte per suit (club in the lowest byte), each bit a rank position in one
// of the three orders (natural, plain, trump). A packed suit rank is a 16-bit
// value: low byte a rank byte, high byte the suit.
#pragma once

#include <cstdint>

#include "net/UsersList.h" // kNoUser, the user list the seat lookups read

constexpr int kClub = 0;
constexpr int kDiamond = 1;
constexpr int kHeart = 2;
constexpr int kSpade = 3;
constexpr int kNoTrump = 4; // trump value of a contract without trumps

constexpr int kNoCard = -1;
constexpr uint8_t kEmptyCardByte = 255;

// ---- single cards ----
int SuitOf(int code);           // code % 4 (signed remainder)
const char* SuitName(int suit); // "club", "diamond", "heart", "Spade"; "" outside 0..3
int NaturalPos(int code);       // 0 (seven) .. 7 (ace)
uint8_t NaturalBit(int code);   // 1 << NaturalPos
uint8_t PlainBit(int code);     // the card's bit in plain order
uint8_t TrumpBit(int code);     // the card's bit in trump order
uint32_t NaturalCardSet(int code);
uint32_t PlainCardSet(int code);
uint32_t TrumpCardSet(int code);
uint32_t HigherTrumps(int code); // trump-coded set of the suit's cards above it in trump order

// ---- rank bytes and sets ----
uint8_t NaturalBitToPlain(uint8_t bit);
uint8_t PlainBitToTrump(uint8_t bit);
uint8_t NaturalBitToTrump(uint8_t bit);
uint8_t SuitByte(uint32_t set, int suit);     // 0 when suit is not 0..3
uint32_t PlaceInSuit(uint8_t byte, int suit); // byte << 8*suit; 0 when suit is not 0..3
uint32_t NaturalToPlainSet(uint32_t set);
uint32_t PlainToTrumpSet(uint32_t set);
uint32_t TrumpToPlainSet(uint32_t set);
uint32_t PlainToNaturalSet(uint32_t set);
uint32_t NaturalToTrumpSet(uint32_t set);
uint32_t TrumpToNaturalSet(uint32_t set);
int CountBits8(uint8_t byte);
int CountBits32(uint32_t set);
uint8_t HighestBit(uint8_t byte);
uint8_t LowestBit(uint8_t byte);
uint8_t DropHighest(uint8_t byte);
uint8_t DropLowest(uint8_t byte);
uint16_t FirstSuitOf(uint32_t set); // (suit << 8) | byte of the lowest non-empty suit; 0 if empty
uint32_t ExpandPacked(uint16_t packed);     // byte placed in its suit
uint32_t HigherAsTrump(uint16_t packed);    // packed natural one-bit rank; trump-coded set above it
uint32_t HigherAsPlain(uint16_t packed);    // above it in plain order, result in trump coding
int CardPoints(uint16_t packed, int trump); // packed natural one-bit rank
int PointsOfSet(uint32_t set, int trump);   // CardPoints(FirstSuitOf(set), trump)

// Code of the card whose natural one-card set is given (lowest card of the set); -1 if empty.
int CodeOfNaturalSet(uint32_t set);

// ---- places and seats ----
// Places are this program's view (0 bottom = own player, 1 left, 2 top, 3 right);
// seats 1..4 are network-wide.
int NextPlace(int p);
int PartnerPlace(int p);
int PreviousPlace(int p);
int PartnershipOf(int p);

uint16_t UserAtPlace(int place); // kNoUser outside 0..3
uint16_t UserOfSeat(int seat);   // kNoUser outside 1..7
int PlaceOfUser(int user);       // the user's aux as signed 16 bits; -1 outside 0..254
int SeatOfUser(int user);        // state & 7; 0 outside 0..254
int PlaceOfSeat(int seat);
int SeatOfPlace(int place);
bool IsComputerUser(int user);    // the entry's owner differs from its id
bool IsUserHandledHere(int user); // owned by this program's user (never while restoring)
bool IsPlaceHandledHere(int place);
bool IsPlaceAutoPlayed(int place);
// This program's own user id from the connection object; -1 without one.
int OwnUserId();
// Rebuilds the seat and place tables, every user's aux, g_bSeated and
// g_bGameRunning from the user list. Returns g_bGameRunning.
int RebuildSeating();
