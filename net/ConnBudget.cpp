#include "net/ConnBudget.h"

#include <algorithm>

namespace {
constexpr int64_t kUnit = 1000;
} // namespace

CConnBudget::CConnBudget(uint32_t now)
    : m_frames(int64_t{kFrameBurst} * kUnit), m_chat(int64_t{kChatBurst} * kUnit), m_last(now),
      m_second(now) {}

void CConnBudget::Refill(uint32_t now) {
    const int64_t elapsed = static_cast<int32_t>(now - m_last);
    if (elapsed <= 0) return;
    m_last = now;
    // Rates are per second and buckets per thousand: one unit per rate per millisecond.
    m_frames =
        std::min<int64_t>(m_frames + elapsed * kFramesPerSecond, int64_t{kFrameBurst} * kUnit);
    m_chat = std::min<int64_t>(m_chat + elapsed * kChatPerSecond, int64_t{kChatBurst} * kUnit);
    m_tally = std::max<int64_t>(m_tally - elapsed * kDropsForgivenPerSecond, 0);
}

CConnBudget::Verdict CConnBudget::Charge(uint32_t now, bool chat) {
    if (static_cast<uint32_t>(now - m_second) >= 1000) {
        m_second = now;
        m_inSecond = 0;
    }
    m_peak = std::max(m_peak, ++m_inSecond);
    Refill(now);
    const bool fits = m_frames >= kUnit && (!chat || m_chat >= kUnit);
    if (fits) {
        m_frames -= kUnit;
        if (chat) m_chat -= kUnit;
        return Verdict::Pass;
    }
    return Strike(now);
}

CConnBudget::Verdict CConnBudget::Strike(uint32_t now) {
    Refill(now);
    m_tally += kUnit;
    return m_tally > int64_t{kDropTally} * kUnit ? Verdict::Close : Verdict::Drop;
}
