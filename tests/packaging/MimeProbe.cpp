// Prints the MIME type the desktop's shared-mime-info database gives each file
// named on the command line, one per line (the database is found through
// XDG_DATA_DIRS, as every desktop program finds it).
#include <QCoreApplication>
#include <QMimeDatabase>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QMimeDatabase db;
    for (int i = 1; i < argc; ++i) {
        const QString file = QString::fromLocal8Bit(argv[i]);
        std::printf("%s\n", qPrintable(db.mimeTypeForFile(file).name()));
    }
    return 0;
}
