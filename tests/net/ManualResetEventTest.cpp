// The pollable manual-reset event under the library's loops.
#include <gtest/gtest.h>

#include <poll.h>
#include <thread>

#include "platform/ManualResetEvent.h"

TEST(ManualResetEvent, StaysSetUntilResetAndWakesAPollingThread) {
    ManualResetEvent e;
    ASSERT_TRUE(e.IsValid());
    EXPECT_FALSE(e.IsSet());
    std::thread t([&] {
        e.Set();
        e.Set();
    });
    pollfd p{e.Fd(), POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, 10000), 1);
    t.join();
    EXPECT_TRUE(e.Wait(0));
    EXPECT_TRUE(e.IsSet()) << "waiting does not reset it";
    e.Reset();
    EXPECT_FALSE(e.IsSet());
    EXPECT_FALSE(e.Wait(10));
    EXPECT_TRUE(ManualResetEvent(true).IsSet());
}
