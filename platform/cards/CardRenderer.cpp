#include "platform/cards/CardRenderer.h"

#include "platform/cards/CardBackPainter.h"
#include "platform/cards/CardFacePainter.h"
#include "platform/cards/SvgDeck.h"

#include <QColor>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace {

const QColor kEdge(58, 58, 64);

// The faces shared by every renderer (user-interface thread only).
std::shared_ptr<const CSvgDeck> s_faceDeck;
int s_deckGeneration = 0;

quint64 CacheKey(int picture, bool inverted, int width, int height) {
    return (static_cast<quint64>(picture) << 40) | (static_cast<quint64>(inverted) << 39) |
           (static_cast<quint64>(width & 0xFFFFF) << 19) | static_cast<quint64>(height & 0x7FFFF);
}

} // namespace

bool CCardRenderer::Init(int* width, int* height) const {
    if (width) *width = kStandardWidth;
    if (height) *height = kStandardHeight;
    return true;
}

void CCardRenderer::Term() {
    m_cache.clear();
}

void CCardRenderer::SetFaceDeck(std::shared_ptr<const CSvgDeck> deck) {
    if (deck == s_faceDeck) return;
    s_faceDeck = std::move(deck);
    ++s_deckGeneration;
}

const std::shared_ptr<const CSvgDeck>& CCardRenderer::FaceDeck() {
    return s_faceDeck;
}

QColor CCardRenderer::ColourFromRef(uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

int CCardRenderer::PictureOf(int card, int mode) {
    switch (mode) {
    case kModeFace:
    case kModeHighlight:
        if (CCardFacePainter::IsFace(card) || CCardBackPainter::IsBack(card)) return card;
        return -1;
    case kModeBack:
        return CCardBackPainter::IsBack(card) ? card : -1;
    default:
        return -1;
    }
}

bool CCardRenderer::Draw(QPainter& painter, int x, int y, int card, int mode, uint32_t colour) {
    return DrawExt(painter, x, y, kStandardWidth, kStandardHeight, card, mode, colour);
}

bool CCardRenderer::DrawExt(QPainter& painter, int x, int y, int width, int height, int card,
                            int mode, uint32_t colour) {
    if (width <= 0 || height <= 0) return false;
    if (mode == kModeRemove) {
        painter.fillRect(x, y, width, height, ColourFromRef(colour));
        return true;
    }
    if (PictureOf(card, mode) < 0) return false;
    const QPaintDevice* device = painter.device();
    const double ratio = device ? std::max(1.0, device->devicePixelRatioF()) : 1.0;
    const int pixelWidth = std::max(1, static_cast<int>(std::lround(width * ratio)));
    const int pixelHeight = std::max(1, static_cast<int>(std::lround(height * ratio)));
    const QImage picture = Picture(card, mode, pixelWidth, pixelHeight);
    if (picture.isNull()) return false;
    painter.drawImage(QRectF(x, y, width, height), picture);
    return true;
}

QImage CCardRenderer::Picture(int card, int mode, int width, int height) {
    const int picture = PictureOf(card, mode);
    if (picture < 0 || width <= 0 || height <= 0 || width > 0xFFFFF || height > 0x7FFFF) return {};
    const bool inverted = mode == kModeHighlight;
    if (m_deckGeneration != s_deckGeneration) {
        m_cache.clear();
        m_deckGeneration = s_deckGeneration;
    }
    const quint64 key = CacheKey(picture, inverted, width, height);
    const auto found = m_cache.constFind(key);
    if (found != m_cache.constEnd()) return found.value();
    if (m_cache.size() >= kMaxCached) m_cache.clear();
    QImage image = Render(picture, inverted, width, height);
    ++m_renders;
    m_cache.insert(key, image);
    return image;
}

QImage CCardRenderer::Render(int picture, bool inverted, int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const double scale = std::min(width / double(kStandardWidth), height / double(kStandardHeight));
    const double edge = std::max(1.0, scale);
    const double radius = std::min({std::max(1.5, 4.0 * scale), width / 2.0, height / 2.0});
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const QSizeF size(width, height);
        if (CCardFacePainter::IsFace(picture)) {
            if (!s_faceDeck || !s_faceDeck->PaintFace(painter, size, picture))
                CCardFacePainter::Paint(painter, size, picture);
        } else {
            CCardBackPainter::Paint(painter, size, picture);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(kEdge, edge));
        const double inset = edge / 2;
        painter.drawRoundedRect(QRectF(inset, inset, width - edge, height - edge),
                                std::max(0.0, radius - inset), std::max(0.0, radius - inset));
    }
    CutCorners(image, radius);
    if (inverted) {
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                if (qAlpha(line[x]) == 255) line[x] ^= 0x00FFFFFF;
        }
    }
    return image;
}

void CCardRenderer::CutCorners(QImage& image, double radius) {
    // A pixel is kept when its centre lies inside the rounded outline; the cut is
    // hard so the card never leaves half-covered pixels on the table.
    const int w = image.width(), h = image.height();
    const int r = static_cast<int>(std::ceil(radius));
    for (int y = 0; y < std::min(r, h); ++y) {
        for (int x = 0; x < std::min(r, w); ++x) {
            const double dx = radius - (x + 0.5), dy = radius - (y + 0.5);
            if (dx <= 0 || dy <= 0 || dx * dx + dy * dy <= radius * radius) continue;
            for (const auto& [px, py] : {std::pair{x, y}, std::pair{w - 1 - x, y},
                                         std::pair{x, h - 1 - y}, std::pair{w - 1 - x, h - 1 - y}})
                reinterpret_cast<QRgb*>(image.scanLine(py))[px] = 0;
        }
    }
}
