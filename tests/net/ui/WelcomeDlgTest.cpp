// The welcome dialog: what it shows from the settings, what it stores, whether its texts fit.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "net/ui/WelcomeDlg.h"
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
    ASSERT_TRUE(m_store.WriteDword("ConnType", 2)); // no radio button stands for it
    CWelcomeDlg dlg(m_store);
    EXPECT_TRUE(dlg.ConnectRadio()->isChecked());
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

TEST_F(WelcomeDlgTest, ControlsLieInsideAndTextsFit) {
    CWelcomeDlg dlg(m_store);
    QWidget* welcome = ChildWithText(&dlg, "Welcome to the Nuv vesk network.");
    QWidget* question = ChildWithText(&dlg, "What is your name?");
    ASSERT_TRUE(welcome && question);
    EXPECT_EQ(dlg.ConnectRadio()->text(), "I want to &connect to another game");
    EXPECT_EQ(dlg.DealerRadio()->text(), "I want to be &dealer");
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
