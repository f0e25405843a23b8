#include "rules/Cards.h"

#include <bit>

#include "net/Conn.h"
#include "net/UsersList.h"
#include "platform/TextMark.h"
#include "rules/GameState.h"

namespace {

// Named in the status line's "Play a %s." (translated there).
const char* const kSuitNames[4] = {
    VESK_TRANSLATE_NOOP("Vesk", "club"), VESK_TRANSLATE_NOOP("Vesk", "diamond"),
    VESK_TRANSLATE_NOOP("Vesk", "heart"), VESK_TRANSLATE_NOOP("Vesk", "Spade")};

// Every bit strictly above the one-bit byte `bit`.
uint8_t BitsAbove(uint8_t bit) {
    uint32_t above = 0;
    for (int i = 1; i <= 8; ++i)
        above |= static_cast<uint32_t>(bit) << i;
    return static_cast<uint8_t>(above);
}

bool IsUserId(int user) {
    return user >= 0 && user < kMaxUsers;
}

} // namespace

int SuitOf(int code) {
    return code % 4;
}

const char* SuitName(int suit) {
    return suit >= 0 && suit < 4 ? kSuitNames[suit] : "";
}

int NaturalPos(int code) {
    return ((code < 4 ? code + 52 : code) - 24) / 4;
}

uint8_t NaturalBit(int code) {
    int pos = NaturalPos(code);
    return pos >= 0 && pos < 8 ? static_cast<uint8_t>(1u << pos) : 0;
}

uint8_t PlainBit(int code) {
    return NaturalBitToPlain(NaturalBit(code));
}

uint8_t TrumpBit(int code) {
    return NaturalBitToTrump(NaturalBit(code));
}

uint32_t NaturalCardSet(int code) {
    return PlaceInSuit(NaturalBit(code), SuitOf(code));
}

uint32_t PlainCardSet(int code) {
    return PlaceInSuit(PlainBit(code), SuitOf(code));
}

uint32_t TrumpCardSet(int code) {
    return PlaceInSuit(TrumpBit(code), SuitOf(code));
}

uint32_t HigherTrumps(int code) {
    return PlaceInSuit(BitsAbove(TrumpBit(code)), SuitOf(code));
}

uint8_t NaturalBitToPlain(uint8_t bit) {
    return static_cast<uint8_t>(NaturalToPlainSet(bit));
}

uint8_t PlainBitToTrump(uint8_t bit) {
    return static_cast<uint8_t>(PlainToTrumpSet(bit));
}

uint8_t NaturalBitToTrump(uint8_t bit) {
    return PlainBitToTrump(NaturalBitToPlain(bit));
}

uint8_t SuitByte(uint32_t set, int suit) {
    return suit >= 0 && suit < 4 ? static_cast<uint8_t>(set >> (8 * suit)) : 0;
}

uint32_t PlaceInSuit(uint8_t byte, int suit) {
    return suit >= 0 && suit < 4 ? static_cast<uint32_t>(byte) << (8 * suit) : 0;
}

uint32_t NaturalToPlainSet(uint32_t set) {
    return ((set >> 1) & 0x38383838u) | ((set & 0x08080808u) << 3) | (set & 0x87878787u);
}

uint32_t PlainToTrumpSet(uint32_t set) {
    return ((set & 0x0C0C0C0Cu) << 4) | ((set >> 2) & 0x3C3C3C3Cu) | (set & 0x03030303u);
}

uint32_t TrumpToPlainSet(uint32_t set) {
    return ((set & 0x3C3C3C3Cu) << 2) | ((set >> 4) & 0x0C0C0C0Cu) | (set & 0x03030303u);
}

uint32_t PlainToNaturalSet(uint32_t set) {
    return ((set >> 3) & 0x08080808u) | ((set & 0x38383838u) << 1) | (set & 0x87878787u);
}

uint32_t NaturalToTrumpSet(uint32_t set) {
    return PlainToTrumpSet(NaturalToPlainSet(set));
}

uint32_t TrumpToNaturalSet(uint32_t set) {
    return PlainToNaturalSet(TrumpToPlainSet(set));
}

int CountBits8(uint8_t byte) {
    return std::popcount(byte);
}

int CountBits32(uint32_t set) {
    return std::popcount(set);
}

uint8_t HighestBit(uint8_t byte) {
    return byte ? static_cast<uint8_t>(std::bit_floor(byte)) : 0;
}

uint8_t LowestBit(uint8_t byte) {
    return static_cast<uint8_t>(byte & (~byte + 1));
}

uint8_t DropHighest(uint8_t byte) {
    return static_cast<uint8_t>(byte & ~HighestBit(byte));
}

uint8_t DropLowest(uint8_t byte) {
    return static_cast<uint8_t>(byte & (byte - 1));
}

uint16_t FirstSuitOf(uint32_t set) {
    for (int suit = 0; suit < 4; ++suit) {
        uint8_t byte = SuitByte(set, suit);
        if (byte) return static_cast<uint16_t>((suit << 8) | byte);
    }
    return 0;
}

