// The library's dialogs as the library calls them: installed, modal, and safe
// to call from the network threads.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <atomic>
#include <thread>

#include "net/ui/GameTree.h"
#include "net/ui/QtNetUi.h"
#include "net/ui/SelectComputerDlg.h"
#include "net/ui/WelcomeDlg.h"
#include "platform/qt/SettingsStore.h"
#include "tests/net/ui/UiTestHelpers.h"

TEST(QtNetUi, MessageBoxFromAnotherThreadRunsModallyOnTheGuiThread) {
    CQtNetUi ui;
    QObject owner;
    std::atomic<bool> done{false};
    bool onGui = false;
    uitest::WhenModal<QMessageBox>(&owner, [&](QMessageBox* box) {
        onGui = QThread::currentThread() == qApp->thread();
        EXPECT_EQ(box->text(), "Connection to Vesk Server Failed.");
        box->button(QMessageBox::Ok)->click();
    });
    std::thread worker([&] {
        ui.MessageBox("Connection to Vesk Server Failed.");
        done = true;
    });
    EXPECT_TRUE(uitest::PumpUntil([&] { return done.load(); }, 5000));
    worker.join();
    EXPECT_TRUE(onGui);
}

TEST(QtNetUi, SelectComputerListsAnswersFromTheListenerAndReturnsTheChoice) {
    CQtNetUi ui;
    QObject owner;
    std::atomic<int> broadcasts{0};
    std::thread listener;
    uitest::WhenModal<CSelectComputerDlg>(&owner, [&](CSelectComputerDlg* dlg) {
        EXPECT_EQ(broadcasts, 1);
        listener = std::thread([&ui] { // the listener thread reports two dealers
            ui.AddAnswer(uitest::Answer("127.0.0.2", "kitchen", false));
            ui.AddAnswer(uitest::Answer("127.0.0.3", "attic", true));
        });
        ASSERT_TRUE(
            uitest::PumpUntil([&] { return dlg->Games().ActiveRoot()->childCount() == 1; }));
        dlg->Tree()->setCurrentItem(dlg->Games().ActiveRoot()->child(0));
        dlg->accept();
    });
    uint32_t address = 0;
    EXPECT_TRUE(ui.SelectComputer([&] { ++broadcasts; }, address));
    listener.join();
    EXPECT_EQ(address, inet_addr("127.0.0.3"));
}

TEST(QtNetUi, WelcomeAskedAgainAfterAFailedJoinKeepsTheNameGiven) {
    QTemporaryDir dir;
    CSettingsStore store(dir.filePath("Vesk.conf"));
    ASSERT_TRUE(store.WriteString(CWelcomeDlg::kNameValue, "Stored"));
    ASSERT_TRUE(store.WriteDword(CWelcomeDlg::kConnTypeValue, 1));
    CQtNetUi ui(&store);
    // The first start shows the stored choices; after a failed join the name
    // given on the command line and its way of playing.
    for (const auto& [given, shown, dealer] :
         {std::tuple{"", "Stored", true}, std::tuple{"Tester", "Tester", false}}) {
        QObject owner;
        QString shownName;
        bool dealerChecked = false;
        uitest::WhenModal<CWelcomeDlg>(&owner, [&](CWelcomeDlg* dlg) {
            shownName = dlg->NameEdit()->text();
            dealerChecked = dlg->DealerRadio()->isChecked();
            dlg->CancelButton()->click();
        });
        std::string name = given;
        int type = 0;
        EXPECT_FALSE(ui.WelcomeDialog(name, type));
        EXPECT_EQ(shownName, shown);
        EXPECT_EQ(dealerChecked, dealer) << given;
    }
}
