// The card-back chooser and the "Last Trick" dialog, driven as a person would.
#include <gtest/gtest.h>

#include "display/CardBackDialog.h"
#include "display/CardButton.h"
#include "display/CardButtonPainter.h"
#include "display/LastTrickDialog.h"
#include "platform/cards/CardRenderer.h"
#include "platform/qt/DialogUnits.h"

#include <QPainter>
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

QImage Shot(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

const QColor kFace(200, 200, 200);
const QColor kFrame(0, 0, 0);

} // namespace

TEST(CardBackChooser, OkWithNothingClickedReturnsTheGivenBack) {
    CCardBackDialog dialog(61);
    EXPECT_EQ(RunWith(dialog, [&] { dialog.OkButton()->click(); }), 61);
    EXPECT_EQ(dialog.Previous(), -1);
}

TEST(CardBackChooser, CancelReturnsTwo) {
    CCardBackDialog dialog(58);
    EXPECT_EQ(RunWith(dialog,
                      [&] {
                          QTest::mouseClick(dialog.BackButton(63), Qt::LeftButton);
                          dialog.CancelButton()->click();
                      }),
              CCardBackDialog::kCancelled);
    CCardBackDialog escaped(58);
    EXPECT_EQ(RunWith(escaped, [&] { QTest::keyClick(&escaped, Qt::Key_Escape); }), 2);
}

TEST(CardBackChooser, ClickThenOkReturnsTheClickedBack) {
    CCardBackDialog dialog(54);
    EXPECT_EQ(RunWith(dialog,
                      [&] {
                          QTest::mouseClick(dialog.BackButton(57), Qt::LeftButton);
                          QTest::mouseClick(dialog.BackButton(64), Qt::LeftButton);
                          QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
                      }),
              64);
    EXPECT_EQ(dialog.Selected(), 64);
    EXPECT_EQ(dialog.Previous(), 57);
}

TEST(CardBackChooser, DoubleClickChoosesAndCloses) {
    CCardBackDialog dialog(54);
    EXPECT_EQ(RunWith(dialog, [&] { QTest::mouseDClick(dialog.BackButton(62), Qt::LeftButton); }),
              62);
}

TEST(CardBackChooser, ClickingTheSelectedBackChangesNothing) {
    CCardBackDialog dialog(59);
    dialog.Select(59);
    EXPECT_EQ(dialog.SelectionRedraws(), 0);
    EXPECT_EQ(dialog.Previous(), -1);
    dialog.Select(60);
    EXPECT_EQ(dialog.SelectionRedraws(), 1);
    dialog.Select(60);
    EXPECT_EQ(dialog.SelectionRedraws(), 1);
    dialog.Select(12); // not a back
    EXPECT_EQ(dialog.Selected(), 60);
}

TEST(CardBackChooser, TheSelectedBackSitsOnePixelInTheOthersFive) {
    CCardBackDialog dialog(55);
    EXPECT_EQ(dialog.AutoBorder(55), 1);
    EXPECT_EQ(dialog.AutoBorder(54), 5);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // Two pixels in from the left edge, halfway down: back paper on the selected
    // button, the button face on another.
    const QImage selected = Shot(dialog.BackButton(55));
    const QImage other = Shot(dialog.BackButton(56));
    const QColor face = dialog.palette().color(QPalette::Button);
    const int midY = selected.height() / 2;
    EXPECT_NE(QColor(selected.pixel(3, midY)), face);
    EXPECT_EQ(QColor(other.pixel(3, midY)), face);
    EXPECT_NE(QColor(other.pixel(6, midY)), face);
    // Held down, the back fills the button edge to edge.
    dialog.BackButton(56)->setDown(true);
    EXPECT_NE(QColor(Shot(dialog.BackButton(56)).pixel(3, midY)), face);
}

TEST(CardBackChooser, LaysTheTwelveBacksOutInDialogUnits) {
    CCardBackDialog dialog(54);
    const CDialogUnits du(dialog.font());
    EXPECT_EQ(dialog.BackButton(54)->geometry(), du.Rect(12, 8, 35, 48));
    EXPECT_EQ(dialog.BackButton(60)->geometry(), du.Rect(90, 8, 35, 48));
    EXPECT_EQ(dialog.BackButton(58)->geometry(), du.Rect(168, 8, 35, 48));
    EXPECT_EQ(dialog.BackButton(56)->geometry(), du.Rect(12, 61, 35, 48));
    EXPECT_EQ(dialog.BackButton(65)->geometry(), du.Rect(207, 61, 35, 48));
    EXPECT_EQ(dialog.OkButton()->geometry(), du.Rect(86, 119, 40, 14));
    EXPECT_EQ(dialog.CancelButton()->geometry(), du.Rect(136, 119, 40, 14));
    EXPECT_TRUE(dialog.OkButton()->isDefault());
    EXPECT_EQ(dialog.windowTitle(), "Select Card Back");
    EXPECT_EQ(dialog.BackButton(53), nullptr);
    EXPECT_EQ(dialog.BackButton(66), nullptr);
}

