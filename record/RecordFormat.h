// The game record's encoding: a small subset of the tag-length-value rules of
// ASN.1 BER. Every element is a tag byte, a length and that many content bytes;
// lengths and integers are big-endian.
#pragma once

#include <cstddef>
#include <cstdint>

// Tags.
constexpr uint8_t kTagInteger = 0x02;
constexpr uint8_t kTagBitString = 0x03;
constexpr uint8_t kTagOctetString = 0x04; // read only
constexpr uint8_t kTagKind = 0x06;        // OBJECT IDENTIFIER: the kind of what follows
constexpr uint8_t kTagString = 0x13;      // PrintableString
constexpr uint8_t kTagTime = 0x17;        // UTCTime, read only
constexpr uint8_t kTagSequence = 0x30;
constexpr uint8_t kTagSet = 0x31; // read only

// Kinds: what the elements after an OBJECT IDENTIFIER mean.
constexpr int kKindNone = 0;
constexpr int kKindChat = 1;    // chat lines, each a PrintableString
constexpr int kKindDealer = 2;  // seat of the dealer
constexpr int kKindBidRule = 3; // pass limit of the bidding
constexpr int kKindBidder = 4;  // seat to call
constexpr int kKindDeals = 5;   // deals played
constexpr int kKindScore0 = 6;  // total of the partnership of seats 2 and 4
constexpr int kKindScore1 = 7;  // total of the partnership of seats 1 and 3
constexpr int kKindDealRecord = 8;
constexpr int kKindContract = 9;
constexpr int kKindHandFirst = 10; // hand of seat (kind - 9)
constexpr int kKindHandLast = 16;
constexpr int kKindTable = 17;
constexpr int kKindBidding = 18;
constexpr int kKindPendingGame = 19;
constexpr int kKindLast = 19;

// Length forms: one byte below 128; 0x81 and one byte up to 254; 0x82 and two bytes above.
constexpr uint8_t kLengthOneMore = 0x81;
constexpr uint8_t kLengthTwoMore = 0x82;

// Bytes of one hand's stored cards (code + 1 per slot, 255 when empty).
constexpr size_t kHandRecordSize = 52;
// Constructed elements deeper than this make a record malformed.
constexpr int kMaxRecordDepth = 8;
