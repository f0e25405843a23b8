// Our card-drawing component: the program draws every card face (codes 0..51)
// and card back (codes 54..65) through it, at the standard card size or fitted
// into any rectangle, in four modes. Pictures are drawn with vector shapes and
// kept per card, mode and pixel size, so drawing the same card again is a copy.
//
// A card is a rounded white rectangle; the pixels outside its rounded corners
// are left untouched, so the table shows through them. Every pixel the card
// covers is fully opaque, so drawing a card again over itself changes nothing.
//
// One renderer per window, used from the user-interface thread.
#pragma once

#include <QHash>
#include <QImage>
#include <QSize>
#include <cstdint>
#include <memory>

class CSvgDeck;
class QPainter;

class CCardRenderer {
public:
    // Drawing modes.
    static constexpr int kModeFace = 0;      // the face of card 0..51 (or back 54..65)
    static constexpr int kModeBack = 1;      // the back 54..65
    static constexpr int kModeHighlight = 2; // the face with its colours inverted
    static constexpr int kModeRemove = 4;    // fill the card's rectangle with the colour

    static constexpr int kStandardWidth = 71;
    static constexpr int kStandardHeight = 96;
    static constexpr int kFirstBack = 54;
    static constexpr int kLastBack = 65;

    // Constructing the renderer is what starting the card library used to be.
    CCardRenderer() = default;
    CCardRenderer(const CCardRenderer&) = delete;
    CCardRenderer& operator=(const CCardRenderer&) = delete;

    // Fills the standard card size; always succeeds.
    bool Init(int* width, int* height) const;
    // Drops every kept picture.
    void Term();
    QSize StandardSize() const { return {kStandardWidth, kStandardHeight}; }

    // Draws `card` with its top-left at (x, y) at the standard size.
    bool Draw(QPainter& painter, int x, int y, int card, int mode, uint32_t colour);
    // Draws `card` fitted into the width x height rectangle at (x, y). `colour` is
    // an 0x00BBGGRR colour; only the remove mode uses it. Returns false, drawing
    // nothing, for an unknown mode, a card the mode cannot show, or an empty size.
    bool DrawExt(QPainter& painter, int x, int y, int width, int height, int card, int mode,
                 uint32_t colour);

    // The picture DrawExt copies, `width` x `height` device pixels; a null image
    // when the mode cannot show the card (the remove mode has no picture).
    QImage Picture(int card, int mode, int width, int height);

    // Pictures kept, and pictures drawn since construction (for tests).
    int CachedCount() const { return static_cast<int>(m_cache.size()); }
    int RenderCount() const { return m_renders; }

    static QColor ColourFromRef(uint32_t colour);

    // The faces of every renderer: a desktop card deck, or null for the
    // built-in faces (the default). Backs stay the built-in ones. Renderers
    // drop their kept pictures when the faces change.
    static void SetFaceDeck(std::shared_ptr<const CSvgDeck> deck);
    static const std::shared_ptr<const CSvgDeck>& FaceDeck();

private:
    static constexpr int kMaxCached = 512;

    // Which picture a card and a mode show: the face or back code, or -1.
    static int PictureOf(int card, int mode);
    static QImage Render(int picture, bool inverted, int width, int height);
    static void CutCorners(QImage& image, double radius);

    QHash<quint64, QImage> m_cache;
    int m_renders = 0;
    // The face deck generation the kept pictures were drawn with.
    int m_deckGeneration = 0;
};
