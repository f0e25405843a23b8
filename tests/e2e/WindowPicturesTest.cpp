// The whole program window, offscreen, during the bidding, during the play and
// under the score sheet: the pictures go to a folder in the build tree for a
// person to look at; the test checks what a program can see in them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <string>

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

bool IsBlack(QRgb p) {
    return qRed(p) < 16 && qGreen(p) < 16 && qBlue(p) < 16;
}

// Share of the pixels inside `area` of `picture` that `is` picks.
double Share(const QImage& picture, const QRect& area, bool (*is)(QRgb)) {
    const QRect r = area.intersected(picture.rect());
    if (r.isEmpty()) return 1.0;
    long hits = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            hits += is(picture.pixel(x, y)) ? 1 : 0;
    return double(hits) / double(r.width() * r.height());
}

double GreenShare(const QImage& picture, const QRect& area) {
    return Share(picture, area, IsTableGreen);
}

// Near-white pixels inside `area`: the faces of the cards.
long WhitePixels(const QImage& picture, const QRect& area) {
    const QRect r = area.intersected(picture.rect());
    long white = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = picture.pixel(x, y);
            white += qRed(p) > 220 && qGreen(p) > 220 && qBlue(p) > 220 ? 1 : 0;
        }
    return white;
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

// Rows of calls in the panel's columns (fillers have no text), and how many of
// them show their call's image.
int CallRows(CBidPanelDialog* panel, int* withImage = nullptr) {
    int rows = 0, images = 0;
    for (QListWidget* column : panel->findChildren<QListWidget*>())
        for (int i = 0; i < column->count(); ++i) {
            if (column->item(i)->text().isEmpty()) continue;
            ++rows;
            images += column->item(i)->icon().isNull() ? 0 : 1;
        }
    if (withImage) *withImage = images;
    return rows;
}

// The keyboard's focus mark: its yellow.
bool IsMarkYellow(QRgb p) {
    return qRed(p) > 200 && qGreen(p) > 170 && qBlue(p) < 90;
}

struct Moment {
    QImage picture;
    QRect area; // the bidding panel, the table or the sheet, in window coordinates
    int rows = 0, rowsWithImage = 0;
};

const QString PictureFolder() {
    const QString folder = QStringLiteral(VESK_PICTURE_DIR);
    QDir().mkpath(folder);
    std::printf("window pictures in %s\n", qPrintable(folder));
    return folder;
}

// A table with Ann at seat 1 and three computer partners, all started, the
// computer playing Ann's cards too.
AppOptions AutoTable(int port, double pace) {
    AppOptions options;
    options.name = "Ann";
    options.connType = 1;
    options.port = port;
    options.seat = 1;
    options.start = true;
    options.partners = {2, 3, 4};
    options.autoplay = true;
    options.pace = pace;
    return options;
}

// Runs the session's event loop, calling `look` every few milliseconds until it
// answers true; false at the time limit.
bool RunUntil(const std::function<bool(QWidget* window)>& look, int limitMs) {
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* window = MainWindow(); window && look(window)) QApplication::exit(0);
    });
    watch.start();
    QTimer::singleShot(limitMs, [] { QApplication::exit(1); });
    return QApplication::exec() == 0;
}

// Share of the 2 x 2 pixel blocks inside `area` whose four pixels differ: none
// in a picture painted at half the resolution and doubled.
double FineBlocks(const QImage& picture, const QRect& area) {
    long blocks = 0, fine = 0;
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2)
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
            const QRgb p = picture.pixel(x, y);
            ++blocks;
            fine += p != picture.pixel(x + 1, y) || p != picture.pixel(x, y + 1) ||
                            p != picture.pixel(x + 1, y + 1)
                        ? 1
                        : 0;
        }
    return blocks ? double(fine) / double(blocks) : 0.0;
}

} // namespace

