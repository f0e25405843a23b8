// A card deck of the desktop drawn from one SVG file, as the card-deck packages
// install them: KDE's decks name their cards "1_club", "7_heart", "jack_spade",
// GNOME's "club_1", "heart_7", "spade_jack". A file that cannot be read, does
// not parse, or lacks any of the 32 cards of the game gives no deck, so that
// the caller keeps the built-in faces.
#pragma once

#include <QString>
#include <array>
#include <memory>

class QPainter;
class QSizeF;
class QSvgRenderer;

class CSvgDeck {
public:
    ~CSvgDeck();
    CSvgDeck(const CSvgDeck&) = delete;
    CSvgDeck& operator=(const CSvgDeck&) = delete;

    // The deck in `file` (.svg or gzip-compressed .svgz), or null when it is
    // missing, broken or incomplete.
    static std::shared_ptr<const CSvgDeck> Load(const QString& file);

    const QString& File() const { return m_file; }
    // Paints face `code` (one of the game's 32 card codes) stretched over
    // `size`; false, painting nothing, for any other code.
    bool PaintFace(QPainter& painter, const QSizeF& size, int code) const;

private:
    CSvgDeck(QString file, std::unique_ptr<QSvgRenderer> renderer);

    QString m_file;
    std::unique_ptr<QSvgRenderer> m_renderer;
    // The element id of each card code; empty for the codes the game never uses.
    std::array<QString, 52> m_ids;
};
