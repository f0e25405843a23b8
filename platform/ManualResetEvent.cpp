#include "platform/ManualResetEvent.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

ManualResetEvent::ManualResetEvent(bool initiallySet)
    : m_fd(eventfd(initiallySet ? 1 : 0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

ManualResetEvent::~ManualResetEvent() {
    if (m_fd >= 0) close(m_fd);
}

void ManualResetEvent::Set() {
    if (m_fd < 0) return;
    const uint64_t one = 1;
    // EAGAIN only when the counter is near overflow, which means it is set anyway.
    while (write(m_fd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void ManualResetEvent::Reset() {
    if (m_fd < 0) return;
    uint64_t value;
    // A non-semaphore eventfd hands back the whole counter in one read.
    while (read(m_fd, &value, sizeof value) < 0 && errno == EINTR) {
    }
}

bool ManualResetEvent::IsSet() const {
    return Wait(0);
}

bool ManualResetEvent::Wait(int timeoutMs) const {
    if (m_fd < 0) return false;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        int wait = -1;
        if (timeoutMs >= 0) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            wait = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        }
        pollfd p{m_fd, POLLIN, 0};
        int r = poll(&p, 1, wait);
        if (r > 0) return (p.revents & POLLIN) != 0;
        if (r == 0) return false;
        if (errno != EINTR) return false;
    }
}
