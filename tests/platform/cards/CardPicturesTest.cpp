// Every card face and back: drawn, different from every other, in its suit's
// colour; and the sheets of all of them for a person to look at.
#include "platform/cards/CardRenderer.h"
#include "tests/platform/cards/PictureSheet.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QImage>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Hash(const QImage& image) {
    return QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char*>(image.constBits()),
                                                   static_cast<qsizetype>(image.sizeInBytes())),
                                    QCryptographicHash::Sha1)
        .toHex()
        .toStdString();
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

// Cards first..last (faces 0..51, backs 54..65) in one mode and size.
std::vector<QImage> Pictures(CCardRenderer& renderer, int first, int last, int mode, QSize size) {
    std::vector<QImage> out;
    for (int card = first; card <= last; ++card)
        out.push_back(renderer.Picture(card, mode, size.width(), size.height()));
    return out;
}

} // namespace

TEST(CardPictures, EveryFaceAndBackIsDrawnAndDistinct) {
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
    for (QSize size : {QSize(71, 96), QSize(25, 35)}) { // backs keep their look when small
        std::set<std::string> hashes;
        for (const QImage& back : Pictures(renderer, 54, 65, CCardRenderer::kModeBack, size))
            hashes.insert(Hash(back));
        EXPECT_EQ(hashes.size(), 12u);
    }
    EXPECT_GT(NotWhite(renderer.Picture(54, CCardRenderer::kModeBack, 71, 96)), 71 * 96 / 2);
}

TEST(CardPictures, IndicesInTheSuitsColourAndTurnedRound) {
    CCardRenderer renderer;
    const QRect index(2, 2, 11, 30);
    bool (*red)(QRgb) = [](QRgb p) {
        return qAlpha(p) == 255 && qRed(p) > 150 && qGreen(p) < 90 && qBlue(p) < 110;
    };
    bool (*dark)(QRgb) = [](QRgb p) {
        return qAlpha(p) == 255 && qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 90;
    };
    for (int card = 0; card < 52; ++card) {
        const QImage face = renderer.Picture(card, CCardRenderer::kModeFace, 71, 96);
        const bool isRed = card % 4 == 1 || card % 4 == 2;
        EXPECT_GT(Count(face, index, isRed ? red : dark), 25) << "card " << card;
        EXPECT_EQ(Count(face, index.adjusted(1, 1, 0, 0), isRed ? dark : red), 0) << card;
        int differing = 0; // the lower index is the upper one turned round
        for (int y = 2; y < 30; ++y)
            for (int x = 2; x < 13; ++x) {
                const QRgb a = face.pixel(x, y), b = face.pixel(70 - x, 95 - y);
                differing += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                                 std::abs(qBlue(a) - qBlue(b)) >
                             24;
            }
        EXPECT_LE(differing, 3) << "card " << card;
    }
}

TEST(CardPictures, NumberCardsShowTheirCountOfSigns) {
    // More signs cover more of the middle of the card: the ink grows with the rank.
    CCardRenderer renderer;
    for (int suit = 0; suit < 4; ++suit) {
        int previous = 0;
        for (int rank = 1; rank <= 9; ++rank) {
            const QImage face = renderer.Picture(rank * 4 + suit, CCardRenderer::kModeFace, 71, 96);
            const int ink =
                Count(face, QRect(16, 8, 40, 80), [](QRgb p) { return qGray(p) < 200; });
            EXPECT_GT(ink, previous) << "rank " << rank + 1 << " suit " << suit;
            previous = ink;
        }
    }
}

TEST(CardPictures, WriteSheetsOfEveryCard) {
    CCardRenderer renderer;
    std::vector<QImage> faces, lit;
    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 0; rank < 13; ++rank) {
            faces.push_back(renderer.Picture(rank * 4 + suit, CCardRenderer::kModeFace, 71, 96));
            lit.push_back(renderer.Picture(rank * 4 + suit, CCardRenderer::kModeHighlight, 71, 96));
        }
    for (const QString& path :
         {WritePictureSheet("faces", faces, 13, {77, 102}),
          WritePictureSheet("faces-highlighted", lit, 13, {77, 102}),
          WritePictureSheet("faces-large",
                            Pictures(renderer, 36, 51, CCardRenderer::kModeFace, {213, 288}), 8,
                            {220, 296}),
          WritePictureSheet("backs", Pictures(renderer, 54, 65, CCardRenderer::kModeBack, {71, 96}),
                            6, {77, 102})})
        EXPECT_FALSE(path.isEmpty());
}
