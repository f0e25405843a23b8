// The score sheet: a card of paper with columns for the two partnerships'
// results, the contract and the deal's points, drawn over the middle of the
// table with a soft shadow.
#pragma once

#include <QImage>

class CScoreSheetPainter {
public:
    static constexpr int kWidth = 402;
    static constexpr int kHeight = 376;

    // The sheet and its shadow with an alpha channel, drawn `scale` times as large.
    static QImage Composite(double scale = 1.0);
    // The sheet as the OR half of an AND/OR pair: colours over black.
    static QImage Sheet(const QImage& composite);
    // The AND half: white where the table shows, black under the paper, grey
    // under the shadow.
    static QImage Mask(const QImage& composite);
};
