#include "app/ScoreText.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "net/UsersList.h"
#include "rules/GameState.h"

namespace {

std::string Field(const uint8_t* entry, int offset, int width) {
    const char* p = reinterpret_cast<const char*>(entry + offset);
    return std::string(p, strnlen(p, static_cast<size_t>(width)));
}

bool IsNumber(const std::string& text) {
    if (text.empty()) return false;
    char* end = nullptr;
    std::strtol(text.c_str(), &end, 10);
    return *end == 0;
}

// The seating last seen while the game ran: the seat of each view place and the
// name at each seat.
struct Seating {
    int placeSeat[4] = {0, 0, 0, 0};
    std::string seatName[5];
};
Seating g_remembered;

std::string UserName(uint16_t user) {
    if (user >= kMaxUsers) return {};
    const char* n = g_UsersList[user].name;
    return std::string(n, strnlen(n, sizeof g_UsersList[0].name));
}

// The seat (1..4) of a view place in the seating as it is now, 0 when it does not say.
int LiveSeatOfPlace(int place) {
    const uint16_t user = g_placeTable[place];
    if (user == 0xFFFF) return 0;
    for (int seat = 1; seat <= 4; ++seat)
        if (g_seatTable[seat] == user) return seat;
    return 0;
}

int SeatOfPlace(int place) {
    const int seat = g_remembered.placeSeat[place];
    return seat != 0 ? seat : LiveSeatOfPlace(place);
}

std::string PartnershipName(int side) {
    const int a = SeatOfPlace(side), b = SeatOfPlace(side + 2);
    if (a == 0 || b == 0) return side == 0 ? "places 1 and 3" : "places 2 and 4";
    return std::to_string(a < b ? a : b) + " and " + std::to_string(a < b ? b : a);
}

int SeatOfName(const std::string& name) {
    for (int seat = 1; seat <= 4; ++seat)
        if (!name.empty() && g_remembered.seatName[seat] == name) return seat;
    for (int seat = 1; seat <= 4; ++seat)
        if (!name.empty() && UserName(g_seatTable[seat]) == name) return seat;
    return 0;
}

const char* TrumpName(int trump) {
    static const char* const names[] = {"clubs", "diamonds", "hearts", "spades", "no trump"};
    return trump >= 0 && trump <= 4 ? names[trump] : "?";
}

} // namespace

std::string ScoreSheetText() {
    const std::string side[2] = {PartnershipName(0), PartnershipName(1)};
    std::string out;
    int running[2] = {0, 0};
    for (int n = 0; n < g_nDeals && n < kDealEntries; ++n) {
        const uint8_t* e = DealEntry(n);
        if (!e) break;
        const std::string value = Field(e, kDealValue, kDealValueLen);
        const std::string declarer = Field(e, kDealDeclarer, kDealNameLen);
        out += "Deal " + std::to_string(n + 1) + ": contract ";
        if (value.empty()) {
            out += "none";
        } else {
            out += value + " " + TrumpName(GetDealInt(n, kDealTrump));
            const int level = GetDealInt(n, kDealDouble);
            if (level == 1) out += " doubled";
            if (level >= 2) out += " redoubled";
            out += " by " + (declarer.empty() ? std::string("?") : declarer);
            if (const int seat = SeatOfName(declarer))
                out += " (seat " + std::to_string(seat) + ")";
        }
        out += " | hand points " + side[0] + ": " + std::to_string(GetDealInt(n, kDealPoints0)) +
               ", " + side[1] + ": " + std::to_string(GetDealInt(n, kDealPoints1));
        out += " | result";
        for (int s = 0; s < 2; ++s) {
            // The sheet shows the running total after a deal that scored, else a marker.
            const std::string shown =
                Field(e, s == 0 ? kDealResult0 : kDealResult1, kDealResultLen);
            int gained = 0;
            if (IsNumber(shown)) {
                const int total = std::atoi(shown.c_str());
                gained = total - running[s];
                running[s] = total;
            }
            out += (s == 0 ? " " : ", ") + side[s] + ": " + std::to_string(gained) + " (" +
                   (shown.empty() ? std::string("-") : shown) + ")";
        }
        out += "\n";
    }
    out += "Total: " + side[0] + ": " + std::to_string(g_score[0]) + ", " + side[1] + ": " +
           std::to_string(g_score[1]) + "\n";
    return out;
}

void RememberSeating() {
    Seating now;
    for (int place = 0; place < 4; ++place) now.placeSeat[place] = LiveSeatOfPlace(place);
    for (int seat = 1; seat <= 4; ++seat) now.seatName[seat] = UserName(g_seatTable[seat]);
    // Only a full table is worth keeping: a seat emptied by a leaving player keeps
    // the name it had.
    for (int seat = 1; seat <= 4; ++seat)
        if (now.seatName[seat].empty()) return;
    for (int place = 0; place < 4; ++place)
        if (now.placeSeat[place] == 0) return;
    g_remembered = now;
}

void ForgetSeating() {
    g_remembered = Seating{};
}
