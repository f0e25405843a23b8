// The whole program window, offscreen, during the bidding, the play and under
// the score sheet: the pictures go to a folder in the build tree for a person to
// look at (the documents use them); the test checks what a program can see in them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>

#include "app/AppOptions.h"
#include "app/qt/CAppSession.h"
#include "app/qt/CBidPanelDialog.h"
#include "app/qt/CMainFrame.h"
#include "app/qt/CMainMenu.h"
#include "app/qt/CSeatPanelDialog.h"
#include "display/TablePicture.h"
#include "display/TableWidget.h"
#include "rules/CTrickPile.h"
#include "rules/GameState.h"
#include "tests/e2e/E2eSupport.h"

namespace {

bool IsTableGreen(QRgb p) {
    return qRed(p) < 24 && qBlue(p) < 24 && qGreen(p) > 100 && qGreen(p) < 156;
}
// The faces of the cards.
bool IsWhite(QRgb p) {
    return qRed(p) > 220 && qGreen(p) > 220 && qBlue(p) > 220;
}
// The keyboard's focus mark.
bool IsMarkYellow(QRgb p) {
    return qRed(p) > 200 && qGreen(p) > 170 && qBlue(p) < 90;
}

// The share of the pixels inside `area` of `picture` that `is` picks.
double Share(const QImage& picture, const QRect& area, bool (*is)(QRgb)) {
    const QRect r = area.intersected(picture.rect());
    long hits = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            hits += is(picture.pixel(x, y)) ? 1 : 0;
    return r.isEmpty() ? 1.0 : double(hits) / double(r.width() * r.height());
}

// Share of the 2 x 2 pixel blocks inside `area` whose four pixels differ: none
// in a picture painted at half the resolution and doubled.
double FineBlocks(const QImage& picture, const QRect& area) {
    long blocks = 0, fine = 0;
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2)
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2, ++blocks) {
            const QRgb p = picture.pixel(x, y);
            fine += p != picture.pixel(x + 1, y) || p != picture.pixel(x, y + 1) ||
                    p != picture.pixel(x + 1, y + 1);
        }
    return blocks ? double(fine) / double(blocks) : 0.0;
}

// The first visible widget of class T under `root` (the window classes carry no
// meta-object of their own, so findChild cannot tell them apart).
template <typename T> T* VisibleChild(QWidget* root) {
    for (QWidget* w : root->findChildren<QWidget*>())
        if (T* t = dynamic_cast<T*>(w); t && t->isVisible()) return t;
    return nullptr;
}

QWidget* MainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && VisibleChild<CTableWidget>(w)) return w;
    return nullptr;
}

QRect AreaOf(QWidget* widget, QWidget* window) {
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// Rows of calls in the panel's columns (fillers have no text), and how many of
// them show their call's image.
std::pair<int, int> CallRows(CBidPanelDialog* panel) {
    std::pair<int, int> rows;
    for (QListWidget* column : panel->findChildren<QListWidget*>())
        for (int i = 0; i < column->count(); ++i) {
            if (column->item(i)->text().isEmpty()) continue;
            ++rows.first;
            rows.second += column->item(i)->icon().isNull() ? 0 : 1;
        }
    return rows;
}

// Two cards of a trick lie on the table, and no panel or sheet covers it.
bool CardsInPlay(QWidget* window) {
    return !VisibleChild<CBidPanelDialog>(window) && !g_bOverlay && g_contract.value >= 0 &&
           g_pTable && g_pTable->Count() >= 2;
}

struct Moment {
    QImage picture;
    QRect area; // the bidding panel, the table or the sheet, in window coordinates
};

class WindowPictures : public ::testing::Test {
protected:
    // Runs a table of Ann at seat 1 with three computer partners, the computer
    // playing Ann's cards too, at `pace`, calling `look` on the window every few
    // milliseconds until it answers true; false at the time limit.
    bool Play(const char* pace, const std::function<bool(QWidget*)>& look, int limitMs,
              bool doubled = false) {
        setenv("VESK_BROADCAST", "127.255.255.255", 1);
        if (doubled) setenv("QT_SCALE_FACTOR", "2", 1);
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        unsetenv("QT_SCALE_FACTOR");
        const int port = e2e::FreePort();
        CAppSession session(ParseAppOptions(
            {"--name", "Ann", "--deal", "--port", std::to_string(port), "--seat", "1", "--start",
             "--partner", "2", "--partner", "3", "--partner", "4", "--autoplay", "--pace", pace}));
        if (port <= 0 || !session.Start()) return false;
        QTimer watch;
        watch.setInterval(5);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (QWidget* window = MainWindow(); window && look(window)) QApplication::exit(0);
        });
        watch.start();
        QTimer::singleShot(limitMs, [] { QApplication::exit(1); });
        return QApplication::exec() == 0;
    }

    static void Save(const QImage& picture, const char* file) {
        const QString folder = QStringLiteral(VESK_PICTURE_DIR);
        QDir().mkpath(folder);
        EXPECT_TRUE(picture.save(folder + "/" + file)) << file;
    }

    int m_argc = 1;
    char m_name[8] = "VeskApp";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

} // namespace

