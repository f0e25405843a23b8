#include "platform/cards/SvgDeck.h"

#include <QFile>
#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>

namespace {

// Suits in card-code order (code % 4) and ranks by rank index (code / 4).
const char* const kSuits[4] = {"club", "diamond", "heart", "spade"};

const char* RankName(int rankIndex) {
    switch (rankIndex) {
    case 0:
        return "1";
    case 6:
        return "7";
    case 7:
        return "8";
    case 8:
        return "9";
    case 9:
        return "10";
    case 10:
        return "jack";
    case 11:
        return "queen";
    case 12:
        return "king";
    default:
        return nullptr;
    }
}

// A deck file larger than this is not a card deck (the largest packaged ones
// are a few megabytes).
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

} // namespace

CSvgDeck::CSvgDeck(QString file, std::unique_ptr<QSvgRenderer> renderer)
    : m_file(std::move(file)), m_renderer(std::move(renderer)) {}

CSvgDeck::~CSvgDeck() = default;

std::shared_ptr<const CSvgDeck> CSvgDeck::Load(const QString& file) {
    QFile in(file);
    if (in.size() <= 0 || in.size() > kMaxFileBytes || !in.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = in.readAll();
    auto renderer = std::make_unique<QSvgRenderer>();
    // QSvgRenderer takes plain or gzip-compressed SVG alike.
    if (!renderer->load(bytes) || !renderer->isValid()) return {};

    std::array<QString, 52> ids;
    // Either naming scheme, as long as the whole deck follows it.
    for (const bool rankFirst : {true, false}) {
        bool complete = true;
        for (int code = 0; code < 52 && complete; ++code) {
            const char* rank = RankName(code / 4);
            if (!rank) continue;
            const QString suit = QString::fromLatin1(kSuits[code % 4]);
            const QString id = rankFirst ? QString::fromLatin1(rank) + '_' + suit
                                         : suit + '_' + QString::fromLatin1(rank);
            const QRectF bounds = renderer->boundsOnElement(id);
            complete = renderer->elementExists(id) && bounds.width() > 0 && bounds.height() > 0;
            ids[code] = id;
        }
        if (complete) {
            std::shared_ptr<CSvgDeck> deck(new CSvgDeck(file, std::move(renderer)));
            deck->m_ids = ids;
            return deck;
        }
        ids = {};
    }
    return {};
}

bool CSvgDeck::PaintFace(QPainter& painter, const QSizeF& size, int code) const {
    if (code < 0 || code >= 52 || m_ids[code].isEmpty()) return false;
    m_renderer->render(&painter, m_ids[code], QRectF(QPointF(0, 0), size));
    return true;
}
