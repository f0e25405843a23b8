// The whole program window, offscreen, during the bidding, during the play and
// under the score sheet: the pictures go to a folder in the build tree for a
// person to look at; the test checks what a program can see in them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QTimer>
#include <cstdlib>
#include <string>

#include "app/AppOptions.h"
#include "app/qt/CAppSession.h"
#include "app/qt/CBidPanelDialog.h"
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

struct Moment {
    QImage picture;
    QRect area; // the bidding panel, the table or the sheet, in window coordinates
    int rows = 0, rowsWithImage = 0;
};

} // namespace

TEST(WindowPictures, BiddingPlayAndScoreSheet) {
    const int port = e2e::FreePort();
    ASSERT_GT(port, 0);
    setenv("VESK_BROADCAST", "127.255.255.255", 1);
    int argc = 1;
    char name[] = "VeskApp";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    AppOptions options;
    options.name = "Ann";
    options.connType = 1;
    options.port = port;
    options.seat = 1;
    options.start = true;
    options.partners = {2, 3, 4};
    options.autoplay = true;
    options.pace = 0.3; // pauses long enough for each moment to be seen
    Moment bidding, play, sheet;
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

    const QString folder = QStringLiteral(VESK_PICTURE_DIR);
    QDir().mkpath(folder);
    std::printf("window pictures in %s\n", qPrintable(folder));
    const struct {
        const char* file;
        const Moment& moment;
    } pictures[] = {{"bidding.png", bidding}, {"play.png", play}, {"score-sheet.png", sheet}};
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
}
