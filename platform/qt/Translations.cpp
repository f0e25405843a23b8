#include "platform/qt/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QList>
#include <QPointer>
#include <QTranslator>

#include "platform/TextMark.h"

#ifndef VESK_TRANSLATIONS_DIR
#define VESK_TRANSLATIONS_DIR "/usr/share/vesk/translations"
#endif

namespace {

// The installed catalogues, children of the application (GUI thread only).
QList<QPointer<QTranslator>> g_installed;
// The language of the installed catalogue of ours, empty for English.
QString g_language;

// Loads and installs one catalogue.
bool Install(const QLocale& locale, const QString& name, const QString& dir) {
    auto translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, QStringLiteral("_"), dir) &&
        QCoreApplication::installTranslator(translator)) {
        g_installed.append(translator);
        return true;
    }
    delete translator;
    return false;
}

} // namespace

QStringList TranslationDirs() {
    const QString appDir = QCoreApplication::applicationDirPath();
    QStringList dirs;
    dirs << QDir::cleanPath(appDir + QStringLiteral("/../translations"))
         << QDir::cleanPath(appDir + QStringLiteral("/../share/vesk/translations"))
         << QStringLiteral(VESK_TRANSLATIONS_DIR);
    dirs.removeDuplicates();
    return dirs;
}

bool InstallTranslations(const QLocale& locale, const QStringList& dirs) {
    if (QCoreApplication::instance() == nullptr) return false;
    // The user's languages in order of preference: English, the program's own
    // language, ends the search before any catalogue of a later choice.
    for (const QString& language : locale.uiLanguages()) {
        const QLocale wanted(language);
        if (wanted.language() == QLocale::English || wanted.language() == QLocale::C) return false;
        for (const QString& dir : dirs) {
            if (!Install(wanted, QStringLiteral("vesk"), dir)) continue;
            g_language = QLocale::languageToCode(wanted.language());
            // Qt's own texts only beside a catalogue of ours, so that a language
            // we do not offer keeps one language throughout.
            Install(wanted, QStringLiteral("qtbase"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath));
            return true;
        }
    }
    return false;
}

void RemoveTranslations() {
    for (const QPointer<QTranslator>& translator : std::as_const(g_installed)) {
        if (translator.isNull()) continue;
        QCoreApplication::removeTranslator(translator);
        delete translator.data();
    }
    g_installed.clear();
    g_language.clear();
}

QString InstalledLanguage() {
    return g_language;
}

QString TranslatedText(const char* text) {
    return QCoreApplication::translate(VESK_TEXT_CONTEXT, text);
}

std::string TranslatedTextUtf8(const char* text) {
    return TranslatedText(text).toStdString();
}
