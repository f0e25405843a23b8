#include "display/TablePicture.h"

#include "display/TrickGatherer.h"
#include "platform/qt/PumpMessages.h"
#include "resources/ResourceImages.h"
#include "rules/GameState.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

// The labels are written in a bold sans face of a fixed pixel height, so the
// layout of the table does not change with the desktop's font settings.
QFont DefaultLabelFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

} // namespace

CTablePicture::CTablePicture()
    : m_labelFont(DefaultLabelFont()), m_alive(std::make_shared<bool>(true)) {
    m_renderer.Init(&m_cardWidth, &m_cardHeight);
}

CTablePicture::~CTablePicture() {
    *m_alive = false;
    m_renderer.Term();
    if (g_pView == this) g_pView = nullptr;
}

void CTablePicture::Create(int width, int height, double ratio) {
    if (HasSurface() || width <= 0 || height <= 0) return;
    m_width = width;
    m_height = height;
    m_ratio = ratio > 0 && ratio <= 16 ? ratio : 1.0;
    m_picture = QImage(static_cast<int>(std::lround(width * m_ratio)),
                       static_cast<int>(std::lround(height * m_ratio)), QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(m_ratio);
    FillTable();
}

QRect CTablePicture::DeviceRect(const QRect& logical) const {
    auto edge = [this](int v) { return static_cast<int>(std::lround(v * m_ratio)); };
    const int left = edge(logical.x()), top = edge(logical.y());
    return QRect(left, top, edge(logical.x() + logical.width()) - left,
                 edge(logical.y() + logical.height()) - top);
}

QImage CTablePicture::DevicePixels() {
    if (!HasSurface()) return {};
    return QImage(m_picture.bits(), m_picture.width(), m_picture.height(), m_picture.bytesPerLine(),
                  m_picture.format());
}

QImage CTablePicture::SaveRect(const QRect& logical) const {
    if (!HasSurface()) return {};
    QImage saved = m_picture.copy(DeviceRect(logical));
    saved.setDevicePixelRatio(1.0);
    return saved;
}

void CTablePicture::RestoreRect(const QRect& logical, const QImage& saved) {
    if (!HasSurface() || saved.isNull()) return;
    QImage pixels = DevicePixels();
    QPainter painter(&pixels);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(DeviceRect(logical).topLeft(), saved);
}

void CTablePicture::FillTable() {
    if (HasSurface()) m_picture.fill(Colour(kTableColour));
}

void CTablePicture::Pump() {
    // A copy: the view may be destroyed while its hook runs.
    if (const auto pump = m_pump)
        pump();
    else
        PumpMessages();
}

void CTablePicture::Pause(int ms) {
    if (ms <= 0) return;
    if (m_pause)
        m_pause(ms);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

QRect CTablePicture::CardRect(int x, int y, int width, int height) const {
    if (width < 0 || height < 0) return QRect(x, y, m_cardWidth, m_cardHeight);
    return QRect(x, y, width, height);
}

QColor CTablePicture::Colour(uint32_t colourRef) {
    return CCardRenderer::ColourFromRef(colourRef);
}

void CTablePicture::DrawCard(int x, int y, int width, int height, int card, int mode,
                             uint32_t background) {
    if (!HasSurface()) return;
    QImage pixels = DevicePixels();
    QPainter painter(&pixels);
    const QRect r = DeviceRect(CardRect(x, y, width, height));
    m_renderer.DrawExt(painter, r.x(), r.y(), r.width(), r.height(), card, mode, background);
}

void CTablePicture::EraseCard(int x, int y, int width, int height, uint32_t colour) {
    if (!HasSurface()) return;
    QImage pixels = DevicePixels();
    QPainter painter(&pixels);
    const QRect r = DeviceRect(CardRect(x, y, width, height));
    m_renderer.DrawExt(painter, r.x(), r.y(), r.width(), r.height(), 0, CCardRenderer::kModeRemove,
                       colour);
}

void CTablePicture::DrawText(int x, int y, const char* text) {
    if (!HasSurface() || !text || !*text) return;
    QPainter painter(&m_picture);
    painter.setFont(m_labelFont);
    painter.setPen(Qt::black);
    const QFontMetrics fm(m_labelFont, &m_picture);
    // Text is placed by its top-left corner, on a transparent background.
    painter.drawText(x, y + fm.ascent(), QString::fromLocal8Bit(text));
}

ViewSize CTablePicture::MeasureText(const char* text) {
    const QFontMetrics fm(m_labelFont);
    const QString s = text ? QString::fromLocal8Bit(text) : QString();
    return {fm.horizontalAdvance(s), fm.height()};
}

std::string CTablePicture::FitText(const char* text, int maxWidth) {
    const QString whole = text ? QString::fromLocal8Bit(text) : QString();
    const QFontMetrics fm(m_labelFont);
    if (fm.horizontalAdvance(whole) <= maxWidth) return whole.toLocal8Bit().toStdString();
    return fm.elidedText(whole, Qt::ElideRight, std::max(maxWidth, 0)).toLocal8Bit().toStdString();
}

void CTablePicture::DrawIcon(int x, int y, int icon) {
    if (!HasSurface()) return;
    const QSize natural = CResourceImages::IconSize(icon);
    if (!natural.isValid()) return;
    // Drawn for the device pixels it covers, not stretched.
    const QRect r = DeviceRect(QRect(QPoint(x, y), natural));
    const QImage image = CResourceImages::Icon(icon, r.width());
    if (image.isNull()) return;
    QImage pixels = DevicePixels();
    QPainter painter(&pixels);
    painter.drawImage(r.topLeft(), image);
}

void CTablePicture::FillRect(int x, int y, int width, int height, uint32_t colour) {
    if (!HasSurface() || width <= 0 || height <= 0) return;
    QImage pixels = DevicePixels();
    QPainter painter(&pixels);
    painter.fillRect(DeviceRect(QRect(x, y, width, height)), Colour(colour));
}

void CTablePicture::Invalidate() {
    ++m_invalidates;
    if (m_onInvalidate) m_onInvalidate();
}

void CTablePicture::GatherTrick(CTrickPile& pile, int animate) {
    CTrickGatherer(*this).Run(pile, animate);
}
