// The library's dialogs as the library calls them: installed, modal, and safe
// to call from the network threads.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <atomic>
#include <thread>

#include "net/ui/GameTree.h"
#include "net/ui/QtNetUi.h"
#include "net/ui/SelectComputerDlg.h"
#include "tests/net/ui/UiTestHelpers.h"

using uitest::Answer;

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
            ui.AddAnswer(Answer("127.0.0.2", "kitchen", false));
            ui.AddAnswer(Answer("127.0.0.3", "attic", true));
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
