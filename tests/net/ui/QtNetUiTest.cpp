// The library's Select Computer dialog as the library calls it, fed from the listener thread.
#include <gtest/gtest.h>

#include <QTreeWidget>
#include <atomic>
#include <thread>

#include "net/ui/GameTree.h"
#include "net/ui/QtNetUi.h"
#include "net/ui/SelectComputerDlg.h"
#include "tests/net/ui/UiTestHelpers.h"

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
