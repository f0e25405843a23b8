#include "display/TrickGatherer.h"

#include "display/DisplayPace.h"
#include "display/TablePicture.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/GameState.h"

#include <QImage>

QPoint CTrickGatherer::StepTowards(int winner, int width, int height, int cardWidth,
                                   int cardHeight) {
    const int sx = (width / 2 + cardWidth + 60) / 4;
    const int sy = (height / 2 + cardHeight + 45) / 4;
    switch (winner) {
    case 1:
        return {-sx, 0};
    case 2:
        // The top side is nearer: half a step, the half rounded toward zero.
        return {0, -(sy / 2)};
    case 3:
        return {sx, 0};
    default:
        return {0, sy};
    }
}

void CTrickGatherer::Run(CTrickPile& pile, int animate) {
    if (!m_view.HasSurface()) return;
    // The view may be destroyed while messages are dispatched; after every
    // dispatch only this token is looked at until it says the view lives.
    const auto alive = m_view.AliveToken();
    auto gone = [&alive, this] { return !*alive || !m_view.HasSurface(); };

    const ViewSize client = m_view.ClientSize();
    const ViewSize card = m_view.StandardCardSize();
    const int cw = card.cx, ch = card.cy;
    const int trick = pile.m_nCurTrick;
    if (trick < 0 || trick >= kMaxTricks) return;
    const int first = trick * pile.m_nCardsPerTrick;
    const int count = pile.m_tricks[trick].count;
    const QPoint step = StepTowards(pile.m_tricks[trick].winner, client.cx, client.cy, cw, ch);

    for (CPlayerHand* hand : g_pHand)
        if (hand) hand->CancelShow();
    m_view.Pump();
    if (gone()) return;
    m_view.Pause(CDisplayPace::Scaled(kPauseMs));
    if (gone()) return;

    const QSize scratchSize(cw + 2, ch + 2);
    for (int i = 0; i < count; ++i) {
        const int slot = first + i;
        if (slot < 0 || slot >= kPileSlots) break;
        CCard* moving = pile.CardAt(slot);
        if (!moving) continue;
        moving->Erase(false);
        if (!animate) continue;
        // Cards played later may overlap this one: keep them whole.
        for (int j = i + 1; j < count && first + j < kPileSlots; ++j)
            if (CCard* later = pile.CardAt(first + j)) later->Draw(false);

        // Messages are dispatched between frames; keep what the frames need.
        const int code = moving->m_nCode;
        QPoint at(moving->m_nX, moving->m_nY);
        const QPoint margin(1, 1);
        QImage scratch = m_view.SaveRect(QRect(at - margin, scratchSize));
        for (int frame = 0; frame < kFrames; ++frame) {
            if (gone()) return;
            if (frame > 0) {
                m_view.RestoreRect(QRect(at - step - margin, scratchSize), scratch);
                if (frame == kFrames - 1) {
                    m_view.Invalidate();
                    m_view.Pump();
                    if (gone()) return;
                    break;
                }
                scratch = m_view.SaveRect(QRect(at - margin, scratchSize));
            }
            m_view.DrawCard(at.x(), at.y(), -1, -1, code, CCardRenderer::kModeFace, 0);
            m_view.Invalidate();
            m_view.Pump();
            if (gone()) return;
            at += step;
        }
    }
    if (animate) {
        m_view.Invalidate();
        m_view.Pump();
    }
}
