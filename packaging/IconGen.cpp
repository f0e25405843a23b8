// vesk-icongen: writes the program's icon as PNG files for the desktop's icon theme.
// Usage: vesk-icongen OUTDIR NAME SIZE...  ->  OUTDIR/<SIZE>x<SIZE>/NAME.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "resources/ResourceIds.h"
#include "resources/ResourceImages.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: vesk-icongen OUTDIR NAME SIZE...\n");
        return 2;
    }
    // Drawing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0 || size > 1024) {
            std::fprintf(stderr, "vesk-icongen: bad size %s\n", argv[i]);
            return 2;
        }
        const QImage image = CResourceImages::Icon(resid::kIconApp, size);
        if (image.isNull() || image.width() != size || image.height() != size) {
            std::fprintf(stderr, "vesk-icongen: no %dx%d icon\n", size, size);
            return 1;
        }
        const QString dir = QStringLiteral("%1/%2x%2").arg(outDir).arg(size);
        if (!QDir().mkpath(dir)) {
            std::fprintf(stderr, "vesk-icongen: cannot make %s\n", qPrintable(dir));
            return 1;
        }
        const QString file = dir + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!image.convertToFormat(QImage::Format_ARGB32).save(file, "PNG")) {
            std::fprintf(stderr, "vesk-icongen: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
