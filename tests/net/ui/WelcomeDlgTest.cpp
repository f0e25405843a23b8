// The welcome dialog: what it shows from the settings and what it stores.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "net/ui/WelcomeDlg.h"
#include "platform/qt/SettingsStore.h"

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
} // namespace

TEST_F(WelcomeDlgTest, ConfirmedChoicesAreStoredAsTypedAndCancelKeepsTheStore) {
    for (const std::string typed : {"", "  Bo Åkesson with a long name  "}) {
        CWelcomeDlg dlg(m_store);
        dlg.NameEdit()->setText(QString::fromStdString(typed));
        dlg.DealerRadio()->click();
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
    EXPECT_EQ(StoredName(), "  Bo Åkesson with a long name  ");
    EXPECT_TRUE(CWelcomeDlg(m_store).DealerRadio()->isChecked());
}
