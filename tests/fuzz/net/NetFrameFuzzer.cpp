// Arbitrary bytes as the stream of one connection, through the frame reader
// and the dealer's or the client's dispatcher. Byte 0: bit 0 = client side;
// bit 1 = log in first; bit 2 = sends take part of a frame at times; bits 3-7 =
// bytes per read event (0 = all there is).
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <poll.h>

#include "net/ClientLink.h"
#include "net/ConnSocket.h"
#include "net/DealerServer.h"
#include "net/Frame.h"
#include "net/UsersList.h"

namespace {
class DropSink : public IMessageSink {
public:
    void PostMessage(uint32_t, uintptr_t wParam, intptr_t lParam) override {
        if ((wParam >> 16) != NET_PLACESTATE && lParam != 0)
            DeleteCString(reinterpret_cast<CString*>(lParam));
        if (isBusy > 0) --isBusy;
    }
};

// A connection whose peer is the fuzzer's input; what is sent goes nowhere.
class MemoryConn : public CConnSocket {
public:
    MemoryConn(const uint8_t* data, size_t size, size_t perEvent, bool shortSends, SendMode mode)
        : CConnSocket(-1, mode), m_data(data), m_size(size), m_perEvent(perEvent),
          m_shortSends(shortSends) {}
    void NextEvent() { m_budget = m_perEvent ? m_perEvent : m_size; }

protected:
    ssize_t RecvSome(void* buf, size_t len) override {
        if (m_pos >= m_size) return 0; // the peer has closed
        if (m_budget == 0) {
            errno = EAGAIN;
            return -1;
        }
        const size_t n = std::min({len, m_size - m_pos, m_budget});
        std::memcpy(buf, m_data + m_pos, n);
        m_pos += n;
        m_budget -= n;
        return static_cast<ssize_t>(n);
    }
    ssize_t SendSome(const void*, size_t len) override {
        if (m_shortSends && (++m_sends % 3) == 0) {
            if (len > 1) return static_cast<ssize_t>(len / 2);
            errno = EAGAIN;
            return -1;
        }
        return static_cast<ssize_t>(len);
    }

private:
    const uint8_t* m_data;
    size_t m_size, m_pos = 0, m_perEvent, m_budget = 0;
    bool m_shortSends;
    unsigned m_sends = 0;
};

std::vector<uint8_t> LoginThen(const uint8_t* data, size_t size) {
    std::vector<uint8_t> stream(kLoginRequestSize);
    const uint8_t name[kLoginNameField] = {'F', 'u', 'z', 'z'};
    EncodeFrame(stream.data(), FrameHeader{kNoUser, kEverybody, NET_LOGIN}, name, sizeof name);
    stream.insert(stream.end(), data, data + size);
    return stream;
}

void FuzzDealer(const uint8_t* data, size_t size, size_t perEvent, bool shortSends) {
    static ManualResetEvent stop;
    static CDealerServer* dealer = new CDealerServer(stop); // reused: construction is costly
    dealer->Users().Clear();
    auto conn = std::make_unique<MemoryConn>(data, size, perEvent, shortSends,
                                             CConnSocket::SendMode::Queue);
    MemoryConn* c = conn.get();
    if (!dealer->Adopt(std::move(conn))) return;
    // A second, logged-in connection that receives the relays.
    auto other =
        std::make_unique<MemoryConn>(nullptr, 0, 0, shortSends, CConnSocket::SendMode::Queue);
    other->m_userId = 254;
    dealer->Users().Admit("Other");
    dealer->Adopt(std::move(other));
    // Every event takes at most one frame; the stream ends with a close.
    for (size_t i = 0; i < 2 * size + 8 && dealer->ConnectionCount() == 2; ++i) {
        c->NextEvent();
        dealer->Service(0, POLLIN | POLLOUT);
        dealer->Service(1, POLLOUT);
    }
    while (dealer->ConnectionCount() > 0)
        dealer->Service(dealer->ConnectionCount() - 1, POLLHUP | POLLIN);
}

void FuzzClient(const uint8_t* data, size_t size, size_t perEvent) {
    static DropSink sink;
    MemoryConn ep(data, size, perEvent, false, CConnSocket::SendMode::Wait);
    ep.m_userId = 1;
    ep.m_window = &sink;
    ep.m_waitEvent = std::make_unique<ManualResetEvent>();
    ep.m_awaitedReplies = 2;
    for (size_t i = 0; i < 2 * size + 8; ++i) {
        ep.NextEvent();
        const CConnSocket::ReadStatus s = ep.ReadFrame();
        if (s == CConnSocket::ReadStatus::Frame)
            CClientLink::Dispatch(ep);
        else if (s == CConnSocket::ReadStatus::Closed || s == CConnSocket::ReadStatus::Refused)
            break;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 65536) return 0;
    const uint8_t mode = data[0];
    const size_t perEvent = mode >> 3;
    const std::vector<uint8_t> stream =
        mode & 2 ? LoginThen(data + 1, size - 1) : std::vector<uint8_t>(data + 1, data + size);
    if (mode & 1)
        FuzzClient(data + 1, size - 1, perEvent);
    else
        FuzzDealer(stream.data(), stream.size(), perEvent, (mode & 4) != 0);
    std::memset(g_UsersList, 0, sizeof(USERINFO) * kMaxUsers);
    isBusy = 0;
    return 0;
}
