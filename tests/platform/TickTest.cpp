#include <gtest/gtest.h>

#include <thread>

#include "platform/Tick.h"

TEST(Tick, AdvancesMonotonically) {
    uint32_t a = GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    uint32_t b = GetTickCount();
    EXPECT_GE(static_cast<uint32_t>(b - a), 15u);
}
