// The German catalogue built from translations/vesk_de.ts: loaded for a German
// locale, it reaches the texts of every layer (the menu built by the window,
// the status line's texts marked in the game flow, the rules' explanations,
// the network library's messages, Qt's own buttons) and picks the German rules
// handbook; English and languages without a catalogue keep the program's own
// texts and the English handbook.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <cstdio>

#include "app/CGameFlow.h"
#include "app/qt/CMainMenu.h"
#include "app/qt/CQtFlowPlatform.h"
#include "app/qt/CRulesDialog.h"
#include "net/CGameListModel.h"
#include "net/NetLibrary.h"
#include "net/ui/QtNetUi.h"
#include "platform/qt/Translations.h"
#include "rules/Cards.h"

namespace {

class Translations : public ::testing::Test {
protected:
    void TearDown() override { RemoveTranslations(); }
    static QStringList BuildDir() { return {QStringLiteral(VESK_QM_DIR)}; }
};

QStringList MenuBarTexts(QMainWindow& window) {
    QStringList texts;
    for (QAction* action : window.menuBar()->actions())
        texts << action->text();
    return texts;
}

// The targets of a document's links within itself (href "#name") and the
// anchor names it holds.
void CollectAnchors(const QTextDocument& document, QStringList& links, QSet<QString>& names) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.anchorHref().startsWith(QLatin1Char('#')))
                links << format.anchorHref().mid(1);
            for (const QString& name : format.anchorNames())
                names.insert(name);
        }
    }
}

} // namespace

TEST_F(Translations, GermanLocaleTranslatesEveryLayer) {
    ASSERT_TRUE(InstallTranslations(QLocale(QLocale::German, QLocale::Germany), BuildDir()));

    QMainWindow window;
    CMainMenu menu(window);
    EXPECT_EQ(MenuBarTexts(window), QStringList({"&Spiel", "&Computerpartner", "&Hilfe"}));
    EXPECT_EQ(menu.Item(menuid::kScore)->text(), "&Punktestand\tF9");
    EXPECT_EQ(menu.Item(menuid::kScore)->statusTip(), "Zeigt den Stand des laufenden Spiels.");

    CQtFlowPlatform platform;
    CQtNetUi netUi;
    const struct {
        std::string shown;
        std::string german;
    } cases[] = {
        {platform.Text(kStatusSelectCard), "Wähle eine Karte zum Ausspielen."},
        {platform.Text(SuitName(0)), "Kreuz"},
        {TranslatedTextUtf8(CGameListModel::RootText(CGameListModel::kWaitingRoot)),
         "Wartende Spiele"},
        {netUi.Text(CNetLibrary::kSocketErrorText), "Socket-Fehler %u: Fehler in der Routine %s."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, c.german);

    // A translated pattern takes the arguments of the English one.
    char status[160];
    std::snprintf(status, sizeof status, platform.Text(kStatusPlayA).c_str(),
                  platform.Text(SuitName(3)).c_str());
    EXPECT_STREQ(status, "Bitte Pik spielen.");

    // Qt's own catalogue comes with ours.
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No);
    EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text(), "&Nein");

    RemoveTranslations();
    EXPECT_EQ(platform.Text(kStatusSelectCard), kStatusSelectCard);
}

TEST_F(Translations, EnglishAndUnofferedLanguagesKeepTheProgramsTexts) {
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::C), QLocale(QLocale::French, QLocale::France)}) {
        SCOPED_TRACE(locale.name().toStdString());
        EXPECT_FALSE(InstallTranslations(locale, BuildDir()));
        EXPECT_EQ(CQtFlowPlatform().Text(kStatusChooseCall), "Please choose anything to say.");
        QDialogButtonBox buttons(QDialogButtonBox::No);
        EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text(), "&No");
    }
}

TEST_F(Translations, HandbookFollowsTheCatalogueLanguage) {
    const struct {
        QLocale locale;
        const char* title;
        const char* term; // a term only this language's handbook has
        const char* page;
    } cases[] = {
        {QLocale(QLocale::German, QLocale::Germany), "Regeln von Vesk", "Übertrumpfen",
         "rules_de.html"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "Rules of Vesk", "Over-trumping",
         "rules.html"},
    };
    QStringList contents[2];
    for (int i = 0; i < 2; ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.locale.name().toStdString());
        RemoveTranslations();
        InstallTranslations(c.locale, BuildDir());
        CRulesDialog rules;
        EXPECT_EQ(rules.windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(rules.Browser()->source().fileName(), c.page);
        EXPECT_TRUE(rules.Browser()->toPlainText().contains(QString::fromUtf8(c.term)));

        QSet<QString> names;
        CollectAnchors(*rules.Browser()->document(), contents[i], names);
        EXPECT_EQ(contents[i].size(), 7);
        for (const QString& link : std::as_const(contents[i]))
            EXPECT_TRUE(names.contains(link)) << link.toStdString();
    }
    // Both handbooks lead to the same sections in the same order.
    EXPECT_EQ(contents[0], contents[1]);
}
