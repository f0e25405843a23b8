// Drawing of the card buttons of the card-back chooser and the "Last Trick"
// dialog: a button-face background, the card inset from the edge, and a thin
// frame with cut corners (doubled by a focus ring when the button has focus).
#pragma once

#include <QColor>
#include <QRect>

class CCardRenderer;
class QPainter;

class CCardButtonPainter {
public:
    // Colours of the button face and of the frame.
    CCardButtonPainter(QColor face, QColor frame) : m_face(face), m_frame(frame) {}

    // The back `id` (54..65) inset by `border` pixels (already resolved, 0 or more).
    void DrawCardButton(CCardRenderer& renderer, QPainter& painter, const QRect& rect, int id,
                        int border, bool focused) const;
    // Card `code` face up, inset by 4 pixels, without focus.
    void DrawFaceButton(CCardRenderer& renderer, QPainter& painter, const QRect& rect,
                        int code) const;
    void DrawButtonFrame(QPainter& painter, const QRect& rect, bool focused) const;

    static constexpr int kFaceInset = 4;

private:
    void FillFace(QPainter& painter, const QRect& rect) const;

    QColor m_face;
    QColor m_frame;
};
