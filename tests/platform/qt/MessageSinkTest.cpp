// Messages posted from any thread, handled in order on the GUI thread.
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

TEST(QtMessageSink, PostsFromOtherThreadsArriveInTheirOrderOnTheGuiThread) {
    std::vector<Received> got;
    CQtMessageSink sink([&](uint32_t m, uintptr_t w, intptr_t l) {
        got.push_back({m, w, l, QThread::currentThread() == qApp->thread()});
    });
    HWND hWnd = &sink;
    constexpr int kCount = 300;
    auto post = [hWnd](uint32_t msg) {
        for (int i = 0; i < kCount; ++i)
            hWnd->PostMessage(msg, static_cast<uintptr_t>(i), -i);
    };
    std::thread a(post, 1u);
    a.join();
    EXPECT_TRUE(got.empty()) << "nothing runs before the GUI thread dispatches";
    std::thread b(post, 2u);
    std::thread c(post, 3u);
    PumpUntil([&] { return got.size() == 3 * kCount; }); // dispatch while they post
    b.join();
    c.join();
    ASSERT_TRUE(PumpUntil([&] { return got.size() == 3 * kCount; }));
    uintptr_t next[4] = {};
    for (const Received& r : got) {
        ASSERT_TRUE(r.msg >= 1 && r.msg <= 3);
        EXPECT_EQ(r.wParam, next[r.msg]);
        EXPECT_EQ(r.lParam, -static_cast<intptr_t>(r.wParam));
        EXPECT_TRUE(r.onGuiThread);
        next[r.msg] = r.wParam + 1;
    }
}

TEST(QtMessageSink, PumpDeliversWhatIsPendingAndNothingAfterDestruction) {
    int handled = 0;
    CQtMessageSink sink([&](uint32_t m, uintptr_t, intptr_t) { handled += static_cast<int>(m); });
    sink.PostMessage(1, 0, 0);
    sink.PostMessage(1, 0, 0);
    PumpMessages();
    EXPECT_EQ(handled, 2);
    auto doomed =
        std::make_unique<CQtMessageSink>([&](uint32_t, uintptr_t, intptr_t) { ++handled; });
    doomed->PostMessage(1026, 1, 2);
    doomed.reset();
    PumpMessages();
    EXPECT_EQ(handled, 2) << "messages pending at destruction are dropped";
}
