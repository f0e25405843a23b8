// The score sheet: the deal history written on a sheet of paper over the
// middle of the table. Showing it saves the table picture first and sets
// g_bOverlay; hiding it puts the saved picture back. A second request while
// it is shown hides it.
#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <functional>
#include <vector>

class CTablePicture;

// Row height in pixels, font size in points and the icon's offset below the
// text top, by the number of deals.
struct SheetMetrics {
    int rowHeight;
    int points;
    int iconOffset;
};

// What one row of the sheet shows, read from one deal record entry.
struct SheetRow {
    QString result0; // partnership 0 result
    QString result1; // partnership 1 result
    QString value;   // contract value; empty while no contract was made
    int trump;       // 0..3 suit, 4 no trump
    int doubleLevel; // 0 none, 1 doubled, 2 redoubled
    QString last;    // "<p0,p1>" hand points, or the declarer's name
};

class CScoreSheet {
public:
    static constexpr int kSheetWidth = 402;
    static constexpr int kSheetHeight = 376;
    static constexpr int kFirstRowOffset = 114; // first row's top above the centre

    // Centres of the columns, relative to the middle of the table.
    static constexpr int kResult0X = -171;
    static constexpr int kResult1X = -111;
    static constexpr int kValueX = -69;
    static constexpr int kLastX = 34;

    explicit CScoreSheet(CTablePicture& view);
    ~CScoreSheet();
    CScoreSheet(const CScoreSheet&) = delete;
    CScoreSheet& operator=(const CScoreSheet&) = delete;

    // Shows the sheet, or hides it when it is shown; nothing while a drawing is
    // under way.
    void ShowScore();
    // Puts the saved table back when the sheet is shown and clears g_bOverlay.
    void RemoveOverlay();
    bool IsShown() const;

    // After the sheet was drawn: the game flow hides its panels and gives the view
    // the focus.
    void SetShownHook(std::function<void()> hook) { m_onShown = std::move(hook); }
    // After the table was put back: the game flow shows its panels again.
    void SetHiddenHook(std::function<void()> hook) { m_onHidden = std::move(hook); }

    static SheetMetrics MetricsFor(int deals);
    // Row `entry` of the deal record.
    static SheetRow RowOf(int entry);
    // "<p0,p1>" with "-" for a 0, or the declarer's name when both are 0.
    static QString LastColumnText(int points0, int points1, const QString& declarer);

    // What the last drawing wrote, for tests and for a person looking at it.
    struct Written {
        QString text;
        QPoint at; // top-left
    };
    struct IconAt {
        int icon;
        QPoint at;
    };
    const std::vector<Written>& WrittenTexts() const { return m_texts; }
    const std::vector<IconAt>& DrawnIcons() const { return m_icons; }
    int FontPixelHeight() const { return m_fontPixels; }
    QString FontFamily() const { return m_fontFamily; }

private:
    void Draw();

    CTablePicture& m_view;
    QImage m_saved;
    bool m_drawing = false;
    std::function<void()> m_onShown;
    std::function<void()> m_onHidden;
    std::vector<Written> m_texts;
    std::vector<IconAt> m_icons;
    int m_fontPixels = 0;
    QString m_fontFamily;
};
