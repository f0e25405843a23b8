#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "net/ui/QtNetUi.h"
#include "net/ui/WelcomeDlg.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/SettingsStore.h"
#include "platform/qt/UserName.h"
#include "tests/net/ui/UiTestHelpers.h"

namespace {

class WelcomeDlgTest : public testing::Test {
protected:
    QTemporaryDir m_dir;
    CSettingsStore m_store{m_dir.filePath("Vesk.conf")};
};

QWidget* ChildWithText(QWidget* parent, const QString& text) {
    for (QWidget* w : parent->findChildren<QWidget*>()) {
        if (auto* l = dynamic_cast<QLabel*>(w); l && l->text() == text) return w;
        if (auto* g = dynamic_cast<QGroupBox*>(w); g && g->title() == text) return w;
        if (auto* b = dynamic_cast<QAbstractButton*>(w); b && b->text() == text) return w;
    }
    return nullptr;
}

} // namespace

TEST_F(WelcomeDlgTest, FirstStartShowsTheLoginNameAndTheFirstRadio) {
    CWelcomeDlg dlg(m_store);
    EXPECT_EQ(dlg.windowTitle(), "The Nuv Vesk Network");
    EXPECT_EQ(dlg.NameEdit()->text().toStdString(), GetUserName());
    EXPECT_FALSE(dlg.NameEdit()->text().isEmpty());
    EXPECT_TRUE(dlg.ConnectRadio()->isChecked());
    EXPECT_FALSE(dlg.DealerRadio()->isChecked());
    EXPECT_EQ(dlg.ConnType(), 0);
}

TEST_F(WelcomeDlgTest, StoredDealerChoiceSelectsTheDealerRadio) {
    ASSERT_TRUE(m_store.WriteString("LastPlayerName", "Ingrid"));
    ASSERT_TRUE(m_store.WriteDword("ConnType", 1));
    CWelcomeDlg dlg(m_store);
    EXPECT_EQ(dlg.NameEdit()->text(), "Ingrid");
    EXPECT_TRUE(dlg.DealerRadio()->isChecked());
    EXPECT_FALSE(dlg.ConnectRadio()->isChecked());
}

TEST_F(WelcomeDlgTest, IncompleteOrMalformedStoreFallsBackToTheLoginName) {
    const std::string login = GetUserName();
    // Only the type.
    ASSERT_TRUE(m_store.WriteDword("ConnType", 1));
    {
        CWelcomeDlg dlg(m_store);
        EXPECT_EQ(dlg.NameEdit()->text().toStdString(), login);
        EXPECT_TRUE(dlg.ConnectRadio()->isChecked());
    }
    // The type stored as a string.
    ASSERT_TRUE(m_store.WriteString("LastPlayerName", "Ingrid"));
    ASSERT_TRUE(m_store.WriteString("ConnType", "1"));
    {
        CWelcomeDlg dlg(m_store);
        EXPECT_EQ(dlg.NameEdit()->text().toStdString(), login);
        EXPECT_TRUE(dlg.ConnectRadio()->isChecked());
    }
    // A type no radio button stands for.
    ASSERT_TRUE(m_store.WriteDword("ConnType", 2));
    {
        CWelcomeDlg dlg(m_store);
        EXPECT_EQ(dlg.NameEdit()->text().toStdString(), login);
        EXPECT_TRUE(dlg.ConnectRadio()->isChecked());
    }
    // The name stored as a number.
    ASSERT_TRUE(m_store.WriteDword("ConnType", 1));
    ASSERT_TRUE(m_store.WriteDword("LastPlayerName", 7));
    {
        CWelcomeDlg dlg(m_store);
        EXPECT_EQ(dlg.NameEdit()->text().toStdString(), login);
        EXPECT_TRUE(dlg.ConnectRadio()->isChecked());
    }
    // A name longer than the stored value may be.
    ASSERT_TRUE(m_store.WriteString("LastPlayerName", std::string(256, 'n')));
    {
        CWelcomeDlg dlg(m_store);
        EXPECT_EQ(dlg.NameEdit()->text().toStdString(), login);
    }
}

