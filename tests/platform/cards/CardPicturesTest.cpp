// Every card face and back: drawn and different from every other; and the sheets
// of all of them for a person to look at.
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
    for (QSize size : {QSize(71, 96), QSize(36, 48)}) {
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
          WritePictureSheet("backs", Pictures(renderer, 54, 65, CCardRenderer::kModeBack, {71, 96}),
                            6, {77, 102})})
        EXPECT_FALSE(path.isEmpty());
}
