// Takes the cards of a finished trick off the table picture: after a short
// pause each card is shown at its place and three steps further towards the
// side of the player who won the trick, then it vanishes; one card after the
// other, in the order of play.
#pragma once

#include <QPoint>

class CTablePicture;
class CTrickPile;

class CTrickGatherer {
public:
    // Milliseconds the finished trick stays on the table before it goes, at pace 1.
    static constexpr int kPauseMs = 800;
    // Frames per card: the card's place, three steps, and the restoring frame.
    static constexpr int kFrames = 5;

    explicit CTrickGatherer(CTablePicture& view) : m_view(view) {}

    // Step per frame towards the winner's side (place 0 bottom, 1 left, 2 top,
    // 3 right; anything else as 0) for a client of width x height and a card
    // of cardWidth x cardHeight.
    static QPoint StepTowards(int winner, int width, int height, int cardWidth, int cardHeight);

    void Run(CTrickPile& pile, int animate);

private:
    CTablePicture& m_view;
};