TEST_F(WelcomeDlgTest, ConfirmingAnEmptyNameStoresItEmptyAndPlaysAsPlayer) {
    CWelcomeDlg dlg(m_store);
    dlg.NameEdit()->clear();
    dlg.OkButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    std::string name = "unset";
    int type = -1;
    dlg.TakeChoices(name, type);
    EXPECT_EQ(name, "Player");
    EXPECT_EQ(type, 0);
    std::string stored = "unset";
    ASSERT_TRUE(m_store.ReadString("LastPlayerName", stored));
    EXPECT_EQ(stored, "");
    uint32_t storedType = 9;
    ASSERT_TRUE(m_store.ReadDword("ConnType", storedType));
    EXPECT_EQ(storedType, 0u);
    // The next start shows the empty name just confirmed, not the login name.
    CWelcomeDlg next(m_store);
    EXPECT_EQ(next.NameEdit()->text(), "");
    EXPECT_TRUE(next.ConnectRadio()->isChecked());
}

TEST_F(WelcomeDlgTest, ConfirmedChoicesAreStoredAsTyped) {
    CWelcomeDlg dlg(m_store);
    dlg.NameEdit()->setText("  Bo Åkesson with a long name  ");
    dlg.DealerRadio()->click();
    dlg.OkButton()->click();
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    std::string name;
    int type = -1;
    dlg.TakeChoices(name, type);
    EXPECT_EQ(name, "  Bo Åkesson with a long name  ");
    EXPECT_EQ(type, 1);
    CWelcomeDlg next(m_store);
    EXPECT_EQ(next.NameEdit()->text(), "  Bo Åkesson with a long name  ");
    EXPECT_TRUE(next.DealerRadio()->isChecked());
}

TEST_F(WelcomeDlgTest, CancelKeepsTheStoreAsItWas) {
    ASSERT_TRUE(m_store.WriteString("LastPlayerName", "Ingrid"));
    ASSERT_TRUE(m_store.WriteDword("ConnType", 1));
    CWelcomeDlg dlg(m_store);
    dlg.NameEdit()->setText("Other");
    dlg.ConnectRadio()->click();
    dlg.CancelButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    std::string stored;
    uint32_t type = 0;
    ASSERT_TRUE(m_store.ReadString("LastPlayerName", stored));
    ASSERT_TRUE(m_store.ReadDword("ConnType", type));
    EXPECT_EQ(stored, "Ingrid");
    EXPECT_EQ(type, 1u);
}

TEST_F(WelcomeDlgTest, RadioButtonsExcludeEachOther) {
    CWelcomeDlg dlg(m_store);
    dlg.DealerRadio()->click();
    EXPECT_FALSE(dlg.ConnectRadio()->isChecked());
    dlg.ConnectRadio()->click();
    EXPECT_FALSE(dlg.DealerRadio()->isChecked());
}

TEST_F(WelcomeDlgTest, ControlsSitWhereTheDialogUnitsPutThem) {
    CWelcomeDlg dlg(m_store);
    const CDialogUnits du(dlg.font());
    EXPECT_EQ(ChildWithText(&dlg, "Welcome to the Nuv vesk network.")->geometry(),
              du.Rect(17, 11, 145, 12));
    EXPECT_EQ(ChildWithText(&dlg, "What is your name?")->geometry(), du.Rect(17, 28, 68, 12));
    EXPECT_EQ(dlg.NameEdit()->geometry(), du.Rect(97, 25, 65, 14));
    EXPECT_EQ(ChildWithText(&dlg, "How do you want to play?")->geometry(),
              du.Rect(17, 49, 143, 48));
    EXPECT_EQ(dlg.ConnectRadio()->geometry(), du.Rect(24, 62, 132, 12));
    EXPECT_EQ(dlg.DealerRadio()->geometry(), du.Rect(24, 78, 132, 12));
    EXPECT_EQ(dlg.OkButton()->geometry(), du.Rect(17, 111, 50, 14));
    EXPECT_EQ(dlg.CancelButton()->geometry(), du.Rect(110, 110, 50, 14));
    EXPECT_EQ(dlg.ConnectRadio()->text(), "I want to &connect to another game");
    EXPECT_EQ(dlg.DealerRadio()->text(), "I want to be &dealer");
    EXPECT_EQ(dlg.OkButton()->text(), "OK");
    EXPECT_EQ(dlg.CancelButton()->text(), "Cancel");
    EXPECT_TRUE(dlg.OkButton()->isDefault());
    // Every control lies inside the dialog, and the texts fit their controls.
    for (QWidget* w : dlg.findChildren<QWidget*>()) {
        if (!w->isWindow() && w->parentWidget() == &dlg) {
            EXPECT_TRUE(dlg.rect().contains(w->geometry())) << w->metaObject()->className();
        }
    }
    for (QWidget* w :
         {ChildWithText(&dlg, "Welcome to the Nuv vesk network."),
          ChildWithText(&dlg, "What is your name?"), static_cast<QWidget*>(dlg.ConnectRadio()),
          static_cast<QWidget*>(dlg.DealerRadio())}) {
        EXPECT_LE(w->sizeHint().width(), w->width()) << w->metaObject()->className();
    }
}

