// Scoring of a finished deal from the tricks on the table pile.
#include <cstdio>

#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/Declarations.h"
#include "rules/GameState.h"
#include "rules/TableView.h"

void CTrickPile::ScoreDeal() {
    const int declarer = g_contract.declarer;
    // Without a contract there is nothing to score.
    if (declarer < 0 || declarer > 3) return;
    const int D = PartnershipOf(declarer);
    const int V = g_contract.value;
    const int trump = g_contract.trump;

    // Tricks: every card of a finished trick goes to the side that won it.
    int cardPoints[2] = {0, 0};
    bool took[2] = {false, false};
    int lastWinner = -1;
    for (int t = 0; t < m_nCurTrick && t < kMaxTricks; ++t) {
        const int side = PartnershipOf(m_tricks[t].winner);
        if (side < 0 || side > 1) continue;
        took[side] = true;
        lastWinner = side;
        for (int i = 0; i < m_nCardsPerTrick; ++i)
            if (const CCard* card = CardAt(t * m_nCardsPerTrick + i))
                cardPoints[side] += PointsOfSet(card->m_natSet, trump);
    }
    if (!took[0]) {
        cardPoints[0] = 0;
        cardPoints[1] = 250;
    } else if (!took[1]) {
        cardPoints[0] = 250;
        cardPoints[1] = 0;
    } else {
        cardPoints[lastWinner] += 10;
    }

    int handPoints[2] = {0, 0};
    for (int place = 0; place < 4; ++place)
        if (g_pHand[place]) handPoints[PartnershipOf(place)] += g_pHand[place]->m_nPoints;

    char line[128];
    std::snprintf(line, sizeof line, "Referee> ***Our Score(%d/%d)***Their Score(%d/%d)***",
                  cardPoints[0], handPoints[0], cardPoints[1], handPoints[1]);
    if (g_pMainFrame) g_pMainFrame->AddChatLine(-1, line);

    int total[2] = {cardPoints[0] + handPoints[0], cardPoints[1] + handPoints[1]};
    bool failed[2] = {false, false};
    if (V * 10 > total[D]) {
        if (!took[1 - D]) total[D] -= 250 - 162;
        total[1 - D] += total[D];
        total[D] = 0;
        failed[D] = true;
    }
    int R[2] = {RoundTotal(total[0]), RoundTotal(total[1])};

    int m = 1;
    if (g_contract.doubledBy != -1) {
        const int doubler = PartnershipOf(g_contract.doubledBy);
        if (doubler == 1 && !failed[0]) {
            R[0] += R[1];
            R[1] = 0;
            failed[1] = true;
        } else if (doubler == 0 && !failed[1]) {
            R[1] += R[0];
            R[0] = 0;
            failed[0] = true;
        }
        m = g_contract.redoubledBy != -1 ? 4 : 2;
    }
    R[failed[D] ? 1 - D : D] += V * m;

    g_score[0] += R[0];
    g_score[1] += R[1];

    SetDealInt(g_nDeals, kDealPoints0, handPoints[0]);
    SetDealInt(g_nDeals, kDealPoints1, handPoints[1]);
    for (int side = 0; side < 2; ++side) {
        char text[16];
        if (R[side] != 0)
            std::snprintf(text, sizeof text, "%d", g_score[side]);
        else if (side == D)
            std::snprintf(text, sizeof text, "%s", took[side] ? "#" : "###");
        else
            std::snprintf(text, sizeof text, "%s", took[side] ? "-" : "<@>");
        SetDealText(g_nDeals, side == 0 ? kDealResult0 : kDealResult1, kDealResultLen, text);
    }
}
