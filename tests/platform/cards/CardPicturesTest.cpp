// Every card face and back: drawn, different from every other, in its suit's
// colour; and the sheets of all of them for a person to look at.
#include "platform/cards/CardRenderer.h"
#include "tests/platform/cards/PictureSheet.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFileInfo>
#include <QImage>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Hash(const QImage& image) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constBits()),
                                static_cast<qsizetype>(image.sizeInBytes())));
    return hash.result().toHex().toStdString();
}

bool IsRedInk(QRgb p) {
    return qAlpha(p) == 255 && qRed(p) > 150 && qGreen(p) < 90 && qBlue(p) < 110;
}
bool IsDarkInk(QRgb p) {
    return qAlpha(p) == 255 && qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 90;
}

// Count of pixels in `area` passing `test`.
template <typename Test> int Count(const QImage& image, const QRect& area, Test test) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

int NotWhite(const QImage& image) {
    return Count(image, image.rect().adjusted(3, 3, -3, -3),
                 [](QRgb p) { return qAlpha(p) == 255 && (p & 0xFFFFFF) != 0xFFFFFF; });
}

std::vector<QImage> Pictures(CCardRenderer& renderer, int first, int last, int mode, QSize size) {
    std::vector<QImage> out;
    for (int card = first; card <= last; ++card)
        out.push_back(renderer.Picture(card, mode, size.width(), size.height()));
    return out;
}

// The faces in the order a person reads a deck: by suit, ace to king.
std::vector<QImage> FacesBySuit(CCardRenderer& renderer, int mode, QSize size) {
    std::vector<QImage> out;
    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 0; rank < 13; ++rank)
            out.push_back(renderer.Picture(rank * 4 + suit, mode, size.width(), size.height()));
    return out;
}

// The aces and the cards from ten to king, three times the standard size.
std::vector<QImage> LargeFaces(CCardRenderer& renderer) {
    std::vector<QImage> out = Pictures(renderer, 0, 3, CCardRenderer::kModeFace, {213, 288});
    for (int card = 36; card <= 51; ++card)
        out.push_back(renderer.Picture(card, CCardRenderer::kModeFace, 213, 288));
    return out;
}

} // namespace

TEST(CardFaces, EveryFaceIsDrawnAndDistinct) {
    CCardRenderer renderer;
    for (QSize size : {QSize(71, 96), QSize(36, 48), QSize(150, 203)}) {
        std::set<std::string> hashes;
        for (const QImage& face : Pictures(renderer, 0, 51, CCardRenderer::kModeFace, size)) {
            ASSERT_EQ(face.size(), size);
            EXPECT_GT(NotWhite(face), size.width() * size.height() / 100);
            hashes.insert(Hash(face));
        }
        EXPECT_EQ(hashes.size(), 52u) << size.width() << "x" << size.height();
    }
}

TEST(CardFaces, IndicesAreInTheSuitsColour) {
    CCardRenderer renderer;
    const QRect index(2, 2, 11, 30);
    for (int card = 0; card < 52; ++card) {
        const QImage face = renderer.Picture(card, CCardRenderer::kModeFace, 71, 96);
        const bool red = card % 4 == 1 || card % 4 == 2;
        const int redInk = Count(face, index, IsRedInk);
        const int darkInk = Count(face, index.adjusted(1, 1, 0, 0), IsDarkInk);
        if (red) {
            EXPECT_GT(redInk, 25) << "card " << card;
            EXPECT_EQ(darkInk, 0) << "card " << card;
        } else {
            EXPECT_GT(darkInk, 25) << "card " << card;
            EXPECT_EQ(redInk, 0) << "card " << card;
        }
    }
}

TEST(CardFaces, LowerIndexIsTheUpperOneTurnedRound) {
    CCardRenderer renderer;
    for (int card : {0, 25, 38, 39, 41, 46, 51}) {
        const QImage face = renderer.Picture(card, CCardRenderer::kModeFace, 71, 96);
        int differing = 0;
        for (int y = 2; y < 30; ++y)
            for (int x = 2; x < 13; ++x) {
                const QRgb a = face.pixel(x, y), b = face.pixel(70 - x, 95 - y);
                if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                        std::abs(qBlue(a) - qBlue(b)) >
                    24)
                    ++differing;
            }
        EXPECT_LE(differing, 3) << "card " << card;
    }
}

TEST(CardFaces, NumberCardsShowTheirCountOfSigns) {
    // More signs cover more of the middle of the card: the ink grows with the rank.
    CCardRenderer renderer;
    const QRect middle(16, 8, 40, 80);
    for (int suit = 0; suit < 4; ++suit) {
        int previous = 0;
        for (int rank = 1; rank <= 9; ++rank) {
            const QImage face = renderer.Picture(rank * 4 + suit, CCardRenderer::kModeFace, 71, 96);
            const int ink = Count(face, middle, [](QRgb p) { return qGray(p) < 200; });
            EXPECT_GT(ink, previous) << "rank " << rank + 1 << " suit " << suit;
            previous = ink;
        }
    }
}

TEST(CardBacks, TwelveDistinctBacks) {
    CCardRenderer renderer;
    std::set<std::string> hashes;
    std::set<QRgb> middles;
    for (const QImage& back : Pictures(renderer, 54, 65, CCardRenderer::kModeBack, {71, 96})) {
        ASSERT_FALSE(back.isNull());
        EXPECT_GT(NotWhite(back), 71 * 96 / 2);
        hashes.insert(Hash(back));
    }
    EXPECT_EQ(hashes.size(), 12u);
    // No back looks like a face.
    const QImage back = renderer.Picture(54, CCardRenderer::kModeBack, 71, 96);
    for (int card = 0; card < 52; ++card)
        EXPECT_NE(Hash(back), Hash(renderer.Picture(card, CCardRenderer::kModeFace, 71, 96)));
}

TEST(CardBacks, BacksKeepTheirLookWhenSmall) {
    CCardRenderer renderer;
    std::set<std::string> hashes;
    for (const QImage& back : Pictures(renderer, 54, 65, CCardRenderer::kModeBack, {25, 35}))
        hashes.insert(Hash(back));
    EXPECT_EQ(hashes.size(), 12u);
}

TEST(CardSheets, WriteSheetsOfEveryCard) {
    CCardRenderer renderer;
    const QStringList written = {
        WritePictureSheet("faces", FacesBySuit(renderer, CCardRenderer::kModeFace, {71, 96}), 13,
                          {77, 102}),
        WritePictureSheet("faces-highlighted",
                          FacesBySuit(renderer, CCardRenderer::kModeHighlight, {71, 96}), 13,
                          {77, 102}),
        WritePictureSheet("faces-small", FacesBySuit(renderer, CCardRenderer::kModeFace, {36, 48}),
                          13, {40, 52}),
        WritePictureSheet("faces-large", LargeFaces(renderer), 10, {220, 296}),
        WritePictureSheet("backs", Pictures(renderer, 54, 65, CCardRenderer::kModeBack, {71, 96}),
                          6, {77, 102}),
        WritePictureSheet("backs-large",
                          Pictures(renderer, 54, 65, CCardRenderer::kModeBack, {142, 192}), 6,
                          {150, 200}),
        WritePictureSheet("backs-buttons",
                          Pictures(renderer, 54, 65, CCardRenderer::kModeBack, {42, 68}), 6,
                          {48, 74}),
    };
    for (const QString& path : written) {
        ASSERT_FALSE(path.isEmpty());
        EXPECT_GT(QFileInfo(path).size(), 1000);
    }
}
