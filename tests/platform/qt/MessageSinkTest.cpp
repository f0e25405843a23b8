#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <memory>
#include <thread>
#include <vector>

#include "platform/qt/PumpMessages.h"
#include "platform/qt/QtMessageSink.h"

namespace {

struct Received {
    uint32_t msg;
    uintptr_t wParam;
    intptr_t lParam;
    bool onGuiThread;
};

// Pumps until `pred` holds or two seconds have passed.
template <class Pred> bool PumpUntil(Pred pred) {
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < 2000) {
        PumpMessages();
        QThread::msleep(1);
    }
    return pred();
}

} // namespace

TEST(QtMessageSink, DeliversPostsFromAnotherThreadInOrderOnTheGuiThread) {
    std::vector<Received> got;
    CQtMessageSink sink([&](uint32_t m, uintptr_t w, intptr_t l) {
        got.push_back({m, w, l, QThread::currentThread() == qApp->thread()});
    });
    HWND hWnd = &sink;
    constexpr int kCount = 500;
    std::thread poster([hWnd] {
        for (int i = 0; i < kCount; ++i)
            hWnd->PostMessage(i % 2 ? 1026u : 1025u, static_cast<uintptr_t>(i), -i);
    });
    poster.join();
    // Nothing runs before the GUI thread dispatches.
    EXPECT_TRUE(got.empty());
    ASSERT_TRUE(PumpUntil([&] { return got.size() == kCount; }));
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(got[i].msg, i % 2 ? 1026u : 1025u) << i;
        EXPECT_EQ(got[i].wParam, static_cast<uintptr_t>(i));
        EXPECT_EQ(got[i].lParam, -i);
        EXPECT_TRUE(got[i].onGuiThread);
    }
}

TEST(QtMessageSink, InterleavedPostersKeepEachThreadsOrder) {
    std::vector<Received> got;
    CQtMessageSink sink([&](uint32_t m, uintptr_t w, intptr_t l) {
        got.push_back({m, w, l, true});
    });
    constexpr int kCount = 300;
    std::thread a([&] {
        for (int i = 0; i < kCount; ++i)
            sink.PostMessage(1, static_cast<uintptr_t>(i), 0);
    });
    std::thread b([&] {
        for (int i = 0; i < kCount; ++i)
            sink.PostMessage(2, static_cast<uintptr_t>(i), 0);
    });
    // Dispatch while the posters are still running.
    PumpUntil([&] { return got.size() == 2 * kCount; });
    a.join();
    b.join();
    ASSERT_TRUE(PumpUntil([&] { return got.size() == 2 * kCount; }));
    uintptr_t next[3] = {0, 0, 0};
    for (const Received& r : got) {
        ASSERT_TRUE(r.msg == 1 || r.msg == 2);
        EXPECT_EQ(r.wParam, next[r.msg]);
        next[r.msg] = r.wParam + 1;
    }
}

TEST(QtMessageSink, PumpMessagesHandlesWhatIsPendingAndReturns) {
    int handled = 0;
    CQtMessageSink sink([&](uint32_t, uintptr_t, intptr_t) { ++handled; });
    sink.PostMessage(1025, 0, 0);
    sink.PostMessage(1025, 0, 0);
    PumpMessages();
    EXPECT_EQ(handled, 2);
    // Nothing pending: returns at once.
    PumpMessages();
    EXPECT_EQ(handled, 2);
}

TEST(QtMessageSink, MessagesPendingAtDestructionAreDropped) {
    int handled = 0;
    auto sink = std::make_unique<CQtMessageSink>([&](uint32_t, uintptr_t, intptr_t) { ++handled; });
    sink->PostMessage(1026, 1, 2);
    sink.reset();
    PumpMessages();
    EXPECT_EQ(handled, 0);
}

TEST(QtMessageSink, ForeignEventsAreNotTakenForMessages) {
    int handled = 0;
    CQtMessageSink sink([&](uint32_t, uintptr_t, intptr_t) { ++handled; });
    // A foreign custom event goes to QObject's own handling, not to ours.
    QEvent plain(static_cast<QEvent::Type>(QEvent::registerEventType()));
    QCoreApplication::sendEvent(&sink, &plain);
    EXPECT_EQ(handled, 0);
    sink.SetHandler([&](uint32_t m, uintptr_t, intptr_t) { handled += static_cast<int>(m); });
    sink.PostMessage(7, 0, 0);
    PumpMessages();
    EXPECT_EQ(handled, 7);
}
