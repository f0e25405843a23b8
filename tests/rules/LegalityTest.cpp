// Which card may be played: a randomized cross-check against the rules of
// following suit, trumping and over-trumping.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/rules/RulesFixture.h"

namespace {

using Legality = RulesTable;

// Legality of a card the hand at `place` holds, with the reason when refused.
std::string Check(int place, int code) {
    const char* why = nullptr;
    const int ok = g_pTable->IsLegalCard(g_pHand[place], g_pHand[place]->FindSlot(code), &why);
    return ok ? "ok" : why ? why : "(none)";
}

// Strength within a suit by rank index (0 ace, 6 seven .. 12 king).
int PlainStrength(int code) {
    static const int s[13] = {7, 0, 0, 0, 0, 0, 0, 1, 2, 6, 3, 4, 5};
    return s[code / 4];
}
int TrumpStrength(int code) {
    static const int s[13] = {5, 0, 0, 0, 0, 0, 0, 1, 6, 4, 7, 2, 3};
    return s[code / 4];
}

struct Expectation {
    bool legal;
    std::string reason;
};

// The rules in words: follow the led suit; in a suit contract a player who cannot
// follow must trump when the opponents hold the trick, over-trumping them when they
// hold it with a trump, and may play anything when unable to over-trump; with the
// partner holding the trick only following is due; when trumps are led a higher
// trump than the winning one is due, even over the partner, else any trump, else
// anything. Without trumps only following is due.
Expectation Expected(const std::vector<int>& hand, int card, const std::vector<int>& trick,
                     int leader, int mover, int trump) {
    if (trick.empty()) return {true, ""};
    const int led = trick[0] % 4;
    const char* names[4] = {"club", "diamond", "heart", "Spade"};
    auto isTrump = [&](int c) { return trump < 4 && c % 4 == trump; };
    int best = 0;
    for (size_t i = 1; i < trick.size(); ++i) {
        const int w = trick[best], c = trick[i];
        if (isTrump(c) && (!isTrump(w) || TrumpStrength(c) > TrumpStrength(w)))
            best = static_cast<int>(i);
        if (!isTrump(c) && !isTrump(w) && c % 4 == w % 4 && PlainStrength(c) > PlainStrength(w))
            best = static_cast<int>(i);
    }
    const int winCard = trick[best];
    const int winner = (leader + best) % 4;
    auto any = [&](auto pred) { return std::any_of(hand.begin(), hand.end(), pred); };
    auto overTrumps = [&](int c) {
        return isTrump(c) && (!isTrump(winCard) || TrumpStrength(c) > TrumpStrength(winCard));
    };
    if (trump < 4 && led == trump) {
        if (any(overTrumps)) return {overTrumps(card), "bigger trump"};
        if (any(isTrump)) return {isTrump(card), names[trump]};
        return {true, ""};
    }
    if (any([&](int c) { return c % 4 == led; })) return {card % 4 == led, names[led]};
    if (trump == 4 || winner % 2 == mover % 2) return {true, ""};
    if (isTrump(winCard)) return {!any(overTrumps) || overTrumps(card), "bigger trump"};
    if (any(isTrump)) return {isTrump(card), names[trump]};
    return {true, ""};
}

TEST_F(Legality, AgreesWithTheRulesOverRandomDeals) {
    std::mt19937 rng(20261206);
    std::vector<int> codes = DeckCodes();
    int checked = 0, refused = 0;
    for (int deal = 0; deal < 400; ++deal) {
        for (auto* hand : g_pHand)
            hand->Clear();
        g_pTable->ResetTricks();
        g_pDeck->ReturnDealt();
        std::shuffle(codes.begin(), codes.end(), rng);
        for (int place = 0; place < 4; ++place)
            for (int i = 0; i < 8; ++i)
                Give(place, {codes[place * 8 + i]});
        const int trump = static_cast<int>(rng() % 5);
        SetContract(8, trump, static_cast<int>(rng() % 4));
        int mover = static_cast<int>(rng() % 4);
        // Play a random number of cards, each chosen among those the rules allow.
        const int cardsBefore = static_cast<int>(rng() % 31);
        for (int n = 0; n <= cardsBefore; ++n) {
            const int t = g_pTable->m_nCurTrick;
            const TrickInfo& info = g_pTable->m_tricks[t];
            std::vector<int> trick;
            for (int i = 0; i < info.count; ++i)
                trick.push_back(g_pTable->TrickCard(t, i));
            const int leader = info.count ? info.leader : mover;
            std::vector<int> hand;
            for (int slot = 0; slot < kPileSlots; ++slot)
                if (CCard* c = g_pHand[mover]->CardAt(slot)) hand.push_back(c->m_nCode);
            ASSERT_FALSE(hand.empty());
            std::vector<int> allowed;
            for (int card : hand) {
                const Expectation e = Expected(hand, card, trick, leader, mover, trump);
                const std::string got = Check(mover, card);
                ASSERT_EQ(got == "ok", e.legal)
                    << "trump " << trump << " card " << card << " trick size " << trick.size();
                if (!e.legal) {
                    ++refused;
                    EXPECT_EQ(got, e.reason) << "card " << card;
                } else {
                    allowed.push_back(card);
                }
                ++checked;
            }
            ASSERT_FALSE(allowed.empty()) << "some card is always playable";
            if (n == cardsBefore) break;
            g_pTable->PlayCard(mover, allowed[rng() % allowed.size()]);
            mover = g_contract.turn;
        }
    }
    EXPECT_GT(checked, 2000);
    EXPECT_GT(refused, 200);
    const char* why = nullptr;
    EXPECT_EQ(g_pTable->IsLegalCard(g_pHand[0], 40, &why), 0) << "an empty slot";
    EXPECT_EQ(g_pTable->IsLegalCard(nullptr, 0, &why), 0);
}

} // namespace
