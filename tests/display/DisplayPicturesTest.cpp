// Pictures of the table in the middle of a deal, the score sheet and the two
// dialogs, written for a person to look at.
#include "tests/display/DisplayFixture.h"

#include "display/CardBackDialog.h"
#include "display/LastTrickDialog.h"
#include "display/ScoreSheet.h"
#include "display/TableWidget.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/GameState.h"

#include <QFileInfo>
#include <QTest>

namespace {

bool Save(const QImage& image, const QString& name) {
    const QString path = DisplayOutputDir() + "/" + name;
    return image.save(path) && QFileInfo(path).size() > 0;
}

// The first card of the hand in slot order.
int FirstCode(int place) {
    for (int slot = 0; slot < kPileSlots; ++slot)
        if (const CCard* card = g_pHand[place]->CardAt(slot)) return card->m_nCode;
    return -1;
}

} // namespace

using DisplayPictures = DisplayTable;

TEST_F(DisplayPictures, TableInTheMiddleOfADeal) {
    // Eight cards each from the deck, in deck order, sorted as a hand is.
    for (int place = 0; place < 4; ++place) {
        uint8_t list[9];
        for (int i = 0; i < 8; ++i)
            list[i] = static_cast<uint8_t>(place + 4 * i + 1);
        list[8] = 0;
        g_pHand[place]->TakeListed(g_pDeck, list);
        g_pHand[place]->Arrange();
    }
    g_contract = {9, kHeart, -1, -1, 1, 2};
    g_nDealer = 1;
    for (CPlayerHand* hand : g_pHand)
        hand->Redraw(false);

    // The first trick is played and gathered; the second has two cards so far.
    int place = 2;
    for (int i = 0; i < 4; ++i, place = NextPlace(place))
        g_pTable->PlayCard(place, FirstCode(place));
    ASSERT_EQ(g_pTable->m_nCurTrick, 1);
    const int leader = g_contract.turn;
    g_pTable->PlayCard(leader, FirstCode(leader));
    g_pTable->PlayCard(NextPlace(leader), FirstCode(NextPlace(leader)));
    for (CPlayerHand* hand : g_pHand)
        hand->Redraw(false);
    g_pTable->Redraw(false);
    g_pHand[g_contract.turn]->DrawLabel(true, true);

    EXPECT_FALSE(AllTable(QRect(kWidth / 2 - 60, kHeight / 2 - 60, 120, 120)));

    // As the view window shows it.
    CTableWidget widget(*view);
    widget.resize(kWidth, kHeight);
    const QImage shown = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, view->Picture());
    EXPECT_TRUE(Save(shown, "table-mid-play.png"));

    // The score sheet over the same table.
    g_nDeals = 2;
    SetDealText(0, kDealResult0, 4, "45");
    SetDealText(0, kDealResult1, 4, "117");
    SetDealText(0, kDealValue, 3, "8");
    SetDealInt(0, kDealTrump, kHeart);
    SetDealInt(0, kDealPoints0, 45);
    SetDealInt(0, kDealPoints1, 117);
    SetDealText(1, kDealResult0, 4, "<@>");
    SetDealText(1, kDealResult1, 4, "#");
    SetDealText(1, kDealValue, 3, "16");
    SetDealInt(1, kDealTrump, kNoTrump);
    SetDealInt(1, kDealDouble, 2);
    SetDealText(2, kDealValue, 3, "9");
    SetDealInt(2, kDealTrump, kClub);
    SetDealText(2, kDealDeclarer, 20, "Boris");
    CScoreSheet sheet(*view);
    sheet.ShowScore();
    ASSERT_TRUE(g_bOverlay);
    EXPECT_EQ(sheet.WrittenTexts().back().text, "Boris");
    EXPECT_TRUE(Save(view->Picture(), "score-sheet.png"));
    sheet.ShowScore();
    EXPECT_EQ(widget.grab().toImage().convertToFormat(QImage::Format_RGB32), shown);
}

TEST(DialogPictures, ChooserAndLastTrick) {
    CCardBackDialog chooser(60);
    chooser.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chooser));
    const QImage chooserShot = chooser.grab().toImage();
    EXPECT_FALSE(chooserShot.isNull());
    EXPECT_TRUE(Save(chooserShot, "card-back-chooser.png"));

    const int cards[4] = {0, 25, 39, 50};
    CLastTrickDialog lastTrick(cards);
    lastTrick.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&lastTrick));
    const QImage trickShot = lastTrick.grab().toImage();
    EXPECT_FALSE(trickShot.isNull());
    EXPECT_TRUE(Save(trickShot, "last-trick.png"));
}
