#include "tests/platform/cards/PictureSheet.h"

#include <QDir>
#include <QPainter>

QString TestOutputDir() {
    QString dir = QString::fromUtf8(VESK_CARDS_TEST_OUTPUT);
    QDir().mkpath(dir);
    return dir;
}

QString WritePictureSheet(const QString& name, const std::vector<QImage>& pictures, int columns,
                          QSize cell) {
    if (pictures.empty() || columns < 1) return {};
    const int rows = (static_cast<int>(pictures.size()) + columns - 1) / columns;
    QImage sheet(columns * cell.width(), rows * cell.height(), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0, 128, 0));
    QPainter painter(&sheet);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const QImage& picture = pictures[i];
        const int col = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
        const int x = col * cell.width() + (cell.width() - picture.width()) / 2;
        const int y = row * cell.height() + (cell.height() - picture.height()) / 2;
        painter.drawImage(x, y, picture);
    }
    painter.end();
    const QString path = TestOutputDir() + "/" + name + ".png";
    return sheet.save(path) ? path : QString();
}
