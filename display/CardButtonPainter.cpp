#include "display/CardButtonPainter.h"

#include "platform/cards/CardRenderer.h"

#include <QPainter>
#include <algorithm>

namespace {

// One-pixel outline just inside the rectangle.
void FrameRect(QPainter& painter, const QRect& r, const QColor& colour) {
    if (r.width() <= 0 || r.height() <= 0) return;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}

} // namespace

void CCardButtonPainter::FillFace(QPainter& painter, const QRect& rect) const {
    painter.fillRect(rect, m_face);
}

void CCardButtonPainter::DrawCardButton(CCardRenderer& renderer, QPainter& painter,
                                        const QRect& rect, int id, int border, bool focused) const {
    FillFace(painter, rect);
    border = std::max(border, 0);
    renderer.DrawExt(painter, rect.x() + border, rect.y() + border, rect.width() - 2 * border,
                     rect.height() - 2 * border, id, CCardRenderer::kModeBack, 0);
    DrawButtonFrame(painter, rect, focused);
}

void CCardButtonPainter::DrawFaceButton(CCardRenderer& renderer, QPainter& painter,
                                        const QRect& rect, int code) const {
    FillFace(painter, rect);
    renderer.DrawExt(painter, rect.x() + kFaceInset, rect.y() + kFaceInset,
                     rect.width() - 2 * kFaceInset, rect.height() - 2 * kFaceInset, code,
                     CCardRenderer::kModeFace, 0);
    DrawButtonFrame(painter, rect, false);
}

void CCardButtonPainter::DrawButtonFrame(QPainter& painter, const QRect& rect, bool focused) const {
    QRect r = rect;
    FrameRect(painter, r, m_face);
    r.adjust(1, 1, -1, -1);
    if (focused) {
        FrameRect(painter, r, m_frame);
        r.adjust(-1, -1, 1, 1);
    } else {
        FrameRect(painter, r, m_face);
    }
    // The four sides without their corner pixels. With right and bottom the
    // first pixel past the rectangle, as the line ends are given: each line
    // stops one pixel short of its end point.
    const int left = r.left(), top = r.top();
    const int right = r.left() + r.width(), bottom = r.top() + r.height();
    if (right - left < 3 || bottom - top < 3) return;
    painter.fillRect(QRect(left + 1, top, right - left - 2, 1), m_frame);
    painter.fillRect(QRect(left + 1, bottom - 1, right - left - 2, 1), m_frame);
    painter.fillRect(QRect(left, top + 1, 1, bottom - top - 2), m_frame);
    painter.fillRect(QRect(right - 1, top + 1, 1, bottom - top - 2), m_frame);
}
