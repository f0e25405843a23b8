// The welcome dialog: what it shows from the settings, what it stores, where its
// controls sit and whether their texts fit.
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
    std::string StoredName() {
        std::string stored = "unset";
        EXPECT_TRUE(m_store.ReadString("LastPlayerName", stored));
        return stored;
    }
    QTemporaryDir m_dir;
    CSettingsStore m_store{m_dir.filePath("Vesk.conf")};
};

QWidget* ChildWithText(QWidget* parent, const QString& text) {
    for (QWidget* w : parent->findChildren<QWidget*>()) {
        if (auto* l = dynamic_cast<QLabel*>(w); l && l->text() == text) return w;
        if (auto* g = dynamic_cast<QGroupBox*>(w); g && g->title() == text) return w;
    }
    return nullptr;
}

} // namespace

TEST_F(WelcomeDlgTest, ShowsTheStoredChoicesOrFallsBackToTheLoginName) {
    const QString login = QString::fromStdString(GetUserName());
    ASSERT_FALSE(login.isEmpty());
    {
        CWelcomeDlg dlg(m_store); // first start
        EXPECT_EQ(dlg.windowTitle(), "The Nuv Vesk Network");
        EXPECT_EQ(dlg.NameEdit()->text(), login);
        EXPECT_TRUE(dlg.ConnectRadio()->isChecked());
        EXPECT_EQ(dlg.ConnType(), 0);
    }
    ASSERT_TRUE(m_store.WriteString("LastPlayerName", "Ingrid"));
    ASSERT_TRUE(m_store.WriteDword("ConnType", 1));
    {
        CWelcomeDlg dlg(m_store);
        EXPECT_EQ(dlg.NameEdit()->text(), "Ingrid");
        EXPECT_TRUE(dlg.DealerRadio()->isChecked());
        EXPECT_FALSE(dlg.ConnectRadio()->isChecked());
    }
    // Stores the dialog does not trust: the type as a string, a type no radio
    // button stands for, the name as a number, a name too long to be stored.
    const std::function<void()> bad[] = {
        [&] { m_store.WriteString("ConnType", "1"); },
        [&] { m_store.WriteDword("ConnType", 2); },
        [&] {
            m_store.WriteDword("ConnType", 1);
            m_store.WriteDword("LastPlayerName", 7);
        },
        [&] { m_store.WriteString("LastPlayerName", std::string(256, 'n')); },
    };
    for (size_t i = 0; i < std::size(bad); ++i) {
        ASSERT_TRUE(m_store.WriteString("LastPlayerName", "Ingrid"));
        ASSERT_TRUE(m_store.WriteDword("ConnType", 1));
        bad[i]();
        CWelcomeDlg dlg(m_store);
        EXPECT_EQ(dlg.NameEdit()->text(), login) << i;
        EXPECT_TRUE(dlg.ConnectRadio()->isChecked()) << i;
    }
}

TEST_F(WelcomeDlgTest, ConfirmedChoicesAreStoredAsTypedAndCancelKeepsTheStore) {
    for (const std::string typed : {"", "  Bo Åkesson with a long name  "}) {
        CWelcomeDlg dlg(m_store);
        dlg.NameEdit()->setText(QString::fromStdString(typed));
        dlg.DealerRadio()->click();
        EXPECT_FALSE(dlg.ConnectRadio()->isChecked());
        dlg.OkButton()->click();
        ASSERT_EQ(dlg.result(), QDialog::Accepted);
        std::string name;
        int type = -1;
        dlg.TakeChoices(name, type);
        EXPECT_EQ(name, typed.empty() ? "Player" : typed) << "an empty name plays as Player";
        EXPECT_EQ(type, 1);
        EXPECT_EQ(StoredName(), typed);
        CWelcomeDlg next(m_store);
        EXPECT_EQ(next.NameEdit()->text().toStdString(), typed);
        EXPECT_TRUE(next.DealerRadio()->isChecked());
    }
    CWelcomeDlg dlg(m_store);
    dlg.NameEdit()->setText("Other");
    dlg.ConnectRadio()->click();
    dlg.CancelButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(StoredName(), "  Bo Åkesson with a long name  ");
    uint32_t type = 0;
    ASSERT_TRUE(m_store.ReadDword("ConnType", type));
    EXPECT_EQ(type, 1u);
}

TEST_F(WelcomeDlgTest, ControlsSitWhereTheDialogUnitsPutThemAndTextsFit) {
    CWelcomeDlg dlg(m_store);
    const CDialogUnits du(dlg.font());
    QWidget* welcome = ChildWithText(&dlg, "Welcome to the Nuv vesk network.");
    QWidget* question = ChildWithText(&dlg, "What is your name?");
    ASSERT_TRUE(welcome && question);
    EXPECT_EQ(welcome->geometry(), du.Rect(17, 11, 145, 12));
    EXPECT_EQ(question->geometry(), du.Rect(17, 28, 68, 12));
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
    for (QWidget* w : dlg.findChildren<QWidget*>())
        EXPECT_TRUE(w->isWindow() || w->parentWidget() != &dlg ||
                    dlg.rect().contains(w->geometry()))
            << w->metaObject()->className();
    for (QWidget* w : {welcome, question, static_cast<QWidget*>(dlg.ConnectRadio()),
                       static_cast<QWidget*>(dlg.DealerRadio())})
        EXPECT_LE(w->sizeHint().width(), w->width()) << w->metaObject()->className();
    dlg.show();
    uitest::Shoot(&dlg, "WelcomeDlg");
}

TEST(QtNetUiWelcome, RunsModallyOnTheStoreItIsGiven) {
    QTemporaryDir dir;
    CSettingsStore store(dir.filePath("given.conf"));
    CQtNetUi ui(&store);
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
    uitest::WhenModal<CWelcomeDlg>(&owner, [](CWelcomeDlg* dlg) {
        EXPECT_EQ(dlg->NameEdit()->text(), "Modal Mia");
        dlg->NameEdit()->clear();
        dlg->OkButton()->click();
    });
    ASSERT_TRUE(ui.WelcomeDialog(name, type));
    EXPECT_EQ(name, "") << "the library gets an empty name as typed";
    uitest::WhenModal<CWelcomeDlg>(&owner, [](CWelcomeDlg* dlg) {
        dlg->NameEdit()->setText("Nobody");
        dlg->CancelButton()->click();
    });
    EXPECT_FALSE(ui.WelcomeDialog(name, type));
    std::string stored = "unset";
    ASSERT_TRUE(store.ReadString("LastPlayerName", stored));
    EXPECT_EQ(stored, "");
}
