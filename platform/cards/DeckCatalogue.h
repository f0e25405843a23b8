// The SVG card decks that the desktop's card-deck packages install, in every
// data folder of the XDG search path: KDE's <data>/carddecks/svg-*/ (named in
// their index.desktop) and GNOME's <data>/aisleriot/cards/*.svg[z] (named after
// the file). Listing reads no deck; a deck is checked when it is loaded.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct DeckEntry {
    QString name; // as the chooser shows it
    QString file; // the SVG file
};

class CDeckCatalogue {
public:
    // Every deck found under `dataDirs`, sorted by name; a file reachable
    // through two folders is listed once.
    static QList<DeckEntry> Find(const QStringList& dataDirs = DataDirs());
    // $XDG_DATA_DIRS, or /usr/local/share and /usr/share when it is unset.
    static QStringList DataDirs();
    // "anglo_modern_4_color" -> "Anglo Modern 4 Color".
    static QString NameFromFile(const QString& baseName);
};
