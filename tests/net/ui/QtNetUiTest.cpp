#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <arpa/inet.h>
#include <atomic>
#include <thread>

#include "net/NetUi.h"
#include "net/ui/GameTree.h"
#include "net/ui/NetDialogs.h"
#include "net/ui/QtNetUi.h"
#include "net/ui/SelectComputerDlg.h"
#include "tests/net/ui/UiTestHelpers.h"

namespace {

DiscoveryAnswer Answer(const char* dotted, const std::string& host, bool active) {
    DiscoveryAnswer a;
    a.address = inet_addr(dotted);
    a.host = host;
    a.active = active;
    a.users = {{"Ann", true}};
    return a;
}

} // namespace

TEST(QtNetUi, InstallsItselfIntoTheLibrary) {
    InstallNetDialogs();
    INetUi* ui = GetNetUi();
    ASSERT_NE(ui, nullptr);
    EXPECT_NE(dynamic_cast<CQtNetUi*>(ui), nullptr);
    InstallNetDialogs(); // again: the same one
    EXPECT_EQ(GetNetUi(), ui);
    RemoveNetDialogs();
    EXPECT_EQ(GetNetUi(), nullptr);
}

TEST(QtNetUi, MessageBoxIsModalWithOneOkButton) {
    CQtNetUi ui;
    QObject owner;
    bool seen = false;
    uitest::WhenModal<QMessageBox>(&owner, [&](QMessageBox* box) {
        seen = true;
        EXPECT_EQ(box->windowTitle(), "Vesk");
        EXPECT_EQ(box->text(), "Connection to Vesk Server Failed.");
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        box->button(QMessageBox::Ok)->click();
    });
    ui.MessageBox("Connection to Vesk Server Failed.");
    EXPECT_TRUE(seen);
}

TEST(QtNetUi, MessageBoxFromAnotherThreadRunsOnTheGuiThread) {
    CQtNetUi ui;
    QObject owner;
    std::atomic<bool> done{false};
    bool onGui = false;
    uitest::WhenModal<QMessageBox>(&owner, [&](QMessageBox* box) {
        onGui = QThread::currentThread() == qApp->thread();
        EXPECT_EQ(box->text(), "Socket error 98: Error in bind() routine.");
        box->button(QMessageBox::Ok)->click();
    });
    std::thread worker([&] {
        ui.MessageBox("Socket error 98: Error in bind() routine.");
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
        // The listener thread reports two dealers while the dialog runs.
        listener = std::thread([&ui] {
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
    // After the dialog: answers go nowhere.
    ui.AddAnswer(Answer("127.0.0.4", "late", false));
    uitest::PumpUntil([] { return false; }, 50);
}

TEST(QtNetUi, SelectComputerCancelled) {
    CQtNetUi ui;
    QObject owner;
    uitest::WhenModal<CSelectComputerDlg>(&owner, [](CSelectComputerDlg* dlg) {
        dlg->ComputerEdit()->setText("127.0.0.1");
        dlg->reject();
    });
    uint32_t address = 77;
    EXPECT_FALSE(ui.SelectComputer([] {}, address));
    EXPECT_EQ(address, 77u);
}

TEST(QtNetUi, PumpMessagesRunsWhatIsPending) {
    CQtNetUi ui;
    int ran = 0;
    QObject context;
    QMetaObject::invokeMethod(
        &context, [&] { ++ran; }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        &context, [&] { ++ran; }, Qt::QueuedConnection);
    ui.PumpMessages();
    EXPECT_EQ(ran, 2);
}
