// The retained table picture: everything on the table is drawn into one image
// of the view's client size, and the view only copies that image to the
// screen. The rules draw through the ITableView operations; the view window
// (CTableWidget) shows the picture and is told to repaint through a hook.
//
// The picture is made at the view's first paint (Create) and kept for the
// view's life. Until then every drawing call is ignored.
//
// Every position and size is given in logical pixels. The picture itself holds
// ratio device pixels per logical pixel (the screen's device pixel ratio), so
// that it is sharp on high-density screens. Cards, icons and filled rectangles
// are snapped to whole device pixels, so that drawing and removing a card cover
// the same pixels at any ratio.
#pragma once

#include "platform/cards/CardRenderer.h"
#include "rules/TableView.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <functional>
#include <memory>

class CTablePicture : public ITableView {
public:
    CTablePicture();
    ~CTablePicture() override;
    CTablePicture(const CTablePicture&) = delete;
    CTablePicture& operator=(const CTablePicture&) = delete;

    // Makes the picture width x height logical pixels at `ratio` device pixels
    // per pixel, all table green. Sizes are kept from the first call on; later
    // calls do nothing while the picture exists.
    void Create(int width, int height, double ratio = 1.0);
    // Fills the whole picture with the table colour.
    void FillTable();

    // The picture in device pixels, its device pixel ratio set.
    QImage& Picture() { return m_picture; }
    const QImage& Picture() const { return m_picture; }
    double Ratio() const { return m_ratio; }
    // The device pixels a logical rectangle covers: its edges rounded.
    QRect DeviceRect(const QRect& logical) const;
    // A copy of the device pixels under a logical rectangle, and putting such a
    // copy back in place.
    QImage SaveRect(const QRect& logical) const;
    void RestoreRect(const QRect& logical, const QImage& saved);
    // A view of the picture's pixels at ratio 1, for painting in device pixels.
    // It shares the picture's memory: keep it no longer than one drawing.
    QImage DevicePixels();
    CCardRenderer& Renderer() { return m_renderer; }

    // Called by Invalidate: the view window schedules a repaint.
    void SetInvalidateHook(std::function<void()> hook) { m_onInvalidate = std::move(hook); }
    // Dispatches the waiting window messages; PumpMessages() when none is set.
    void SetPumpHook(std::function<void()> hook) { m_pump = std::move(hook); }
    // Waits the given milliseconds without dispatching messages; a plain sleep
    // when none is set. The milliseconds are already scaled by the pace.
    void SetPauseHook(std::function<void(int)> hook) { m_pause = std::move(hook); }
    void Pump();
    void Pause(int ms);

    // The font of the name labels.
    const QFont& LabelFont() const { return m_labelFont; }
    void SetLabelFont(const QFont& font) { m_labelFont = font; }

    // Set while the view exists; a copy tells a long operation that pumps messages
    // whether the view was destroyed meanwhile.
    std::shared_ptr<const bool> AliveToken() const { return m_alive; }

    // Number of repaints asked for since construction.
    int InvalidateCount() const { return m_invalidates; }

    // The rectangle a card covers: its own size, or the standard size when either
    // extent is negative.
    QRect CardRect(int x, int y, int width, int height) const;

    // An 0x00BBGGRR colour as a QColor.
    static QColor Colour(uint32_t colourRef);

    // ---- ITableView ----
    bool HasSurface() const override { return !m_picture.isNull(); }
    void DrawCard(int x, int y, int width, int height, int card, int mode,
                  uint32_t background) override;
    void EraseCard(int x, int y, int width, int height, uint32_t colour) override;
    void DrawText(int x, int y, const char* text) override;
    ViewSize MeasureText(const char* text) override;
    std::string FitText(const char* text, int maxWidth) override;
    void DrawIcon(int x, int y, int icon) override;
    void FillRect(int x, int y, int width, int height, uint32_t colour) override;
    void Invalidate() override;
    ViewSize StandardCardSize() const override { return {m_cardWidth, m_cardHeight}; }
    ViewSize ClientSize() const override { return {m_width, m_height}; }
    void GatherTrick(CTrickPile& pile, int animate) override;

private:
    QImage m_picture;
    double m_ratio = 1.0;
    CCardRenderer m_renderer;
    int m_cardWidth = 0;
    int m_cardHeight = 0;
    int m_width = 0;
    int m_height = 0;
    QFont m_labelFont;
    std::function<void()> m_onInvalidate;
    std::function<void()> m_pump;
    std::function<void(int)> m_pause;
    std::shared_ptr<bool> m_alive;
    int m_invalidates = 0;
};