TEST(CardButtonFrame, CutCornersAndAFocusRing) {
    const CCardButtonPainter painter(kFace, kFrame);
    QImage image(20, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        painter.DrawButtonFrame(p, image.rect(), true);
    }
    // Focused: the outer frame without its corner pixels, a full ring inside it.
    EXPECT_EQ(QColor(image.pixel(0, 0)), kFace);
    EXPECT_EQ(QColor(image.pixel(19, 29)), kFace);
    EXPECT_EQ(QColor(image.pixel(1, 0)), kFrame);
    EXPECT_EQ(QColor(image.pixel(18, 0)), kFrame);
    EXPECT_EQ(QColor(image.pixel(0, 1)), kFrame);
    EXPECT_EQ(QColor(image.pixel(19, 28)), kFrame);
    EXPECT_EQ(QColor(image.pixel(1, 1)), kFrame);
    EXPECT_EQ(QColor(image.pixel(18, 28)), kFrame);
    EXPECT_EQ(QColor(image.pixel(2, 2)), QColor(Qt::white));

    image.fill(Qt::white);
    {
        QPainter p(&image);
        painter.DrawButtonFrame(p, image.rect(), false);
    }
    // Not focused: the outer ring is button face, the cut-corner frame one pixel in.
    EXPECT_EQ(QColor(image.pixel(5, 0)), kFace);
    EXPECT_EQ(QColor(image.pixel(1, 1)), kFace);
    EXPECT_EQ(QColor(image.pixel(2, 1)), kFrame);
    EXPECT_EQ(QColor(image.pixel(1, 2)), kFrame);
    EXPECT_EQ(QColor(image.pixel(18, 27)), kFrame);
    EXPECT_EQ(QColor(image.pixel(2, 2)), QColor(Qt::white));
}

TEST(CardButtonFrame, APressedBackFillsTheButton) {
    const CCardButtonPainter painter(kFace, kFrame);
    CCardRenderer renderer;
    QImage image(40, 56, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        painter.DrawCardButton(renderer, p, image.rect(), 57, 0, true);
    }
    const QImage back = renderer.Picture(57, CCardRenderer::kModeBack, 40, 56);
    // Inside the frames the picture is the back, edge to edge.
    EXPECT_EQ(image.pixel(20, 2), back.pixel(20, 2));
    EXPECT_EQ(image.pixel(2, 28), back.pixel(2, 28));
}

TEST(LastTrick, ShowsTheFourCardsByPlace) {
    const int cards[4] = {0, 25, 39, 50}; // ace of clubs, 7 of diamonds, 10 of spades, K of hearts
    CLastTrickDialog dialog(cards);
    EXPECT_EQ(dialog.windowTitle(), "Last Trick");
    for (int place = 0; place < 4; ++place) {
        EXPECT_EQ(dialog.CardAtPlace(place), cards[place]);
        ASSERT_NE(dialog.PlaceButton(place), nullptr);
        EXPECT_EQ(dialog.PlaceButton(place)->Id(), 54 + place);
        EXPECT_FALSE(dialog.PlaceButton(place)->isEnabled());
    }
    const CDialogUnits du(dialog.font());
    EXPECT_EQ(dialog.PlaceButton(0)->geometry(), du.Rect(54, 66, 39, 50));
    EXPECT_EQ(dialog.PlaceButton(1)->geometry(), du.Rect(10, 35, 39, 50));
    EXPECT_EQ(dialog.PlaceButton(2)->geometry(), du.Rect(54, 9, 39, 50));
    EXPECT_EQ(dialog.PlaceButton(3)->geometry(), du.Rect(98, 35, 39, 50));
    EXPECT_EQ(dialog.CloseButton()->geometry(), du.Rect(52, 125, 40, 14));

    // Each button shows its place's card face, four pixels in.
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    CCardRenderer renderer;
    for (int place = 0; place < 4; ++place) {
        const QImage shot = Shot(dialog.PlaceButton(place));
        const QImage face = renderer
                                .Picture(cards[place], CCardRenderer::kModeFace, shot.width() - 8,
                                         shot.height() - 8)
                                .convertToFormat(QImage::Format_RGB32);
        const QRect inner(4 + 6, 4 + 6, face.width() - 12, face.height() - 12);
        EXPECT_EQ(shot.copy(inner), face.copy(inner.translated(-4, -4))) << "place " << place;
    }
}

TEST(LastTrick, CloseEndsIt) {
    const int cards[4] = {1, 2, 3, 28};
    CLastTrickDialog dialog(cards);
    RunWith(dialog, [&] { QTest::mouseClick(dialog.CloseButton(), Qt::LeftButton); });
    EXPECT_FALSE(dialog.isVisible());
}
