// The desktop's SVG card decks: a packaged deck draws the faces, and a
// missing, corrupt or incomplete deck gives no deck, so the built-in faces stay.
#include "platform/cards/SvgDeck.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/cards/CardRenderer.h"

namespace {

constexpr int kJackOfClubs = 40;
constexpr int kBack = 54;

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The faces in use while it lives; built-in faces again afterwards.
struct FacesInUse {
    explicit FacesInUse(std::shared_ptr<const CSvgDeck> deck) {
        CCardRenderer::SetFaceDeck(std::move(deck));
    }
    ~FacesInUse() { CCardRenderer::SetFaceDeck(nullptr); }
};

// Rectangles for the cards, named as KDE ("king_spade") or GNOME ("spade_king")
// names them; without the king of spades unless `complete`.
QByteArray Deck(bool gnome, bool complete) {
    QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='500' height='500'>";
    for (const QByteArray suit : {"club", "diamond", "heart", "spade"})
        for (const QByteArray rank : {"1", "7", "8", "9", "10", "jack", "queen", "king"})
            if (complete || suit != "spade" || rank != "king")
                svg += "<rect id='" + (gnome ? suit + "_" + rank : rank + "_" + suit) +
                       "' width='10' height='14' fill='red'/>";
    return svg + "</svg>";
}

} // namespace

TEST(SvgDeck, PackagedDeckDrawsTheFacesAndLeavesTheBacks) {
    std::shared_ptr<const CSvgDeck> deck =
        CSvgDeck::Load(QStringLiteral("/usr/share/aisleriot/cards/anglo.svgz"));
    if (!deck) GTEST_SKIP() << "no card-deck package (gnome-cards-data)";
    CCardRenderer builtIn;
    const QImage builtInFace = builtIn.Picture(kJackOfClubs, CCardRenderer::kModeFace, 71, 96);
    const QImage builtInBack = builtIn.Picture(kBack, CCardRenderer::kModeBack, 71, 96);
    {
        const FacesInUse faces(deck);
        // A renderer that kept a built-in picture draws it anew from the deck.
        const QImage face = builtIn.Picture(kJackOfClubs, CCardRenderer::kModeFace, 71, 96);
        ASSERT_FALSE(face.isNull());
        EXPECT_NE(face, builtInFace);
        EXPECT_EQ(builtIn.Picture(kBack, CCardRenderer::kModeBack, 71, 96), builtInBack);
        // The deck's faces differ from card to card, and cover the whole card.
        EXPECT_NE(builtIn.Picture(kJackOfClubs + 1, CCardRenderer::kModeFace, 71, 96), face);
        EXPECT_EQ(qAlpha(face.pixel(35, 48)), 255);
    }
    EXPECT_EQ(builtIn.Picture(kJackOfClubs, CCardRenderer::kModeFace, 71, 96), builtInFace);
}

TEST(SvgDeck, MissingCorruptOrIncompleteDecksGiveNoDeck) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(CSvgDeck::Load(dir.filePath("missing.svgz")));
    const struct {
        const char* name;
        QByteArray bytes;
        bool deck;
    } cases[] = {
        {"noise.svgz", QByteArray("\x1f\x8b\x08\x00", 4) + " not really gzip at all", false},
        {"cut.svg", "<svg xmlns='http://www.w3.org/2000/svg'><rect id='1_club' width=", false},
        {"empty.svg", "", false},
        {"incomplete.svg", Deck(false, false), false},
        {"complete.svg", Deck(false, true), true},
        {"complete-gnome.svg", Deck(true, true), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir.filePath(c.name), c.bytes);
        EXPECT_EQ(CSvgDeck::Load(dir.filePath(c.name)) != nullptr, c.deck);
    }
}
