// The card-back chooser and the "Last Trick" dialog, driven as a person would.
#include "tests/display/DisplayFixture.h"

#include "display/CardBackDialog.h"
#include "display/CardButton.h"
#include "display/LastTrickDialog.h"
#include "platform/cards/CardRenderer.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Runs the dialog modally and does `act` once it is up.
int RunWith(QDialog& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, std::move(act));
    return dialog.exec();
}

} // namespace

TEST(CardBackChooser, WhatEachWayOfClosingReturns) {
    CCardBackDialog shown(60);
    shown.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    EXPECT_TRUE(SavePicture(shown.grab().toImage(), "card-back-chooser.png"));
    CCardBackDialog untouched(61);
    EXPECT_EQ(RunWith(untouched, [&] { untouched.OkButton()->click(); }), 61);
    CCardBackDialog cancelled(58);
    EXPECT_EQ(RunWith(cancelled,
                      [&] {
                          QTest::mouseClick(cancelled.BackButton(63), Qt::LeftButton);
                          cancelled.CancelButton()->click();
                      }),
              CCardBackDialog::kCancelled);
    CCardBackDialog escaped(58);
    EXPECT_EQ(RunWith(escaped, [&] { QTest::keyClick(&escaped, Qt::Key_Escape); }), 2);
    CCardBackDialog clicked(54);
    EXPECT_EQ(RunWith(clicked,
                      [&] {
                          QTest::mouseClick(clicked.BackButton(57), Qt::LeftButton);
                          QTest::mouseClick(clicked.BackButton(64), Qt::LeftButton);
                          QTest::mouseClick(clicked.OkButton(), Qt::LeftButton);
                      }),
              64);
    EXPECT_EQ(clicked.Previous(), 57);
    CCardBackDialog doubled(54);
    EXPECT_EQ(RunWith(doubled, [&] { QTest::mouseDClick(doubled.BackButton(62), Qt::LeftButton); }),
              62);
}

TEST(LastTrick, ShowsEachPlacesCardFaceAndCloses) {
    const int cards[4] = {0, 25, 39, 50}; // ace of clubs, 7 of diamonds, 10 of spades, K of hearts
    CLastTrickDialog dialog(cards);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(SavePicture(dialog.grab().toImage(), "last-trick.png"));
    CCardRenderer renderer;
    for (int place = 0; place < 4; ++place) {
        // Each button shows its place's card face, four pixels in.
        const QImage shot =
            dialog.PlaceButton(place)->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage face = renderer
                                .Picture(cards[place], CCardRenderer::kModeFace, shot.width() - 8,
                                         shot.height() - 8)
                                .convertToFormat(QImage::Format_RGB32);
        const QRect inner(4 + 6, 4 + 6, face.width() - 12, face.height() - 12);
        EXPECT_EQ(shot.copy(inner), face.copy(inner.translated(-4, -4))) << "place " << place;
    }
    dialog.hide();
    RunWith(dialog, [&] { QTest::mouseClick(dialog.CloseButton(), Qt::LeftButton); });
    EXPECT_FALSE(dialog.isVisible());
}
