// What one connection may send to the dealer: frames per second, and within
// them chat lines per second, each a bucket that refills continuously up to a
// burst. A frame beyond the budget is dropped; the drops fill a tally that
// drains slowly, and a connection whose tally overflows keeps going past its
// budget and is to be closed.
#pragma once

#include <cstdint>

class CConnBudget {
public:
    enum class Verdict {
        Pass,  // relay the frame
        Drop,  // over budget: drop the frame
        Close, // over budget for too long: drop it and close the connection
    };

    // Budgets (per second, with the burst a bucket holds when full). The fastest
    // honest table (four programs at --pace 0) peaks at about a quarter of
    // kFramesPerSecond from one connection (busy probes, their replies and the
    // commands), so its bucket never runs low; a person types far fewer lines
    // than kChatPerSecond.
    static constexpr uint32_t kFramesPerSecond = 2000;
    static constexpr uint32_t kFrameBurst = 4000;
    static constexpr uint32_t kChatPerSecond = 5;
    static constexpr uint32_t kChatBurst = 20;
    // Dropped frames the tally takes before the connection is closed, and how
    // many it forgets per second.
    static constexpr uint32_t kDropTally = 200;
    static constexpr uint32_t kDropsForgivenPerSecond = 10;

    explicit CConnBudget(uint32_t now = 0);

    // Charges one frame received at tick `now` (milliseconds).
    Verdict Charge(uint32_t now, bool chat);
    // Counts a frame dropped for another reason (a false sender) in the tally.
    Verdict Strike(uint32_t now);

    // The most frames the connection sent within one second (whole seconds
    // counted from its start), for the dealer's figures.
    uint32_t PeakPerSecond() const { return m_peak; }

private:
    void Refill(uint32_t now);

    // Buckets in thousandths of a frame, so that refilling per millisecond is exact.
    int64_t m_frames;
    int64_t m_chat;
    int64_t m_tally = 0;
    uint32_t m_last;
    uint32_t m_second;
    uint32_t m_inSecond = 0;
    uint32_t m_peak = 0;
};
