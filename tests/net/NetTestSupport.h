// Helpers of the network tests: a window standing in for the program's, a
// dealer server on free loopback ports, and raw endpoints speaking frames.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "net/ConnSocket.h"
#include "net/DealerServer.h"
#include "net/Frame.h"
#include "net/UsersList.h"

namespace nettest {

using Clock = std::chrono::steady_clock;
constexpr int kWaitMs = 10000; // generous bound for anything that should happen soon
// A game command that the library only relays: NetPeer keeps "hold" unhandled
// until "release" arrives.
constexpr uint16_t kHold = 20;

// One WM_CONN_NOTIFY as the program would see it.
struct Notice {
    uint16_t command = 0;
    uint16_t user = 0;
    std::string text;   // the string's text (not for NET_PLACESTATE)
    intptr_t value = 0; // lParam of NET_PLACESTATE
};

// The program's window. It handles each notification at once (lowering isBusy,
// freeing the string) or, told to hold them, leaves them all unhandled.
class QueueSink : public IMessageSink {
public:
    explicit QueueSink(bool handleAtOnce = true) : m_handleAtOnce(handleAtOnce) {}
    ~QueueSink() override {
        for (CString* s : m_held)
            DeleteCString(s);
    }
    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        if (message != WM_CONN_NOTIFY) return;
        Notice n;
        n.command = static_cast<uint16_t>(wParam >> 16);
        n.user = static_cast<uint16_t>(wParam & 0xFFFF);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (n.command == NET_PLACESTATE) {
            n.value = lParam;
        } else if (lParam != 0) {
            CString* s = reinterpret_cast<CString*>(lParam);
            n.text = *s;
            m_handleAtOnce ? DeleteCString(s) : m_held.push_back(s);
        }
        if (m_handleAtOnce && isBusy.load() > 0) --isBusy;
        m_notices.push_back(std::move(n));
        m_cv.notify_all();
    }
    // Waits for a notice matching pred; returns it and removes it and all before it.
    std::optional<Notice> WaitFor(const std::function<bool(const Notice&)>& pred,
                                  int timeoutMs = kWaitMs) {
        std::unique_lock<std::mutex> lock(m_mutex);
        std::optional<Notice> found;
        m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
            for (auto it = m_notices.begin(); it != m_notices.end() && !found; ++it)
                if (pred(*it)) {
                    found = *it;
                    m_notices.erase(m_notices.begin(), it + 1);
                }
            return found.has_value();
        });
        return found;
    }
    // The next notice of `command` (a test failure when none comes).
    Notice Expect(uint16_t command, int timeoutMs = kWaitMs) {
        auto n = WaitFor([command](const Notice& n) { return n.command == command; }, timeoutMs);
        if (!n) ADD_FAILURE() << "no notice of command " << command;
        return n.value_or(Notice{0xFFFF, 0xFFFF, "(none)", 0});
    }
    int Count(int command = -1) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return static_cast<int>(std::count_if(m_notices.begin(), m_notices.end(), [&](auto& n) {
            return command < 0 || n.command == command;
        }));
    }

private:
    bool m_handleAtOnce;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Notice> m_notices;
    std::vector<CString*> m_held;
};

