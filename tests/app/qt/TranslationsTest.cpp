// The German catalogue built from translations/vesk_de.ts: loaded for a German
// locale, it reaches the texts of every layer (the menu built by the window,
// the status line's texts marked in the game flow, the rules' explanations,
// the network library's messages, Qt's own buttons); English and languages
// without a catalogue keep the program's own texts.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <cstdio>

#include "app/CGameFlow.h"
#include "app/qt/CMainMenu.h"
#include "app/qt/CQtFlowPlatform.h"
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
