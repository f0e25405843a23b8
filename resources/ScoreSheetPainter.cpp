#include "resources/ScoreSheetPainter.h"

#include "platform/cards/StrokeFont.h"
#include "platform/cards/SuitShapes.h"

#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <cmath>

namespace {

// Where the table view writes (relative to the sheet's top-left): the first row's
// text top, and the centres of the four columns.
constexpr double kFirstRow = 74;
constexpr double kColumnUs = 30;
constexpr double kColumnThem = 90;
constexpr double kColumnBid = 132;
constexpr double kColumnPoints = 235;

const QColor kPaper(252, 245, 222);
const QColor kInk(70, 50, 30);
const QColor kRule(150, 120, 80);

} // namespace

QImage CScoreSheetPainter::Composite(double scale) {
    QImage image(static_cast<int>(std::lround(kWidth * scale)),
                 static_cast<int>(std::lround(kHeight * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const QRectF paper(3, 3, kWidth - 12, kHeight - 12);

    // A soft shadow below and to the right.
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 5; ++k) {
        p.setBrush(QColor(0, 0, 0, 34));
        p.drawRoundedRect(paper.translated(4 + k, 4 + k).adjusted(k, k, -k, -k), 12, 12);
    }

    // The paper.
    QLinearGradient shade(0, paper.top(), 0, paper.bottom());
    shade.setColorAt(0, kPaper.lighter(103));
    shade.setColorAt(1, kPaper.darker(104));
    p.setBrush(shade);
    p.setPen(QPen(kRule.darker(130), 1.5));
    p.drawRoundedRect(paper, 12, 12);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kRule, 0.8));
    p.drawRoundedRect(paper.adjusted(5, 5, -5, -5), 8, 8);

    // Title and column heads.
    CStrokeFont::DrawCentred(
        p, 150, 16, 15, QCoreApplication::translate("CScoreSheetPainter", "SCORE"), kInk, 0.16);
    for (int suit = 0; suit < 4; ++suit) {
        const double x = suit < 2 ? 48 + suit * 20 : 212 + (suit - 2) * 20;
        CSuitShapes::Draw(p, suit, QPointF(x, 23.5), 13, CSuitShapes::Ink(suit));
    }
    const double headTop = 52, headHeight = 9;
    CStrokeFont::DrawCentred(p, kColumnUs, headTop, headHeight,
                             QCoreApplication::translate("CScoreSheetPainter", "WE"), kInk, 0.19);
    CStrokeFont::DrawCentred(p, kColumnThem, headTop, headHeight,
                             QCoreApplication::translate("CScoreSheetPainter", "THEY"), kInk, 0.19);
    CStrokeFont::DrawCentred(p, kColumnBid + 10, headTop, headHeight,
                             QCoreApplication::translate("CScoreSheetPainter", "BID"), kInk, 0.19);
    CStrokeFont::DrawCentred(p, kColumnPoints, headTop, headHeight,
                             QCoreApplication::translate("CScoreSheetPainter", "POINTS"), kInk,
                             0.19);

    // Rules: a double line under the heads, the column lines down the sheet.
    p.setPen(QPen(kRule, 1.0));
    p.drawLine(QPointF(12, kFirstRow - 7), QPointF(300, kFirstRow - 7));
    p.drawLine(QPointF(12, kFirstRow - 4), QPointF(300, kFirstRow - 4));
    for (double x : {60.0, 120.0, 172.0, 300.0})
        p.drawLine(QPointF(x, 46), QPointF(x, paper.bottom() - 10));

    // The right-hand band: the four suits one above the other in a gold frame.
    const QRectF band(310, 18, 70, paper.bottom() - 30);
    p.setPen(QPen(QColor(190, 150, 60), 1.4));
    p.setBrush(QColor(245, 236, 205));
    p.drawRoundedRect(band, 8, 8);
    for (int suit = 0; suit < 4; ++suit) {
        const double y = band.top() + band.height() * (suit + 0.5) / 4;
        CSuitShapes::Draw(p, suit, QPointF(band.center().x(), y), 38, CSuitShapes::Ink(suit));
    }
    p.end();
    return image;
}

QImage CScoreSheetPainter::Sheet(const QImage& composite) {
    QImage sheet(composite.size(), QImage::Format_RGB32);
    for (int y = 0; y < composite.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(composite.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(sheet.scanLine(y));
        // Premultiplied colours are what OR-ing over a masked table adds.
        for (int x = 0; x < composite.width(); ++x)
            out[x] = in[x] | 0xFF000000;
    }
    return sheet;
}

QImage CScoreSheetPainter::Mask(const QImage& composite) {
    QImage mask(composite.size(), QImage::Format_RGB32);
    for (int y = 0; y < composite.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(composite.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < composite.width(); ++x) {
            const int keep = 255 - qAlpha(in[x]);
            out[x] = qRgb(keep, keep, keep);
        }
    }
    return mask;
}
