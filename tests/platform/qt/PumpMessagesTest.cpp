// Messages posted from any thread, handled in order on the GUI thread: by a
// pump of what is pending, and by the timed wait that keeps the windows alive,
// where a handler's own nested wait delivers what comes meanwhile and no wait
// ends before its time.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/qt/PumpMessages.h"
#include "platform/qt/QtMessageSink.h"

namespace {

constexpr uint32_t kCommand = 1026;
constexpr uint32_t kStep = 1025;

struct Handled {
    uint32_t msg;
    uintptr_t seq;
    qint64 atMs; // since the outer wait began
    bool onGuiThread;
};

} // namespace

TEST(QtMessageSink, PumpDeliversWhatIsPendingAndNothingAfterDestruction) {
    int handled = 0;
    // Each message's three words reach the handler.
    CQtMessageSink sink([&](uint32_t m, uintptr_t w, intptr_t l) {
        handled += static_cast<int>(m + w + static_cast<uintptr_t>(l));
    });
    std::thread([&] {
        sink.PostMessage(1, 10, 100);
        sink.PostMessage(1, 10, 100);
    }).join();
    EXPECT_EQ(handled, 0) << "nothing runs before the GUI thread dispatches";
    PumpMessages();
    EXPECT_EQ(handled, 222);
    auto doomed =
        std::make_unique<CQtMessageSink>([&](uint32_t, uintptr_t, intptr_t) { ++handled; });
    doomed->PostMessage(1026, 1, 2);
    doomed.reset();
    PumpMessages();
    EXPECT_EQ(handled, 222) << "messages pending at destruction are dropped";
}

TEST(PumpMessagesFor, HandlesWhatArrivesInOrderAndNestedWaitsKeepTheirTime) {
    struct Case {
        const char* name;
        int nestedMs; // a handler's own wait on the first command; 0 = none
    };
    const Case cases[] = {{"flat", 0}, {"nested", 120}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QElapsedTimer clock;
        std::vector<Handled> got;
        qint64 nestedBegan = -1, nestedEnded = -1;
        constexpr int kLate = 10;
        std::atomic<qint64> postedAt[kLate + 1];
        for (auto& t : postedAt)
            t = -1;
        std::thread poster;
        CQtMessageSink* sinkPtr = nullptr;
        CQtMessageSink sink([&](uint32_t m, uintptr_t w, intptr_t) {
            got.push_back({m, w, clock.elapsed(), QThread::currentThread() == qApp->thread()});
            if (m != kCommand || w != 0) return;
            // A command that posts a step and then waits, as a trick being gathered
            // does; meanwhile more commands come from another thread, as the
            // receive thread posts them.
            sinkPtr->PostMessage(kStep, 0, 0);
            poster = std::thread([&] {
                for (int i = 1; i <= kLate; ++i) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    sinkPtr->PostMessage(kCommand, static_cast<uintptr_t>(i), 0);
                    postedAt[i] = clock.elapsed();
                }
            });
            if (c.nestedMs > 0) {
                nestedBegan = clock.elapsed();
                PumpMessagesFor(c.nestedMs);
                nestedEnded = clock.elapsed();
            }
        });
        sinkPtr = &sink;
        sink.PostMessage(kCommand, 0, 0);
        clock.start();
        PumpMessagesFor(400);
        const qint64 waited = clock.elapsed();
        const std::vector<Handled> during = got;
        if (poster.joinable()) poster.join();

        EXPECT_GE(waited, 400);
        ASSERT_GE(during.size(), 2u);
        // Commands come in their order on the GUI thread, and everything posted well
        // before the end was handled during the wait (the poster may lag when busy).
        uintptr_t next = 0;
        for (const Handled& h : during) {
            EXPECT_TRUE(h.onGuiThread);
            if (h.msg == kCommand) {
                EXPECT_EQ(h.seq, next++);
            }
        }
        for (int i = 1; i <= kLate; ++i)
            EXPECT_TRUE(postedAt[i] < 0 || postedAt[i] + 10 >= waited || uintptr_t(i) < next)
                << "command " << i;
        // The step posted by the first command comes after it and before every
        // command posted later than it.
        EXPECT_EQ(during[0].msg, kCommand);
        EXPECT_EQ(during[1].msg, kStep);
        if (c.nestedMs > 0) {
            EXPECT_GE(nestedEnded - nestedBegan, c.nestedMs);
            // A command that came well within the nested wait was handled inside it.
            if (postedAt[1] >= 0 && postedAt[1] + 10 < nestedEnded) {
                ASSERT_GE(during.size(), 3u);
                EXPECT_LE(during[2].atMs, nestedEnded);
            }
        }
    }
}
