// A manual-reset event that poll() can wait on: once set it stays signalled
// until reset. Backed by an eventfd, so it can sit in a pollfd table beside
// sockets.
#pragma once

#include <cstdint>

class ManualResetEvent {
public:
    explicit ManualResetEvent(bool initiallySet = false);
    ~ManualResetEvent();
    ManualResetEvent(const ManualResetEvent&) = delete;
    ManualResetEvent& operator=(const ManualResetEvent&) = delete;

    // False when the eventfd could not be created; every other call is then a no-op.
    bool IsValid() const { return m_fd >= 0; }
    void Set();
    void Reset();
    bool IsSet() const;
    // Waits up to timeoutMs (negative: without limit); true when the event is set.
    bool Wait(int timeoutMs) const;
    // The descriptor to put in a pollfd with POLLIN; readable while the event is set.
    int Fd() const { return m_fd; }

private:
    int m_fd;
};
