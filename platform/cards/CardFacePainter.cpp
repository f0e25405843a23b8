#include "platform/cards/CardFacePainter.h"

#include "platform/cards/CourtFigure.h"
#include "platform/cards/StrokeFont.h"
#include "platform/cards/SuitShapes.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// The face is designed on the standard 71 x 96 card; positions scale with each
// axis, sizes with the smaller of the two factors so signs stay in proportion.
constexpr double kDesignWidth = 71.0;
constexpr double kDesignHeight = 96.0;

struct Pip {
    int column; // 0 left, 1 middle, 2 right
    double row; // 0 top .. 1 bottom
};

const std::vector<Pip>& PipLayout(int rank) {
    static const std::array<std::vector<Pip>, 10> layouts = {{
        {{1, 0.5}},                                                                 // ace
        {{1, 0}, {1, 1}},                                                           // 2
        {{1, 0}, {1, 0.5}, {1, 1}},                                                 // 3
        {{0, 0}, {2, 0}, {0, 1}, {2, 1}},                                           // 4
        {{0, 0}, {2, 0}, {1, 0.5}, {0, 1}, {2, 1}},                                 // 5
        {{0, 0}, {2, 0}, {0, 0.5}, {2, 0.5}, {0, 1}, {2, 1}},                       // 6
        {{0, 0}, {2, 0}, {1, 0.25}, {0, 0.5}, {2, 0.5}, {0, 1}, {2, 1}},            // 7
        {{0, 0}, {2, 0}, {1, 0.25}, {0, 0.5}, {2, 0.5}, {1, 0.75}, {0, 1}, {2, 1}}, // 8
        {{0, 0},
         {2, 0},
         {0, 1.0 / 3},
         {2, 1.0 / 3},
         {1, 0.5},
         {0, 2.0 / 3},
         {2, 2.0 / 3},
         {0, 1},
         {2, 1}}, // 9
        {{0, 0},
         {2, 0},
         {1, 1.0 / 6},
         {0, 1.0 / 3},
         {2, 1.0 / 3},
         {0, 2.0 / 3},
         {2, 2.0 / 3},
         {1, 5.0 / 6},
         {0, 1},
         {2, 1}}, // 10
    }};
    return layouts[static_cast<size_t>(std::clamp(rank, 0, 9))];
}

} // namespace

QString CCardFacePainter::RankText(int rankIndex) {
    static const std::array<const char*, 13> texts = {"A", "2", "3",  "4", "5", "6", "7",
                                                      "8", "9", "10", "J", "Q", "K"};
    if (rankIndex < 0 || rankIndex > 12) return {};
    return QString::fromLatin1(texts[static_cast<size_t>(rankIndex)]);
}

void CCardFacePainter::Paint(QPainter& painter, QSizeF size, int code) {
    if (!IsFace(code)) return;
    const int rank = RankIndex(code);
    if (rank >= CCourtFigure::kJack) {
        const double sx = size.width() / kDesignWidth, sy = size.height() / kDesignHeight;
        const QRectF frame(13.5 * sx, 9.5 * sy, 44 * sx, 77 * sy);
        CCourtFigure::Paint(painter, frame, rank, Suit(code), std::min(sx, sy));
    } else {
        PaintPips(painter, size, code);
    }
    PaintIndex(painter, size, code);
}

void CCardFacePainter::PaintIndex(QPainter& painter, QSizeF size, int code) {
    const double sx = size.width() / kDesignWidth, sy = size.height() / kDesignHeight;
    const double s = std::min(sx, sy);
    const int suit = Suit(code);
    const QColor ink = CSuitShapes::Ink(suit);
    const QString text = RankText(RankIndex(code));
    // Small cards get relatively larger indices so the rank stays readable.
    const double boost = s < 1.0 ? std::min(1.4, 1.0 / std::sqrt(s)) : 1.0;
    const double height = 9.0 * s * boost;
    const double cx = 7.2 * sx;
    const double top = 4.5 * sy;
    for (int end = 0; end < 2; ++end) {
        painter.save();
        if (end == 1) {
            // The lower right index is the upper left one turned round the centre.
            painter.translate(size.width(), size.height());
            painter.rotate(180);
        }
        painter.save();
        painter.translate(cx, top);
        if (text.size() > 1) painter.scale(0.72, 1.0); // "10" fits the same column
        CStrokeFont::DrawCentred(painter, 0, 0, height, text, ink, 0.16);
        painter.restore();
        CSuitShapes::Draw(painter, suit, QPointF(cx, top + height + 5.5 * s * boost),
                          8.0 * s * boost, ink);
        painter.restore();
    }
}

void CCardFacePainter::PaintPips(QPainter& painter, QSizeF size, int code) {
    const double sx = size.width() / kDesignWidth, sy = size.height() / kDesignHeight;
    const double s = std::min(sx, sy);
    const int rank = RankIndex(code);
    const int suit = Suit(code);
    const QColor ink = CSuitShapes::Ink(suit);
    if (rank == 0) {
        const QPointF centre(size.width() / 2, size.height() / 2);
        CSuitShapes::Draw(painter, suit, centre, 30.0 * s, ink);
        return;
    }
    const std::array<double, 3> columns = {21.5 * sx, 35.5 * sx, 49.5 * sx};
    const double top = 16.0 * sy, bottom = 80.0 * sy;
    for (const Pip& pip : PipLayout(rank)) {
        const QPointF centre(columns[static_cast<size_t>(pip.column)],
                             top + (bottom - top) * pip.row);
        CSuitShapes::Draw(painter, suit, centre, 13.0 * s, ink, pip.row > 0.5);
    }
}
