#include "net/ConnSocket.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

int CConnSocket::s_sendWaitMs = 3000;

CConnSocket::CConnSocket(int fd, SendMode mode)
    : m_fd(fd), m_mode(mode), m_tx(new uint8_t[kBufferSize]()), m_rx(new uint8_t[kBufferSize]()) {}

CConnSocket::~CConnSocket() {
    if (m_fd >= 0) close(m_fd);
}

ssize_t CConnSocket::RecvSome(void* buf, size_t len) {
    return recv(m_fd, buf, len, MSG_DONTWAIT);
}

ssize_t CConnSocket::SendSome(const void* buf, size_t len) {
    return send(m_fd, buf, len, MSG_NOSIGNAL | MSG_DONTWAIT);
}

void CConnSocket::ShutDown() {
    if (m_fd >= 0) shutdown(m_fd, SHUT_RDWR);
}

void CConnSocket::TuneKeepAlive(int fd) {
    int on = 1, idle = 10, interval = 5, count = 4;
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
}

bool CConnSocket::SetNonBlocking(int fd) {
    int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool CConnSocket::BuildFrame(uint16_t to, uint16_t command, const void* payload, size_t payloadLen,
                             bool sendNow, uint16_t from) {
    FrameHeader h;
    h.from = from == kNoUser ? m_userId : from;
    h.to = to;
    h.command = command;
    h.seq = m_countedFrames;
    if (payloadLen > kMaxPayload) payloadLen = kMaxPayload;
    m_frameLength = EncodeFrame(m_tx.get(), h, payload, payloadLen);
    return sendNow ? SendBuffer() : true;
}

bool CConnSocket::Send(const void* data, size_t len) {
    if (m_fd < 0 || m_broken) return false;
    const char* p = static_cast<const char*>(data);
    size_t sent = 0;
    if (m_mode == SendMode::Queue && HasQueued()) {
        // Keep the order: behind what is already waiting.
        if (m_queued.size() - m_queuedSent + len > kQueueLimit) {
            m_broken = true;
            m_overQueued = true;
            return false;
        }
        m_queued.append(p, len);
        return true;
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(s_sendWaitMs);
    while (sent < len) {
        ssize_t n = SendSome(p + sent, len - sent);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            m_broken = true;
            return false;
        }
        if (m_mode == SendMode::Queue) {
            m_queued.assign(p + sent, len - sent);
            m_queuedSent = 0;
            return true;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd pfd{m_fd, POLLOUT, 0};
        poll(&pfd, 1, static_cast<int>(left.count()));
    }
    if (sent == len) return true;
    // Part of a frame went out and the rest cannot follow: the stream is no
    // longer in step, so the connection is given up.
    m_broken = true;
    if (sent > 0) ShutDown();
    return false;
}

bool CConnSocket::FlushQueue() {
    while (HasQueued()) {
        ssize_t n = SendSome(m_queued.data() + m_queuedSent, m_queued.size() - m_queuedSent);
        if (n > 0) {
            m_queuedSent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        m_broken = true;
        return false;
    }
    m_queued.clear();
    m_queuedSent = 0;
    return true;
}

CConnSocket::ReadStatus CConnSocket::ReadFrame() {
    if (m_rxComplete) {
        m_rxHave = 0;
        m_rxComplete = false;
    }
    for (;;) {
        size_t want;
        if (m_rxHave < kHeaderSize) {
            want = kHeaderSize - m_rxHave;
        } else {
            const uint32_t length = GetU32(m_rx.get() + 12);
            if (!IsFrameLengthValid(length)) return ReadStatus::Refused;
            want = length - m_rxHave;
        }
        if (want == 0) break;
        ssize_t n = RecvSome(m_rx.get() + m_rxHave, want);
        if (n == 0) return ReadStatus::Closed;
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return ReadStatus::Idle;
            return ReadStatus::Closed;
        }
        m_rxHave += static_cast<size_t>(n);
        if (static_cast<size_t>(n) < want) return ReadStatus::Idle;
    }
    m_rxComplete = true;
    return IsFrameAcceptable(m_rx.get(), m_rxHave) ? ReadStatus::Frame : ReadStatus::Dropped;
}
