// Which card may be played: the documented cases and a randomized cross-check
// against the rules of following suit, trumping and over-trumping.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/rules/RulesFixture.h"

namespace {

using Legality = RulesTable;

// Legality of the card the hand holds, with the reason when refused.
std::pair<int, std::string> Check(int place, int code) {
    const char* why = nullptr;
    int slot = g_pHand[place]->FindSlot(code);
    EXPECT_GE(slot, 0) << "place " << place << " lacks " << code;
    int ok = g_pTable->IsLegalCard(g_pHand[place], slot, &why);
    return {ok, ok ? std::string() : std::string(why ? why : "(none)")};
}

TEST_F(Legality, AnyCardLeadsATrick) {
    SetContract(8, kHeart, 0);
    Give(0, {Card(kSeven, kHeart), Card(kAce, kClub)});
    EXPECT_EQ(Check(0, Card(kSeven, kHeart)).first, 1);
    EXPECT_EQ(Check(0, Card(kAce, kClub)).first, 1);
}

TEST_F(Legality, PartnerWinningNeedNotTrump) {
    SetContract(8, kHeart, 1);
    Give(0, {Card(kAce, kSpade), Card(kSeven, kClub)});
    Give(1, {Card(kEight, kSpade)});
    Give(2, {Card(kSeven, kHeart), Card(kAce, kDiamond)});
    PlayTrick(0, {Card(kAce, kSpade), Card(kEight, kSpade)});
    EXPECT_EQ(Check(2, Card(kAce, kDiamond)).first, 1);
    EXPECT_EQ(Check(2, Card(kSeven, kHeart)).first, 1);
}

TEST_F(Legality, OpponentWinningMustBeTrumped) {
    SetContract(8, kHeart, 1);
    Give(1, {Card(kAce, kSpade)});
    Give(2, {Card(kSeven, kHeart), Card(kAce, kDiamond)});
    PlayTrick(1, {Card(kAce, kSpade)});
    EXPECT_EQ(Check(2, Card(kAce, kDiamond)), std::make_pair(0, std::string("heart")));
    EXPECT_EQ(Check(2, Card(kSeven, kHeart)).first, 1);
}

TEST_F(Legality, NoTrumpAboveTheJackFreesEveryCard) {
    SetContract(8, kHeart, 1);
    Give(1, {Card(kSeven, kSpade)});
    Give(2, {Card(kJack, kHeart)});
    Give(3, {Card(kSeven, kHeart), Card(kAce, kDiamond)});
    PlayTrick(1, {Card(kSeven, kSpade), Card(kJack, kHeart)});
    EXPECT_EQ(Check(3, Card(kAce, kDiamond)).first, 1);
    EXPECT_EQ(Check(3, Card(kSeven, kHeart)).first, 1);
}

TEST_F(Legality, TrumpLeadMustBeOvertrumped) {
    SetContract(8, kHeart, 0);
    Give(0, {Card(kNine, kHeart)});
    Give(1, {Card(kJack, kHeart), Card(kSeven, kHeart)});
    Give(3, {Card(kSeven, kClub), Card(kEight, kHeart), Card(kAce, kSpade)});
    PlayTrick(0, {Card(kNine, kHeart)});
    EXPECT_EQ(Check(1, Card(kSeven, kHeart)), std::make_pair(0, std::string("bigger trump")));
    EXPECT_EQ(Check(1, Card(kJack, kHeart)).first, 1);
    // Unable to over-trump: any trump, and only a trump.
    g_pHand[1]->RemoveAt(g_pHand[1]->FindSlot(Card(kJack, kHeart)));
    EXPECT_EQ(Check(1, Card(kSeven, kHeart)).first, 1);
    EXPECT_EQ(Check(3, Card(kEight, kHeart)).first, 1);
    EXPECT_EQ(Check(3, Card(kSeven, kClub)), std::make_pair(0, std::string("heart")));
}

TEST_F(Legality, FollowingSuitComesFirst) {
    SetContract(8, kHeart, 0);
    Give(0, {Card(kKing, kSpade)});
    Give(1, {Card(kSeven, kSpade), Card(kJack, kHeart)});
    PlayTrick(0, {Card(kKing, kSpade)});
    EXPECT_EQ(Check(1, Card(kJack, kHeart)), std::make_pair(0, std::string("Spade")));
    EXPECT_EQ(Check(1, Card(kSeven, kSpade)).first, 1);
}

TEST_F(Legality, WithoutTrumpsOnlyFollowingIsEnforced) {
    SetContract(8, kNoTrump, 0);
    Give(0, {Card(kSeven, kClub)});
    Give(1, {Card(kAce, kSpade)});
    Give(2, {Card(kEight, kClub), Card(kAce, kHeart)});
    Give(3, {Card(kAce, kDiamond)});
    PlayTrick(0, {Card(kSeven, kClub), Card(kAce, kSpade)});
    EXPECT_EQ(Check(2, Card(kAce, kHeart)), std::make_pair(0, std::string("club")));
    EXPECT_EQ(Check(3, Card(kAce, kDiamond)).first, 1);
}

TEST_F(Legality, RefusesAnEmptySlot) {
    const char* why = nullptr;
    EXPECT_EQ(g_pTable->IsLegalCard(g_pHand[0], 5, &why), 0);
    EXPECT_EQ(g_pTable->IsLegalCard(nullptr, 0, &why), 0);
}

// ---- randomized cross-check ----

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
    int best = 0;
    for (size_t i = 1; i < trick.size(); ++i) {
        int w = trick[best], c = trick[i];
        bool wTrump = trump < 4 && w % 4 == trump, cTrump = trump < 4 && c % 4 == trump;
        if (cTrump && (!wTrump || TrumpStrength(c) > TrumpStrength(w))) best = static_cast<int>(i);
        if (!cTrump && !wTrump && c % 4 == w % 4 && PlainStrength(c) > PlainStrength(w))
            best = static_cast<int>(i);
    }
    const int winCard = trick[best];
    const int winner = (leader + best) % 4;
    auto any = [&](auto pred) { return std::any_of(hand.begin(), hand.end(), pred); };
    auto isTrump = [&](int c) { return trump < 4 && c % 4 == trump; };
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
    if (isTrump(winCard)) {
        if (any(overTrumps)) return {overTrumps(card), "bigger trump"};
        return {true, ""};
    }
    if (any(isTrump)) return {isTrump(card), names[trump]};
    return {true, ""};
}

TEST_F(Legality, AgreesWithTheRulesOverRandomDeals) {
    std::mt19937 rng(20261206);
    std::vector<int> codes = {0, 1, 2, 3};
    for (int c = 24; c < 52; ++c)
        codes.push_back(c);
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
                Expectation e = Expected(hand, card, trick, leader, mover, trump);
                const char* why = nullptr;
                int got =
                    g_pTable->IsLegalCard(g_pHand[mover], g_pHand[mover]->FindSlot(card), &why);
                ASSERT_EQ(got, e.legal ? 1 : 0)
                    << "trump " << trump << " card " << card << " trick size " << trick.size();
                if (!e.legal) {
                    ++refused;
                    ASSERT_NE(why, nullptr);
                    EXPECT_EQ(std::string(why), e.reason) << "card " << card;
                }
                if (e.legal) allowed.push_back(card);
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
}

} // namespace