uint32_t ExpandPacked(uint16_t packed) {
    return PlaceInSuit(static_cast<uint8_t>(packed), packed >> 8);
}

uint32_t HigherAsTrump(uint16_t packed) {
    uint8_t bit = NaturalBitToTrump(static_cast<uint8_t>(packed));
    return PlaceInSuit(BitsAbove(bit), packed >> 8);
}

uint32_t HigherAsPlain(uint16_t packed) {
    uint8_t bit = NaturalBitToPlain(static_cast<uint8_t>(packed));
    return PlaceInSuit(PlainBitToTrump(BitsAbove(bit)), packed >> 8);
}

int CardPoints(uint16_t packed, int trump) {
    static const int kTrumpPoints[8] = {0, 0, 14, 10, 20, 3, 4, 11};
    static const int kPlainPoints[8] = {0, 0, 0, 10, 2, 3, 4, 11};
    static const int kNoTrumpPoints[8] = {0, 0, 0, 10, 2, 3, 4, 19};
    uint8_t byte = static_cast<uint8_t>(packed);
    if (CountBits8(byte) != 1) return 0;
    int pos = std::countr_zero(byte);
    int suit = packed >> 8;
    if (trump == kNoTrump) return kNoTrumpPoints[pos];
    if (suit == trump) return kTrumpPoints[pos];
    return kPlainPoints[pos];
}

int PointsOfSet(uint32_t set, int trump) {
    return CardPoints(FirstSuitOf(set), trump);
}

int CodeOfNaturalSet(uint32_t set) {
    uint16_t packed = FirstSuitOf(set);
    if (!packed) return -1;
    int pos = std::countr_zero(LowestBit(static_cast<uint8_t>(packed)));
    int code = pos * 4 + 24 + (packed >> 8);
    return code >= 52 ? code - 52 : code;
}

// ---- places and seats ----

int NextPlace(int p) {
    return (p + 1) % 4;
}
int PartnerPlace(int p) {
    return (p + 2) % 4;
}
int PreviousPlace(int p) {
    return (p + 3) % 4;
}
int PartnershipOf(int p) {
    return p % 2;
}

uint16_t UserAtPlace(int place) {
    return place >= 0 && place < 4 ? g_placeTable[place] : kNoUser;
}

uint16_t UserOfSeat(int seat) {
    return seat >= 1 && seat <= 7 ? g_seatTable[seat] : kNoUser;
}

int PlaceOfUser(int user) {
    return IsUserId(user) ? static_cast<int16_t>(g_UsersList[user].aux) : -1;
}

int SeatOfUser(int user) {
    return IsUserId(user) ? g_UsersList[user].state & 7 : 0;
}

int PlaceOfSeat(int seat) {
    return PlaceOfUser(UserOfSeat(seat));
}

int SeatOfPlace(int place) {
    return SeatOfUser(UserAtPlace(place));
}

bool IsComputerUser(int user) {
    return IsUserId(user) && g_UsersList[user].owner != user;
}

int OwnUserId() {
    return g_pConn ? g_pConn->m_nUserId : -1;
}

bool IsUserHandledHere(int user) {
    if (!IsUserId(user) || g_bRestoring) return false;
    int own = OwnUserId();
    return own >= 0 && g_UsersList[user].owner == own;
}

bool IsPlaceHandledHere(int place) {
    return IsUserHandledHere(UserAtPlace(place));
}

bool IsPlaceAutoPlayed(int place) {
    int user = UserAtPlace(place);
    if (IsUserHandledHere(user) && IsComputerUser(user)) return true;
    return place == 0 && g_bSeated && g_bAutoPlay;
}

int RebuildSeating() {
    for (int i = 0; i < 9; ++i) {
        g_seatTable[i] = kNoUser;
        g_placeTable[i] = kNoUser;
    }
    const int own = OwnUserId();
    int ownSeat = 0;
    int started = 0;
    for (int id = 0; id < kMaxUsers; ++id) {
        USERINFO& u = g_UsersList[id];
        if (u.name[0] == '\0') continue;
        int seat = u.state & 7;
        if (seat == 0 || g_seatTable[seat] != kNoUser) {
            // Not seated, or the seat already went to a lower user id.
            u.state = 0;
            u.aux = 0xFFFF;
            continue;
        }
        g_seatTable[seat] = static_cast<uint16_t>(id);
        g_placeTable[seat % 4] = static_cast<uint16_t>(id);
        u.aux = static_cast<uint16_t>(seat % 4);
        if (u.state & 0x8000) ++started;
        if (id == own) ownSeat = seat;
    }
    g_bSeated = ownSeat != 0;
    g_bGameRunning = started >= 4;
    if (g_bSeated) {
        for (int seat = 1; seat <= 7; ++seat) {
            uint16_t id = g_seatTable[seat];
            if (id == kNoUser) continue;
            int place = ((seat - ownSeat) % 4 + 4) % 4;
            g_UsersList[id].aux = static_cast<uint16_t>(place);
            g_placeTable[place] = id;
        }
    } else {
        g_bAutoPlay = 0;
        g_bComputerSearch = 0;
    }
    return g_bGameRunning;
}
