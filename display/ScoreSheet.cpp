#include "display/ScoreSheet.h"

#include "display/ScoreSheetFont.h"
#include "display/TablePicture.h"
#include "resources/ResourceIds.h"
#include "resources/ResourceImages.h"
#include "rules/GameState.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <cstring>

namespace {

// A fixed-width text field of a deal record entry; it need not end in a zero.
QString FieldText(const uint8_t* entry, int offset, int width) {
    if (!entry) return {};
    const char* text = reinterpret_cast<const char*>(entry + offset);
    return QString::fromLocal8Bit(text, static_cast<qsizetype>(strnlen(text, width)));
}

QString PointsText(int points) {
    return points == 0 ? QStringLiteral("-") : QString::number(points);
}

} // namespace

CScoreSheet::CScoreSheet(CTablePicture& view) : m_view(view) {}

CScoreSheet::~CScoreSheet() {
    if (IsShown()) {
        if (m_view.HasSurface() && m_saved.size() == m_view.Picture().size())
            m_view.Picture() = m_saved;
        g_bOverlay = 0;
    }
}

bool CScoreSheet::IsShown() const {
    return g_bOverlay && !m_saved.isNull();
}

SheetMetrics CScoreSheet::MetricsFor(int deals) {
    if (deals <= 16) return {16, 11, 6};
    if (deals == 17) return {15, 10, 6};
    if (deals == 18) return {14, 10, 6};
    if (deals <= 20) return {13, 9, 5};
    return {deals <= 22 ? 12 : 11, 8, 4};
}

QString CScoreSheet::LastColumnText(int points0, int points1, const QString& declarer) {
    if (points0 == 0 && points1 == 0) return declarer;
    return QStringLiteral("<%1,%2>").arg(PointsText(points0), PointsText(points1));
}

SheetRow CScoreSheet::RowOf(int entry) {
    const uint8_t* e = DealEntry(entry);
    SheetRow row{};
    if (!e) return row;
    row.result0 = FieldText(e, kDealResult0, kDealResultLen);
    row.result1 = FieldText(e, kDealResult1, kDealResultLen);
    row.value = FieldText(e, kDealValue, kDealValueLen);
    row.trump = GetDealInt(entry, kDealTrump);
    row.doubleLevel = GetDealInt(entry, kDealDouble);
    row.last = LastColumnText(GetDealInt(entry, kDealPoints0), GetDealInt(entry, kDealPoints1),
                              FieldText(e, kDealDeclarer, kDealNameLen));
    return row;
}

void CScoreSheet::ShowScore() {
    if (m_drawing) return;
    if (g_bOverlay) {
        RemoveOverlay();
        return;
    }
    if (!m_view.HasSurface()) return;
    Draw();
}

void CScoreSheet::RemoveOverlay() {
    if (!g_bOverlay) return;
    g_bOverlay = 0;
    if (m_view.HasSurface() && m_saved.size() == m_view.Picture().size()) {
        QPainter painter(&m_view.Picture());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_saved);
    }
    m_saved = QImage();
    if (m_onHidden) m_onHidden();
    m_view.Invalidate();
}

void CScoreSheet::Draw() {
    m_drawing = true;
    const ViewSize client = m_view.ClientSize();
    const int cx = client.cx / 2, cy = client.cy / 2;
    const int deals = g_nDeals;
    const SheetMetrics m = MetricsFor(deals);

    QImage& picture = m_view.Picture();
    m_saved = picture.copy();
    g_bOverlay = 1;
    m_texts.clear();
    m_icons.clear();

    const QPoint sheetAt(cx - kSheetWidth / 2, cy - kSheetHeight / 2);
    const double ratio = m_view.Ratio();
    {
        // The paper is drawn pixel for pixel at the picture's density, so that it
        // stays sharp on a high-density screen. The mask darkens the table under
        // the paper and its shadow, the sheet is then laid over the black it left.
        QImage mask = CResourceImages::BitmapAt(resid::kBitmapScoreSheetMask, ratio);
        QImage sheet = CResourceImages::BitmapAt(resid::kBitmapScoreSheet, ratio);
        QImage pixels = m_view.DevicePixels();
        QPainter device(&pixels);
        const QPoint at = m_view.DeviceRect(QRect(sheetAt, QSize(1, 1))).topLeft();
        if (!mask.isNull() && !sheet.isNull()) {
            mask.setDevicePixelRatio(1.0);
            sheet.setDevicePixelRatio(1.0);
            device.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            device.drawImage(at, mask);
            device.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
            device.drawImage(at, sheet);
        } else {
            device.drawImage(
                QRect(at,
                      m_view.DeviceRect(QRect(sheetAt, QSize(kSheetWidth, kSheetHeight))).size()),
                CResourceImages::ScoreSheet());
        }
    }

    QPainter painter(&picture);

    const QFont font = CScoreSheetFont::Make(m.points, picture.logicalDpiY());
    m_fontPixels = font.pixelSize();
    m_fontFamily = QFontInfo(font).family();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics fm(font, &picture);
    auto write = [&](const QString& text, int x, int y) {
        if (text.isEmpty()) return;
        painter.drawText(x, y + fm.ascent(), text);
        m_texts.push_back({text, QPoint(x, y)});
    };
    auto centred = [&](const QString& text, int centre) {
        return centre - fm.horizontalAdvance(text) / 2;
    };
    auto icon = [&](int id, int x, int y) {
        const QImage image = CResourceImages::IconAt(id, ratio);
        if (image.isNull()) return;
        painter.drawImage(x, y, image);
        m_icons.push_back({id, QPoint(x, y)});
    };

    int y = cy - kFirstRowOffset;
    for (int i = 0; i <= deals && DealEntry(i); ++i) {
        const SheetRow row = RowOf(i);
        write(row.result0, centred(row.result0, cx + kResult0X), y);
        write(row.result1, centred(row.result1, cx + kResult1X), y);
        const int valueX = centred(row.value, cx + kValueX);
        write(row.value, valueX, y);
        if (!row.value.isEmpty()) {
            const int ix = valueX + fm.horizontalAdvance(row.value) + 3;
            const int iy = y + m.iconOffset;
            if (row.trump >= 0 && row.trump <= 4) icon(resid::kIconSheetSuit + row.trump, ix, iy);
            if (row.doubleLevel >= 1) icon(resid::kIconSheetDoubled, ix, iy);
            if (row.doubleLevel >= 2) icon(resid::kIconSheetRedoubled, ix, iy);
        }
        write(row.last, centred(row.last, cx + kLastX), y);
        y += m.rowHeight;
    }
    painter.end();

    if (m_onShown) m_onShown();
    m_view.Invalidate();
    m_drawing = false;
}
