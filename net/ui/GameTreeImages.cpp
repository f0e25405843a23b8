#include "net/ui/GameTreeImages.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kOutline(40, 40, 40);
const QColor kScreen(70, 130, 200);
const QColor kCase(200, 200, 190);
const QColor kFelt(30, 130, 60);
const QColor kRim(110, 70, 30);
const QColor kSeated(200, 60, 50);
const QColor kStanding(150, 150, 150);

// A monitor with its stand; the screen is w x h at (x, y).
void DrawComputer(QPainter& p, int x, int y, int w, int h) {
    p.setPen(kOutline);
    p.setBrush(kCase);
    p.drawRect(x, y, w, h);
    p.setBrush(kScreen);
    p.drawRect(x + 1, y + 1, w - 2, h - 2);
    p.setBrush(kCase);
    p.drawRect(x + w / 2 - 1, y + h, 2, 1);
    p.drawRect(x + 1, y + h + 2, w - 2, 1);
}

// A small person: head and shoulders, centred on cx, feet at the bottom.
void DrawPerson(QPainter& p, int cx, int top, const QColor& color) {
    p.setPen(kOutline);
    p.setBrush(color);
    p.drawEllipse(QRect(cx - 2, top, 5, 5));
    QPainterPath body;
    body.moveTo(cx - 4, top + 12);
    body.lineTo(cx - 4, top + 9);
    body.quadTo(cx - 4, top + 6, cx, top + 6);
    body.quadTo(cx + 5, top + 6, cx + 5, top + 9);
    body.lineTo(cx + 5, top + 12);
    body.closeSubpath();
    p.drawPath(body);
}

// The round card table seen from above.
void DrawTable(QPainter& p, const QRect& r) {
    p.setPen(QPen(kRim, 1));
    p.setBrush(kFelt);
    p.drawEllipse(r);
    // Two cards in the middle.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPoint c = r.center();
    p.drawRect(c.x() - 3, c.y() - 2, 3, 5);
    p.drawRect(c.x() + 1, c.y() - 2, 3, 5);
}

} // namespace

QPixmap CGameTreeImages::Pixmap(int image) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    switch (image) {
    case Computer:
        DrawComputer(p, 1, 2, 14, 10);
        break;
    case Network:
        p.setPen(QPen(kOutline, 1));
        p.drawLine(4, 13, 4, 15);
        p.drawLine(4, 15, 12, 15);
        p.drawLine(12, 15, 12, 13);
        DrawComputer(p, 0, 1, 9, 7);
        DrawComputer(p, 7, 5, 9, 6);
        break;
    case SeatedPlayer:
        // On a chair: the chair's back and seat behind the person.
        DrawPerson(p, 7, 0, kSeated);
        p.setPen(Qt::NoPen);
        p.setBrush(kRim);
        p.drawRect(1, 5, 2, 11);  // back
        p.drawRect(1, 12, 14, 2); // seat
        p.drawRect(13, 14, 2, 2); // front leg
        break;
    case EmptyTable:
        DrawTable(p, QRect(1, 3, 14, 10));
        break;
    case StandingPlayer:
        DrawPerson(p, 7, 2, kStanding);
        p.setPen(kOutline);
        p.drawLine(4, 15, 11, 15);
        break;
    case BusyTable:
        DrawTable(p, QRect(3, 4, 10, 8));
        p.setPen(kOutline);
        p.setBrush(kSeated);
        // One head on each side of the table.
        p.drawEllipse(QRect(6, 0, 4, 4));
        p.drawEllipse(QRect(6, 12, 4, 4));
        p.drawEllipse(QRect(0, 6, 4, 4));
        p.drawEllipse(QRect(12, 6, 4, 4));
        break;
    default:
        break;
    }
    return pm;
}

QIcon CGameTreeImages::Icon(int image) {
    return QIcon(Pixmap(image));
}
