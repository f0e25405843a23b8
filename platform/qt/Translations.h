// The program's translations: the catalogue vesk_<language>.qm and Qt's own
// qtbase_<language>.qm (standard buttons, file dialogs) for the user's locale,
// installed into the running application, and the lookup of texts marked in the
// plain C++ layers.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <string>

// Where the catalogues are looked for, first match wins: next to a program run
// from the build tree (<build>/translations), then the installed folder.
QStringList TranslationDirs();

// Loads the catalogue for `locale` from the first of `dirs` that holds one and
// Qt's own catalogue for the same language, and installs both into the
// application (which must exist). True when the program's catalogue was found;
// for English, the program's own language, there is none and nothing is installed.
bool InstallTranslations(const QLocale& locale, const QStringList& dirs);
// Removes and frees what InstallTranslations installed: the texts are English again.
void RemoveTranslations();
// The language of the program's catalogue that InstallTranslations installed,
// as its code ("de"), so that other resources can follow the same choice; empty
// while the texts are English.
QString InstalledLanguage();

// The shown wording of a text marked with VESK_TRANSLATE_NOOP (platform/TextMark.h).
QString TranslatedText(const char* text);
std::string TranslatedTextUtf8(const char* text);
