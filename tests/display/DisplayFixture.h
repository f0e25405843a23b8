// A table of four seated users with the deck, the hands, the table pile and a
// real table picture as the view. Pauses are off and messages are pumped
// through a hook the test can watch.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <initializer_list>
#include <memory>

#include "display/TablePicture.h"
#include "net/Conn.h"

// Card codes by rank and suit: CardOf(kAce, kHeart).
enum DisplayRank { kSeven = 6, kEight, kNine, kTen, kJack, kQueen, kKing, kAce = 0 };
inline int CardOf(int rank, int suit) {
    return rank * 4 + suit;
}

class DisplayTable : public ::testing::Test {
protected:
    static constexpr int kWidth = 540;
    static constexpr int kHeight = 440;

    void SetUp() override;
    void TearDown() override;

    // Deals the listed cards out of the deck into the hand at `place`.
    static void Give(int place, std::initializer_list<int> codes);
    // Plays one card per place, starting with `leader`.
    static void Play(int leader, std::initializer_list<int> codes);

    // Every pixel of the rectangle (clipped to the picture) has the table colour.
    bool AllTable(const QRect& r) const;
    // The bounding box of the pixels that differ from the table colour.
    static QRect NonTableBox(const QImage& image);

    std::unique_ptr<CTablePicture> view;
    int pumps = 0;
    std::vector<int> pauses;
    std::function<void()> onPump; // runs inside every pump
    CConn conn;
};

// Where the tests leave pictures for a person to look at.
QString DisplayOutputDir();