// Waits for cond, checking every few milliseconds, up to timeoutMs.
inline bool WaitUntil(const std::function<bool()>& cond, int timeoutMs = kWaitMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!cond()) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// A TCP port N with N + 1 free for UDP, both on loopback, found at run time.
inline uint16_t FreePortPair() {
    for (int attempt = 0; attempt < 200; ++attempt) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        socklen_t len = sizeof a;
        const int t = socket(AF_INET, SOCK_STREAM, 0);
        const bool bound = bind(t, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                           getsockname(t, reinterpret_cast<sockaddr*>(&a), &len) == 0;
        close(t);
        const uint16_t port = ntohs(a.sin_port);
        if (!bound || port == 0 || port >= 65534) continue;
        const int u = socket(AF_INET, SOCK_DGRAM, 0);
        a.sin_port = htons(static_cast<uint16_t>(port + 1));
        const bool udpFree = bind(u, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        close(u);
        if (udpFree) return port;
    }
    return 0;
}

// A dealer server in this process, on free ports unless given.
class TestDealer {
public:
    TestDealer() : m_server(m_stop) {}
    ~TestDealer() { Stop(); }
    bool Start(uint16_t tcpPort = 0, uint16_t udpPort = 0) {
        if (!m_server.Open(tcpPort, udpPort, error)) return false;
        m_thread = std::thread([this] { m_server.Run(); });
        return true;
    }
    void Stop() {
        m_stop.Set();
        if (m_thread.joinable()) m_thread.join();
        m_server.CloseSockets();
    }
    uint16_t Port() const { return m_server.TcpPort(); }
    CDealerServer& Server() { return m_server; }
    std::string error;

private:
    ManualResetEvent m_stop;
    CDealerServer m_server;
    std::thread m_thread;
};

inline std::vector<uint8_t> MakeFrame(uint16_t from, uint16_t to, uint16_t command, uint32_t seq,
                                      const std::string& payload, bool withNul = true) {
    const size_t plen = payload.size() + (withNul ? 1 : 0);
    std::vector<uint8_t> frame(kHeaderSize + plen);
    EncodeFrame(frame.data(), FrameHeader{from, to, command, kFrameVersion, seq, 0},
                payload.c_str(), plen);
    return frame;
}
// A frame whose payload is the two bytes of `value` (place states, busy replies).
inline std::vector<uint8_t> MakeU16Frame(uint16_t from, uint16_t to, uint16_t command,
                                         uint16_t value) {
    return MakeFrame(from, to, command, 0,
                     {static_cast<char>(value), static_cast<char>(value >> 8)}, false);
}
inline std::vector<uint8_t> MakeLoginRequest(const std::string& name) {
    std::string field(kLoginNameField, '\0');
    field.replace(0, std::min(name.size(), kLoginNameField), name, 0, kLoginNameField);
    return MakeFrame(kNoUser, kEverybody, NET_LOGIN, 0, field, false);
}

// A frame as received: its header, its payload as text, and all its bytes.
struct Got {
    FrameHeader h{0xFFFF, 0xFFFF, 0xFFFF};
    std::string text = "(none)";
    std::vector<uint8_t> bytes;
    uint16_t U16() const {
        return bytes.size() >= kHeaderSize + 2 ? GetU16(&bytes[kHeaderSize]) : 0;
    }
};

// A client that speaks the wire protocol directly over loopback.
class RawClient {
public:
    RawClient() = default;
    ~RawClient() { Close(); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;
    // receiveBuffer > 0 shrinks the socket's receive buffer to about that size.
    bool Connect(uint16_t port, int receiveBuffer = 0) {
        Close();
        fd = socket(AF_INET, SOCK_STREAM, 0);
        int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        if (receiveBuffer > 0)
            setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(port);
        return connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    // Logs in; returns the id given, or -1. The reply is kept in lastReply.
    int Login(const std::string& name) {
        lastReply.assign(kLoginReplySize, 0);
        if (!Send(MakeLoginRequest(name)) || !ReadExact(lastReply.data(), kLoginReplySize))
            return -1;
        return id = GetU16(lastReply.data() + kHeaderSize);
    }
    bool Send(const std::vector<uint8_t>& bytes) {
        return send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }
    // Reads one whole frame; nullopt on timeout or close.
    std::optional<Got> Read(int timeoutMs = kWaitMs) {
        Got f;
        f.bytes.resize(kHeaderSize);
        if (!ReadExact(f.bytes.data(), kHeaderSize, timeoutMs)) return std::nullopt;
        f.h = DecodeHeader(f.bytes.data());
        if (f.h.length < kHeaderSize || f.h.length > kBufferSize) return std::nullopt;
        f.bytes.resize(f.h.length);
        if (!ReadExact(&f.bytes[kHeaderSize], f.h.length - kHeaderSize, timeoutMs))
            return std::nullopt;
        f.text = PayloadText(&f.bytes[kHeaderSize], f.h.length - kHeaderSize);
        if (IsCountedCommand(f.h.command)) ++counted;
        return f;
    }
    // Reads frames until one of `command` comes, or the next one when command is
    // -1 (a test failure when none does).
    Got Expect(int command = -1) {
        for (auto f = Read(); f; f = Read())
            if (command < 0 || f->h.command == command) return *f;
        ADD_FAILURE() << "no frame of command " << command;
        return Got{};
    }
    void Close() {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    int fd = -1;
    uint16_t id = 0xFFFF;
    uint32_t counted = 0; // counted frames received, as a client keeps them
    std::vector<uint8_t> lastReply;

private:
    // A blocking read of len bytes: false on timeout or close.
    bool ReadExact(uint8_t* out, size_t len, int timeoutMs = kWaitMs) {
        // A zero timeout would mean forever: the shortest is one millisecond.
        timeval tv{timeoutMs / 1000, timeoutMs > 0 ? (timeoutMs % 1000) * 1000 : 1000};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        return recv(fd, out, len, MSG_WAITALL) == static_cast<ssize_t>(len);
    }
};

// An endpoint under test (non-blocking, sending directly) and the socket of its peer.
struct EndpointPair {
    EndpointPair() {
        int sv[2];
        EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, sv), 0);
        CConnSocket::SetNonBlocking(sv[0]);
        ep = std::make_unique<CConnSocket>(sv[0], CConnSocket::SendMode::Wait);
        peer = sv[1];
    }
    ~EndpointPair() {
        if (peer >= 0) close(peer);
    }
    void Write(const std::vector<uint8_t>& b) {
        ASSERT_EQ(write(peer, b.data(), b.size()), static_cast<ssize_t>(b.size()));
    }
    std::unique_ptr<CConnSocket> ep;
    int peer = -1;
};

// A dealer started for each test, and raw clients logged in to it.
class DealerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dealer.Start()) << dealer.error; }
    std::unique_ptr<RawClient> Join(const std::string& name) {
        auto c = std::make_unique<RawClient>();
        EXPECT_TRUE(c->Connect(dealer.Port()));
        EXPECT_GE(c->Login(name), 0);
        return c;
    }
    TestDealer dealer;
};

} // namespace nettest