TEST_F(WelcomeDlgTest, RendersToAPicture) {
    ASSERT_TRUE(m_store.WriteString("LastPlayerName", "Ingrid"));
    ASSERT_TRUE(m_store.WriteDword("ConnType", 1));
    CWelcomeDlg dlg(m_store);
    dlg.show();
    uitest::Shoot(&dlg, "WelcomeDlg");
    dlg.close();
}

TEST(QtNetUiWelcome, RunsModallyAndStoresInTheUserStore) {
    CQtNetUi ui;
    QObject owner;
    uitest::WhenModal<CWelcomeDlg>(&owner, [](CWelcomeDlg* dlg) {
        dlg->NameEdit()->setText("Modal Mia");
        dlg->DealerRadio()->click();
        dlg->OkButton()->click();
    });
    std::string name;
    int type = -1;
    ASSERT_TRUE(ui.WelcomeDialog(name, type));
    EXPECT_EQ(name, "Modal Mia");
    EXPECT_EQ(type, 1);
    std::string stored;
    ASSERT_TRUE(CSettingsStore().ReadString("LastPlayerName", stored));
    EXPECT_EQ(stored, "Modal Mia");

    // Cancel: false, and the store keeps the earlier choices.
    uitest::WhenModal<CWelcomeDlg>(&owner, [](CWelcomeDlg* dlg) {
        EXPECT_EQ(dlg->NameEdit()->text(), "Modal Mia");
        EXPECT_TRUE(dlg->DealerRadio()->isChecked());
        dlg->NameEdit()->setText("Nobody");
        dlg->CancelButton()->click();
    });
    EXPECT_FALSE(ui.WelcomeDialog(name, type));
    ASSERT_TRUE(CSettingsStore().ReadString("LastPlayerName", stored));
    EXPECT_EQ(stored, "Modal Mia");
}

TEST(QtNetUiWelcome, GivesTheLibraryAnEmptyNameAsTyped) {
    CQtNetUi ui;
    QObject owner;
    uitest::WhenModal<CWelcomeDlg>(&owner, [](CWelcomeDlg* dlg) {
        dlg->NameEdit()->clear();
        dlg->ConnectRadio()->click();
        dlg->OkButton()->click();
    });
    std::string name = "unset";
    int type = -1;
    ASSERT_TRUE(ui.WelcomeDialog(name, type));
    EXPECT_EQ(name, "");
    EXPECT_EQ(type, 0);
    std::string stored = "unset";
    ASSERT_TRUE(CSettingsStore().ReadString("LastPlayerName", stored));
    EXPECT_EQ(stored, "");
}

TEST(QtNetUiWelcome, UsesTheStoreItIsGiven) {
    QTemporaryDir dir;
    CSettingsStore store(dir.filePath("given.conf"));
    ASSERT_TRUE(store.WriteString("LastPlayerName", "Given"));
    ASSERT_TRUE(store.WriteDword("ConnType", 1));
    CQtNetUi ui(&store);
    QObject owner;
    uitest::WhenModal<CWelcomeDlg>(&owner, [](CWelcomeDlg* dlg) {
        EXPECT_EQ(dlg->NameEdit()->text(), "Given");
        dlg->OkButton()->click();
    });
    std::string name;
    int type = -1;
    ASSERT_TRUE(ui.WelcomeDialog(name, type));
    EXPECT_EQ(name, "Given");
    EXPECT_EQ(type, 1);
}
