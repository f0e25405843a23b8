// The German catalogue built from translations/vesk_de.ts reaches the texts of
// every layer and picks the German handbook; other languages keep the program's
// own texts and the English handbook.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QMainWindow>
#include <QPushButton>
#include <QSet>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <cstdio>
#include <string>
#include <tuple>

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

} // namespace

TEST_F(Translations, GermanLocaleTranslatesEveryLayer) {
    ASSERT_TRUE(InstallTranslations(QLocale(QLocale::German, QLocale::Germany), BuildDir()));
    QMainWindow window;
    CMainMenu menu(window);
    CQtFlowPlatform platform;
    CQtNetUi netUi;
    QDialogButtonBox buttons(QDialogButtonBox::No); // Qt's own catalogue comes with ours
    EXPECT_EQ(std::tuple(menu.Item(menuid::kScore)->text().toStdString(),
                         platform.Text(kStatusSelectCard),
                         TranslatedTextUtf8(CGameListModel::RootText(CGameListModel::kWaitingRoot)),
                         netUi.Text(CNetLibrary::kSocketErrorText),
                         buttons.button(QDialogButtonBox::No)->text().toStdString()),
              std::tuple(std::string("&Punktestand\tF9"),
                         std::string("Wähle eine Karte zum Ausspielen."),
                         std::string("Wartende Spiele"),
                         std::string("Socket-Fehler %u: Fehler in der Routine %s."),
                         std::string("&Nein")));

    // A translated pattern takes the arguments of the English one.
    char status[160];
    std::snprintf(status, sizeof status, platform.Text(kStatusPlayA).c_str(),
                  platform.Text(SuitName(3)).c_str());
    EXPECT_STREQ(status, "Bitte Pik spielen.");

    RemoveTranslations();
    EXPECT_EQ(platform.Text(kStatusSelectCard), kStatusSelectCard);
}

// Each handbook is the one of the catalogue's language, and every link of its
// contents leads to an anchor within it.
TEST_F(Translations, HandbookFollowsTheCatalogueLanguage) {
    const struct {
        QLocale locale;
        bool offered;
        const char* term; // a term only this language's handbook has
    } cases[] = {
        {QLocale(QLocale::German, QLocale::Germany), true, "Übertrumpfen"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), false, "Over-trumping"},
        {QLocale(QLocale::French, QLocale::France), false, "Over-trumping"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        RemoveTranslations();
        EXPECT_EQ(InstallTranslations(c.locale, BuildDir()), c.offered);
        CRulesDialog rules;
        EXPECT_TRUE(rules.Browser()->toPlainText().contains(QString::fromUtf8(c.term)));
        QStringList links;
        QSet<QString> names;
        const QTextDocument& document = *rules.Browser()->document();
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (format.anchorHref().startsWith(QLatin1Char('#')))
                    links << format.anchorHref().mid(1);
                for (const QString& name : format.anchorNames())
                    names.insert(name);
            }
        }
        EXPECT_EQ(links.size(), 7);
        for (const QString& link : std::as_const(links))
            EXPECT_TRUE(names.contains(link)) << link.toStdString();
    }
}