TEST(WindowPictures, BiddingPlayAndScoreSheet) {
    const int port = e2e::FreePort();
    ASSERT_GT(port, 0);
    setenv("VESK_BROADCAST", "127.255.255.255", 1);
    int argc = 1;
    char name[] = "VeskApp";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    const AppOptions options = AutoTable(port, 0.3); // pauses long enough to see each moment
    Moment bidding, play, sheet, mark;
    {
        CAppSession session(options);
        ASSERT_TRUE(session.Start());
        QTimer watch;
        watch.setInterval(5);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            QWidget* window = MainWindow();
            if (!window) return;
            CTableWidget* table = VisibleChild<CTableWidget>(window);
            const QRect tableArea(table->mapTo(window, QPoint(0, 0)), table->size());
            CBidPanelDialog* panel = VisibleChild<CBidPanelDialog>(window);
            if (bidding.picture.isNull() && panel && CallRows(panel) >= 2) {
                bidding.picture = window->grab().toImage();
                bidding.area = QRect(panel->mapTo(window, QPoint(0, 0)), panel->size());
                bidding.rows = CallRows(panel, &bidding.rowsWithImage);
            }
            if (play.picture.isNull() && !panel && !g_bOverlay && g_contract.value >= 0 &&
                g_pTable && g_pTable->Count() >= 2) {
                play.picture = window->grab().toImage();
                play.area = tableArea;
                // The keyboard marks the second card of the own hand.
                table->setFocus();
                for (int i = 0; i < 2; ++i) {
                    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
                    QApplication::sendEvent(table, &right);
                }
                mark.picture = window->grab().toImage();
                mark.area = QRect(tableArea.x(), tableArea.bottom() - 110, tableArea.width(), 110);
            }
            if (sheet.picture.isNull() && g_bOverlay && g_nDeals >= 1) {
                sheet.picture = window->grab().toImage();
                sheet.area = QRect(tableArea.center() - QPoint(201, 188), QSize(402, 376));
            }
            if (!bidding.picture.isNull() && !play.picture.isNull() && !sheet.picture.isNull())
                QApplication::exit(0);
        });
        watch.start();
        QTimer::singleShot(90000, [] { QApplication::exit(1); });
        EXPECT_EQ(QApplication::exec(), 0) << "not every moment was seen within the time limit";
        watch.stop();
    }

    const QString folder = PictureFolder();
    const struct {
        const char* file;
        const Moment& moment;
    } pictures[] = {{"bidding.png", bidding},
                    {"play.png", play},
                    {"score-sheet.png", sheet},
                    {"keyboard-mark.png", mark}};
    for (const auto& p : pictures) {
        if (p.moment.picture.isNull()) continue;
        EXPECT_TRUE(p.moment.picture.save(folder + "/" + p.file)) << p.file;
        EXPECT_GE(p.moment.picture.width(), 400) << p.file;
        EXPECT_GE(p.moment.picture.height(), 400) << p.file;
    }
    ASSERT_FALSE(bidding.picture.isNull());
    ASSERT_FALSE(play.picture.isNull());
    ASSERT_FALSE(sheet.picture.isNull());
    // The panel is drawn in the window over the table: neither the table's green
    // nor an unpainted hole where a separate window would be.
    EXPECT_LT(GreenShare(bidding.picture, bidding.area), 0.05);
    EXPECT_LT(Share(bidding.picture, bidding.area, IsBlack), 0.2);
    EXPECT_EQ(bidding.rowsWithImage, bidding.rows);
    // Cards lie on the table: at least the faces of the own hand.
    EXPECT_GT(WhitePixels(play.picture, play.area), 6000);
    EXPECT_GT(GreenShare(play.picture, play.area), 0.3);
    // The sheet covers the middle of the table.
    EXPECT_LT(GreenShare(sheet.picture, sheet.area), 0.5);
    // The keyboard's mark lies on a card of the own hand.
    ASSERT_FALSE(mark.picture.isNull());
    EXPECT_GT(Share(mark.picture, mark.area, IsMarkYellow),
              Share(play.picture, mark.area, IsMarkYellow) + 0.002);
}

TEST(WindowPictures, PlayIsSharpAtTwiceTheDensity) {
    const int port = e2e::FreePort();
    ASSERT_GT(port, 0);
    setenv("VESK_BROADCAST", "127.255.255.255", 1);
    setenv("QT_SCALE_FACTOR", "2", 1);
    int argc = 1;
    char name[] = "VeskApp";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    unsetenv("QT_SCALE_FACTOR");

    QImage picture;
    QRect hand;
    double ratio = 0;
    {
        CAppSession session(AutoTable(port, 0.3));
        ASSERT_TRUE(session.Start());
        const bool seen = RunUntil(
            [&](QWidget* window) {
                if (VisibleChild<CBidPanelDialog>(window) || g_bOverlay || g_contract.value < 0 ||
                    !g_pTable || g_pTable->Count() < 2)
                    return false;
                CTableWidget* table = VisibleChild<CTableWidget>(window);
                picture = window->grab().toImage();
                ratio = table->Picture().Ratio();
                const QPoint at = table->mapTo(window, QPoint(0, 0));
                // The own hand's row, in device pixels.
                hand = QRect((at + QPoint(140, table->height() - 99)) * 2, QSize(300, 96) * 2);
                return true;
            },
            90000);
        EXPECT_TRUE(seen) << "no card was played within the time limit";
    }
    ASSERT_FALSE(picture.isNull());
    EXPECT_TRUE(picture.save(PictureFolder() + "/play-2x.png"));
    // The window keeps its 548 x 608 pixels, each drawn as 2 x 2 device pixels.
    EXPECT_EQ(picture.size(), QSize(1096, 1216));
    EXPECT_EQ(ratio, 2.0);
    // The cards are drawn at the screen's density, not doubled from a plain picture.
    EXPECT_GT(FineBlocks(picture, hand), 0.02);
    EXPECT_GT(WhitePixels(picture, hand), 4 * 6000);
}

TEST(WindowPictures, SeatPanelAfterAGameShowsItsOwnBackground) {
    const int port = e2e::FreePort();
    ASSERT_GT(port, 0);
    setenv("VESK_BROADCAST", "127.255.255.255", 1);
    int argc = 1;
    char name[] = "VeskApp";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    QImage picture;
    QRect middle;
    {
        CAppSession session(AutoTable(port, 0));
        ASSERT_TRUE(session.Start());
        const bool seen = RunUntil(
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
                const QRect area(panel->mapTo(window, QPoint(0, 0)), panel->size());
                middle = QRect(area.center() - QPoint(8, 8), QSize(16, 16));
                return true;
            },
            300000);
        EXPECT_TRUE(seen) << "the game did not end within the time limit";
    }
    ASSERT_FALSE(picture.isNull());
    EXPECT_TRUE(picture.save(PictureFolder() + "/seat-panel-after-game.png"));
    // The middle of the panel, between the four seats, is the dialog's light background.
    const QColor expected = QApplication::palette().color(QPalette::Window);
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x)
            ASSERT_EQ(QColor(picture.pixel(x, y)), expected) << x << "," << y;
}
