#include "platform/cards/DeckCatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTextStream>
#include <algorithm>

namespace {

// Name= and SVG= of a KDE deck's index.desktop (the unlocalised entries).
bool ReadKdeIndex(const QString& folder, DeckEntry& entry) {
    QFile index(QDir(folder).filePath(QStringLiteral("index.desktop")));
    if (!index.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    QTextStream in(&index);
    QString name, svg;
    for (int lines = 0; !in.atEnd() && lines < 1000; ++lines) {
        const QString line = in.readLine().trimmed();
        if (name.isEmpty() && line.startsWith(QLatin1String("Name="))) name = line.mid(5).trimmed();
        if (svg.isEmpty() && line.startsWith(QLatin1String("SVG="))) svg = line.mid(4).trimmed();
    }
    if (svg.isEmpty() || svg.contains('/')) return false;
    entry.file = QDir(folder).filePath(svg);
    entry.name =
        name.isEmpty() ? CDeckCatalogue::NameFromFile(QFileInfo(svg).completeBaseName()) : name;
    return QFileInfo(entry.file).isFile();
}

} // namespace

QStringList CDeckCatalogue::DataDirs() {
    const QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty()) return {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    return dirs.split(':', Qt::SkipEmptyParts);
}

QString CDeckCatalogue::NameFromFile(const QString& baseName) {
    QString name;
    bool wordStart = true;
    for (const QChar c : baseName) {
        if (c == '_' || c == '-' || c == ' ') {
            if (!name.isEmpty() && !name.endsWith(' ')) name += ' ';
            wordStart = true;
            continue;
        }
        name += wordStart ? c.toUpper() : c;
        wordStart = false;
    }
    return name.trimmed();
}

QList<DeckEntry> CDeckCatalogue::Find(const QStringList& dataDirs) {
    QList<DeckEntry> decks;
    QSet<QString> seen;
    const auto add = [&](const DeckEntry& entry) {
        const QString key = QFileInfo(entry.file).canonicalFilePath();
        if (key.isEmpty() || seen.contains(key)) return;
        seen.insert(key);
        decks.append(entry);
    };
    for (const QString& data : dataDirs) {
        const QDir kde(QDir(data).filePath(QStringLiteral("carddecks")));
        for (const QString& sub :
             kde.entryList({QStringLiteral("svg-*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
            DeckEntry entry;
            if (ReadKdeIndex(kde.filePath(sub), entry)) add(entry);
        }
        const QDir gnome(QDir(data).filePath(QStringLiteral("aisleriot/cards")));
        for (const QFileInfo& file : gnome.entryInfoList(
                 {QStringLiteral("*.svg"), QStringLiteral("*.svgz")}, QDir::Files)) {
            add({NameFromFile(file.completeBaseName()), file.absoluteFilePath()});
        }
    }
    // The same design from both desktops keeps the two apart.
    QHash<QString, int> names;
    for (const DeckEntry& deck : decks)
        ++names[deck.name];
    for (DeckEntry& deck : decks) {
        if (names.value(deck.name) < 2) continue;
        deck.name += deck.file.contains(QLatin1String("/carddecks/")) ? QStringLiteral(" (KDE)")
                                                                      : QStringLiteral(" (GNOME)");
    }
    std::stable_sort(decks.begin(), decks.end(), [](const DeckEntry& a, const DeckEntry& b) {
        return QString::localeAwareCompare(a.name, b.name) < 0;
    });
    return decks;
}
