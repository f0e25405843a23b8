#include "rules/Declarations.h"

#include <cstring>

#include "rules/CPlayerHand.h"
#include "rules/Cards.h"
#include "rules/GameState.h"

namespace {

struct Combination {
    int points;
    int rank;
    const char* word;
};

// Four of a kind for the natural position `pos` (7 = ace .. 2 = nine).
Combination FourOfAKind(int pos, bool noTrump) {
    switch (pos) {
    case 4: // jacks
        return noTrump ? Combination{100, 32, "4*X"} : Combination{200, 42, "4*X"};
    case 2: // nines
        return noTrump ? Combination{100, 31, "4*X"} : Combination{150, 41, "4*X"};
    case 7: // aces
        return noTrump ? Combination{200, 36, "4*X"} : Combination{100, 40, "4*X"};
    case 3: // tens
        return Combination{100, noTrump ? 35 : 39, "4*X"};
    case 6: // kings
        return Combination{100, noTrump ? 34 : 38, "4*X"};
    default: // queens
        return Combination{100, noTrump ? 33 : 37, "4*X"};
    }
}

// A run of `length` cards whose top card stands d ranks below the ace; s = 1 off trump.
Combination Sequence(int length, int d, int s) {
    if (length == 8) return {120, 30 - s, "100"};
    if (length >= 5) return {100, 30 - 2 * d - s, "100"};
    if (length == 4) return {50, 22 - 2 * d - s, "50"};
    return {20, 12 - 2 * d - s, "Terz"};
}

void Take(DeclarationResult& r, const Combination& c) {
    r.text += r.bestRank == 0 ? "" : " + ";
    r.text += c.word;
    r.points += c.points;
    if (c.rank > r.bestRank) r.bestRank = c.rank;
}

} // namespace

DeclarationResult FindDeclarations(uint32_t cards, int trump) {
    DeclarationResult r;
    r.text = "--> ";
    const bool noTrump = trump == kNoTrump;
    uint32_t w = cards;
    // Four of a kind: aces, kings, queens, jacks, tens, nines.
    for (int k = 0; k < 6; ++k) {
        uint32_t four = 0x80808080u >> k;
        if ((w & four) == four) {
            w &= ~four;
            Take(r, FourOfAKind(7 - k, noTrump));
        }
    }
    // Sequences, longest first; each run is taken out before shorter ones are sought.
    for (int length = 8; length >= 3; --length) {
        for (int d = 0; d <= 8 - length; ++d) {
            uint8_t run = static_cast<uint8_t>(((1u << length) - 1) << (8 - length - d));
            for (int suit = 0; suit < 4; ++suit) {
                uint32_t set = PlaceInSuit(run, suit);
                if ((w & set) != set) continue;
                w &= ~set;
                int s = !noTrump && suit == trump ? 0 : 1;
                Take(r, Sequence(length, d, s));
            }
        }
    }
    r.text += " <--";
    r.rest = w;
    return r;
}

bool EarnsTrumpPairBonus(const CPlayerHand& hand, int code, int trump) {
    if (trump < 0 || trump > 3 || code < 44 || code > 51 || SuitOf(code) != trump) return false;
    int other = code >= 48 ? code - 4 : code + 4; // the queen for a king, the king for a queen
    return hand.FindSlot(other) >= 0;
}

int PartnershipWinsDeclarations(int place) {
    if (place < 0 || place > 3) return 0;
    const DeclarationRecord& me = g_declare[place];
    if (!me.announced) return 0;
    int best = me.value;
    const DeclarationRecord& partner = g_declare[PartnerPlace(place)];
    if (partner.announced && partner.value > best) best = partner.value;
    const DeclarationRecord& next = g_declare[NextPlace(place)];
    if (next.announced) {
        if (next.value > best) return 0;
        if (next.value == best && next.shown) return 0;
    }
    const DeclarationRecord& prev = g_declare[PreviousPlace(place)];
    if (!prev.announced) return 1;
    if (prev.value > best) return 0;
    if (prev.value != best) return 1;
    return prev.shown ? 0 : 1;
}

void EvaluateDeclarations() {
    std::memset(g_declare, 0, sizeof g_declare);
    if (g_contract.trump < 0) return;
    for (int place = 0; place < 4; ++place) {
        CPlayerHand* hand = g_pHand[place];
        if (!hand) continue;
        hand->ComputeDeclaration(g_contract.trump);
        DeclarationRecord& rec = g_declare[place];
        rec.value = hand->m_nBestRank;
        const char* text = rec.value ? hand->m_declText.c_str() : g_szEmpty;
        std::strncpy(rec.text, text, sizeof rec.text - 1);
        rec.text[sizeof rec.text - 1] = '\0';
    }
}

int RoundTotal(int total) {
    return total / 10 + (total % 10 > 5 ? 1 : 0);
}
