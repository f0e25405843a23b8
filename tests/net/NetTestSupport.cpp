#include "tests/net/NetTestSupport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/UsersList.h"

namespace nettest {

using Clock = std::chrono::steady_clock;

void QueueSink::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message != WM_CONN_NOTIFY) return;
    Notice n;
    n.command = static_cast<uint16_t>(wParam >> 16);
    n.user = static_cast<uint16_t>(wParam & 0xFFFF);
    if (n.command == NET_PLACESTATE) {
        n.value = lParam;
    } else if (lParam != 0) {
        CString* s = reinterpret_cast<CString*>(lParam);
        n.text = *s;
        n.hadString = true;
        DeleteCString(s);
    }
    if (m_handleAtOnce && isBusy.load() > 0) --isBusy;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_notices.push_back(std::move(n));
    }
    m_cv.notify_all();
}

std::optional<Notice> QueueSink::WaitFor(const std::function<bool(const Notice&)>& pred,
                                         int timeoutMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    std::optional<Notice> found;
    m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        for (size_t i = 0; i < m_notices.size(); ++i) {
            if (pred(m_notices[i])) {
                found = m_notices[i];
                m_notices.erase(m_notices.begin(),
                                m_notices.begin() + static_cast<std::ptrdiff_t>(i + 1));
                return true;
            }
        }
        return false;
    });
    return found;
}

std::optional<Notice> QueueSink::WaitForCommand(uint16_t command, int timeoutMs) {
    return WaitFor([command](const Notice& n) { return n.command == command; }, timeoutMs);
}

size_t QueueSink::Count() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_notices.size();
}

bool WaitUntil(const std::function<bool()>& cond, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!cond()) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

uint16_t FreePortPair() {
    for (int attempt = 0; attempt < 200; ++attempt) {
        int t = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_ANY);
        a.sin_port = 0;
        if (bind(t, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            close(t);
            continue;
        }
        socklen_t len = sizeof a;
        getsockname(t, reinterpret_cast<sockaddr*>(&a), &len);
        const uint16_t port = ntohs(a.sin_port);
        close(t);
        if (port == 0 || port >= 65534) continue;
        int u = socket(AF_INET, SOCK_DGRAM, 0);
        a.sin_port = htons(static_cast<uint16_t>(port + 1));
        const bool udpFree = bind(u, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        close(u);
        if (udpFree) return port;
    }
    return 0;
}

TestDealer::TestDealer() : m_server(m_stop) {}

TestDealer::~TestDealer() {
    Stop();
}

bool TestDealer::Start(uint16_t tcpPort, uint16_t udpPort) {
    if (!m_server.Open(tcpPort, udpPort, error)) return false;
    m_thread = std::thread([this] { m_server.Run(); });
    return true;
}

void TestDealer::Stop() {
    m_stop.Set();
    if (m_thread.joinable()) m_thread.join();
    m_server.CloseSockets();
}

std::vector<uint8_t> MakeFrame(uint16_t from, uint16_t to, uint16_t command, uint32_t seq,
                               const std::string& payload, bool withNul) {
    const size_t plen = payload.size() + (withNul ? 1 : 0);
    std::vector<uint8_t> frame(kHeaderSize + plen);
    FrameHeader h;
    h.from = from;
    h.to = to;
    h.command = command;
    h.seq = seq;
    EncodeFrame(frame.data(), h, payload.c_str(), plen);
    return frame;
}

std::vector<uint8_t> MakeU16Frame(uint16_t from, uint16_t to, uint16_t command, uint16_t value) {
    return MakeFrame(from, to, command, 0,
                     {static_cast<char>(value), static_cast<char>(value >> 8)}, false);
}

std::vector<uint8_t> MakeLoginRequest(const std::string& name) {
    std::string field(kLoginNameField, '\0');
    field.replace(0, std::min(name.size(), kLoginNameField), name, 0, kLoginNameField);
    return MakeFrame(kNoUser, kEverybody, NET_LOGIN, 0, field, false);
}

FrameHeader HeaderOf(const std::vector<uint8_t>& frame) {
    return DecodeHeader(frame.data());
}

std::string TextOf(const std::vector<uint8_t>& frame) {
    return PayloadText(frame.data() + kHeaderSize, frame.size() - kHeaderSize);
}

RawClient::~RawClient() {
    Close();
}

void RawClient::Close() {
    if (fd >= 0) close(fd);
    fd = -1;
}

bool RawClient::Connect(uint16_t port, int receiveBuffer) {
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

bool RawClient::Send(const std::vector<uint8_t>& bytes) {
    return send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

bool RawClient::ReadExact(uint8_t* out, size_t len, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t have = 0;
    while (have < len) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        ssize_t n = recv(fd, out + have, len - have, 0);
        if (n <= 0) return false;
        have += static_cast<size_t>(n);
    }
    return true;
}

int RawClient::Login(const std::string& name, int timeoutMs) {
    if (!Send(MakeLoginRequest(name))) return -1;
    lastReply.assign(kLoginReplySize, 0);
    if (!ReadExact(lastReply.data(), kLoginReplySize, timeoutMs)) return -1;
    id = GetU16(lastReply.data() + kHeaderSize);
    return id;
}

std::optional<std::vector<uint8_t>> RawClient::Read(int timeoutMs) {
    std::vector<uint8_t> frame(kHeaderSize);
    if (!ReadExact(frame.data(), kHeaderSize, timeoutMs)) return std::nullopt;
    const uint32_t length = GetU32(frame.data() + 12);
    if (length < kHeaderSize || length > 100000) return std::nullopt;
    frame.resize(length);
    if (!ReadExact(frame.data() + kHeaderSize, length - kHeaderSize, timeoutMs))
        return std::nullopt;
    if (IsCountedCommand(HeaderOf(frame).command)) ++counted;
    return frame;
}

std::optional<std::vector<uint8_t>> RawClient::ReadCommand(uint16_t command, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        auto f = Read(static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                .count()));
        if (!f || HeaderOf(*f).command == command) return f;
    }
    return std::nullopt;
}

bool RawClient::Quiet(int ms) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, ms) == 0;
}

bool RawClient::WaitClosed(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    uint8_t buf[8192];
    for (;;) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n == 0) return true;
        if (n < 0) return errno == ECONNRESET;
    }
}

} // namespace nettest
