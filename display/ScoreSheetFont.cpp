#include "display/ScoreSheetFont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <algorithm>

QStringList CScoreSheetFont::PreferredFamilies() {
    // Dancing Script comes with Debian's fonts-dancingscript.
    return {QStringLiteral("Viner Hand ITC"), QStringLiteral("Dancing Script"),
            QStringLiteral("Kristi")};
}

QString CScoreSheetFont::InstalledFamily() {
    const QStringList installed = QFontDatabase::families();
    for (const QString& name : PreferredFamilies())
        if (installed.contains(name, Qt::CaseInsensitive)) return name;
    return QString();
}

int CScoreSheetFont::PixelHeight(int points, int dpiY) {
    const long long p = static_cast<long long>(points) * dpiY;
    return static_cast<int>(p >= 0 ? (p + 36) / 72 : (p - 36) / 72);
}

QFont CScoreSheetFont::Make(int points, int dpiY) {
    QFont font = QGuiApplication::font();
    const QString family = InstalledFamily();
    if (!family.isEmpty()) font.setFamily(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, PixelHeight(points, dpiY)));
    font.setWeight(QFont::Bold);
    return font;
}