TEST_F(WindowPictures, BiddingPlayAndScoreSheet) {
    Moment bidding, play, sheet, mark;
    std::pair<int, int> rows;
    const bool seen = Play(
        "0.3", // pauses long enough to see each moment
        [&](QWidget* window) {
            CTableWidget* table = VisibleChild<CTableWidget>(window);
            const QRect tableArea = AreaOf(table, window);
            CBidPanelDialog* panel = VisibleChild<CBidPanelDialog>(window);
            if (bidding.picture.isNull() && panel && CallRows(panel).first >= 2) {
                bidding = {window->grab().toImage(), AreaOf(panel, window)};
                rows = CallRows(panel);
            }
            if (play.picture.isNull() && CardsInPlay(window)) {
                play = {window->grab().toImage(), tableArea};
                // The keyboard marks the second card of the own hand.
                table->setFocus();
                for (int i = 0; i < 2; ++i) {
                    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
                    QApplication::sendEvent(table, &right);
                }
                mark = {window->grab().toImage(),
                        QRect(tableArea.x(), tableArea.bottom() - 110, tableArea.width(), 110)};
            }
            if (sheet.picture.isNull() && g_bOverlay && g_nDeals >= 1)
                sheet = {window->grab().toImage(),
                         QRect(tableArea.center() - QPoint(201, 188), QSize(402, 376))};
            return !bidding.picture.isNull() && !play.picture.isNull() && !sheet.picture.isNull();
        },
        90000);
    ASSERT_TRUE(seen) << "not every moment was seen within the time limit";
    Save(bidding.picture, "bidding.png");
    Save(play.picture, "play.png");
    Save(sheet.picture, "score-sheet.png");
    Save(mark.picture, "keyboard-mark.png");
    // The panel is drawn in the window over the table, every call with its image.
    EXPECT_LT(Share(bidding.picture, bidding.area, IsTableGreen), 0.05);
    EXPECT_EQ(rows.second, rows.first);
    // Cards lie on the table: at least the faces of the own hand.
    EXPECT_GT(Share(play.picture, play.area, IsWhite), 0.02);
    EXPECT_GT(Share(play.picture, play.area, IsTableGreen), 0.3);
    // The sheet covers the middle of the table.
    EXPECT_LT(Share(sheet.picture, sheet.area, IsTableGreen), 0.5);
    // The keyboard's mark lies on a card of the own hand.
    EXPECT_GT(Share(mark.picture, mark.area, IsMarkYellow),
              Share(play.picture, mark.area, IsMarkYellow) + 0.002);
}

TEST_F(WindowPictures, PlayIsSharpAtTwiceTheDensity) {
    QImage picture;
    QRect hand;
    double ratio = 0;
    const bool seen = Play(
        "0.3",
        [&](QWidget* window) {
            if (!CardsInPlay(window)) return false;
            CTableWidget* table = VisibleChild<CTableWidget>(window);
            picture = window->grab().toImage();
            ratio = table->Picture().Ratio();
            // The own hand's row, in device pixels.
            const QPoint at = table->mapTo(window, QPoint(0, 0));
            hand = QRect((at + QPoint(140, table->height() - 99)) * 2, QSize(300, 96) * 2);
            return true;
        },
        90000, true);
    ASSERT_TRUE(seen) << "no card was played within the time limit";
    Save(picture, "play-2x.png");
    // The window keeps its 548 x 608 pixels, each drawn as 2 x 2 device pixels, and
    // the cards are drawn at the screen's density, not doubled from a plain picture.
    EXPECT_EQ(std::pair(picture.size(), ratio), std::pair(QSize(1096, 1216), 2.0));
    EXPECT_GT(FineBlocks(picture, hand), 0.02);
    EXPECT_GT(Share(picture, hand, IsWhite), 0.2);
}

TEST_F(WindowPictures, SeatPanelAfterAGameShowsItsOwnBackground) {
    QImage picture;
    QRect middle;
    const bool seen = Play(
        "0",
        [&](QWidget* window) {
            if (g_nDeals == 0 || g_bGameRunning) return false;
            CSeatPanelDialog* panel = VisibleChild<CSeatPanelDialog>(window);
            if (!panel) {
                // After a game the score sheet comes up over the table and the
                // panel hides under it: take the sheet away as F9 does.
                auto* frame = dynamic_cast<CMainFrame*>(window);
                if (g_bOverlay && frame) frame->Menu().Run(menuid::kScore);
                return false;
            }
            // Let the panel and the table paint once more before the picture.
            QApplication::processEvents();
            picture = window->grab().toImage();
            middle = QRect(AreaOf(panel, window).center() - QPoint(8, 8), QSize(16, 16));
            return true;
        },
        300000);
    ASSERT_TRUE(seen) << "the game did not end within the time limit";
    Save(picture, "seat-panel-after-game.png");
    // The middle of the panel, between the four seats, is the dialog's light background.
    QImage background(middle.size(), picture.format());
    background.fill(QApplication::palette().color(QPalette::Window));
    EXPECT_EQ(picture.copy(middle), background);
}
