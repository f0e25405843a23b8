// What the rules need from the table window and the main frame. The program's
// windows implement these; with no object attached (null pointer) nothing is
// drawn or shown, so the rules run in tests and benchmarks without a window.
#pragma once

#include <cstdint>
#include <string>

class CTrickPile;

constexpr uint32_t kTableColour = 0x008000; // green table, as an 0x00BBGGRR colour
constexpr uint32_t kCardBackground = 0xFFFFFF;

// Card drawing modes of the card renderer.
constexpr int kDrawFace = 0;
constexpr int kDrawBack = 1;
constexpr int kDrawHighlight = 2;
constexpr int kDrawRemove = 4;

// Icons the rules draw.
constexpr int kIconTurnA = 192;
constexpr int kIconTurnB = 193;
constexpr int kIconMarker = 206; // trump king-and-queen marker

struct ViewSize {
    int cx = 0;
    int cy = 0;
};

class ITableView {
public:
    virtual ~ITableView() = default;
    // The table picture exists; drawing calls are ignored while it does not.
    virtual bool HasSurface() const = 0;
    // Draws card picture `card` (0..51 faces, 54..65 backs) at (x, y); standard size when
    // width or height is negative, else fitted into width x height.
    virtual void DrawCard(int x, int y, int width, int height, int card, int mode,
                          uint32_t background) = 0;
    // Paints the card rectangle (standard size when width or height is negative) in `colour`.
    virtual void EraseCard(int x, int y, int width, int height, uint32_t colour) = 0;
    virtual void DrawText(int x, int y, const char* text) = 0;
    virtual ViewSize MeasureText(const char* text) = 0;
    // The text as it fits into maxWidth pixels: shortened at its end with an
    // ellipsis when it is wider. A view without fonts keeps it whole.
    virtual std::string FitText(const char* text, int maxWidth) {
        (void)maxWidth;
        return text ? text : "";
    }
    virtual void DrawIcon(int x, int y, int icon) = 0;
    virtual void FillRect(int x, int y, int width, int height, uint32_t colour) = 0;
    // Asks for the view to be repainted from the table picture.
    virtual void Invalidate() = 0;
    virtual ViewSize StandardCardSize() const = 0;
    virtual ViewSize ClientSize() const = 0;
    // Takes the cards of the pile's current trick off the table picture.
    virtual void GatherTrick(CTrickPile& pile, int animate) = 0;
};

// Beep kinds, as the system's message beep takes them.
constexpr int kBeepDefault = 0; // the default beep (refused input)
constexpr int kBeepSimple = -1; // the simple beep

class IMainFrame {
public:
    virtual ~IMainFrame() = default;
    // Shows a chat line; from = -1 is a line without a sender (the referee).
    virtual void AddChatLine(int from, const char* text) = 0;
    virtual void Beep(int kind) = 0;
    // Sends a game command to every program (to = -1) or to one user.
    virtual void BroadcastCmd(short to, short cmd, const char* text, short from) = 0;
};
