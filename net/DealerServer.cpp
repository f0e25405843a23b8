#include "net/DealerServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/NetLibrary.h"
#include "platform/TextMark.h"
#include "platform/Tick.h"
#include "platform/Trace.h"

int CDealerServer::s_loginTimeoutMs = 15000;
bool CDealerServer::s_budgets = true;

namespace {
// The player's wording of a marked message with one number filled in.
std::string Format(const char* fmt, unsigned value) {
    char text[512];
    std::snprintf(text, sizeof text, CNetLibrary::Text(fmt).c_str(), value);
    return text;
}

std::string PortInUseText(uint16_t port) {
    return Format(VESK_TRANSLATE_NOOP(
                      "Vesk", "Vesk dealer could not use port %u: this user has no right to open "
                              "ports below 1024.\nChoose another port with the VESK_PORT "
                              "environment variable or the --port option (every program at the "
                              "table must use the same)."),
                  port);
}

bool BindAny(int fd, uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    a.sin_port = htons(port);
    return bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
}

uint16_t BoundPort(int fd) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) return 0;
    return ntohs(a.sin_port);
}
} // namespace

CDealerServer::CDealerServer(const ManualResetEvent& stop)
    : m_stop(stop), m_reply(new uint8_t[kLoginReplySize]()) {
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0 || host[0] == 0) {
        const char* user = std::getenv("USER");
        std::snprintf(host, sizeof host, "%s", user ? user : "");
    }
    SetHostName(host);
}

CDealerServer::~CDealerServer() {
    m_conns.clear();
    CloseSockets();
}

void CDealerServer::SetHostName(const std::string& host) {
    std::memset(m_host, 0, sizeof m_host);
    std::memcpy(m_host, host.data(), host.size() < kHostField - 1 ? host.size() : kHostField - 1);
}

void CDealerServer::CloseSockets() {
    if (m_listenFd >= 0) close(m_listenFd);
    if (m_udpFd >= 0) close(m_udpFd);
    m_listenFd = m_udpFd = -1;
}

bool CDealerServer::Open(uint16_t tcpPort, uint16_t udpPort, std::string& error) {
    CloseSockets();
    m_listenFd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0) {
        error = Format(VESK_TRANSLATE_NOOP("Vesk", "socket %u"), static_cast<unsigned>(errno));
        CloseSockets();
        return false;
    }
    int on = 1;
    // Lets a new dealer start while old connections linger in TIME_WAIT; a
    // listening dealer still holds the port against a second one.
    setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (!BindAny(m_listenFd, tcpPort)) {
        error = errno == EACCES ? PortInUseText(tcpPort)
                                : CNetLibrary::Text(VESK_TRANSLATE_NOOP(
                                      "Vesk", "Vesk dealer already started on this PC."));
        CloseSockets();
        return false;
    }
    if (listen(m_listenFd, SOMAXCONN) != 0) {
        error = Format(VESK_TRANSLATE_NOOP("Vesk", "listen %u"), static_cast<unsigned>(errno));
        CloseSockets();
        return false;
    }
    m_tcpPort = BoundPort(m_listenFd);
    m_udpFd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_udpFd < 0) {
        error = Format(VESK_TRANSLATE_NOOP("Vesk", "Socket error %u: Error in socket() routine."),
                       static_cast<unsigned>(errno));
        CloseSockets();
        return false;
    }
    if (setsockopt(m_udpFd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        error =
            Format(VESK_TRANSLATE_NOOP("Vesk", "Socket error %u: Error in setsockopt() routine."),
                   static_cast<unsigned>(errno));
        CloseSockets();
        return false;
    }
    if (!BindAny(m_udpFd, udpPort)) {
        error =
            errno == EACCES
                ? PortInUseText(udpPort)
                : Format(VESK_TRANSLATE_NOOP("Vesk", "Socket error %u: Error in bind() routine."),
                         static_cast<unsigned>(errno));
        CloseSockets();
        return false;
    }
    m_udpPort = BoundPort(m_udpFd);
    return true;
}

int CDealerServer::NextTimeout() const {
    int timeout = -1;
    const uint32_t now = GetTickCount();
    for (const auto& c : m_conns) {
        if (c->IsBroken()) return 0; // to be closed at once
        if (c->m_userId != kNoUser) continue;
        int32_t left = static_cast<int32_t>(c->m_loginDeadline - now);
        if (left < 0) left = 0;
        if (timeout < 0 || left < timeout) timeout = left;
    }
    return timeout;
}

void CDealerServer::Run() {
    std::vector<pollfd> fds;
    for (;;) {
        fds.assign(kFixedSlots + m_conns.size(), pollfd{-1, 0, 0});
        fds[0] = {m_listenFd, POLLIN, 0};
        fds[1] = {m_stop.Fd(), POLLIN, 0};
        fds[2] = {m_udpFd, POLLIN, 0};
        for (size_t i = 0; i < m_conns.size(); ++i)
            fds[kFixedSlots + i] = {
                m_conns[i]->Fd(),
                static_cast<short>(POLLIN | (m_conns[i]->HasQueued() ? POLLOUT : 0)), 0};
        int r = poll(fds.data(), fds.size(), NextTimeout());
        if (r < 0 && errno != EINTR) break;
        if (fds[1].revents) {
            Drain();
            break;
        }
        if (fds[2].revents & POLLIN) AnswerRequest();
        if (fds[0].revents & (POLLERR | POLLNVAL)) break;
        // Serve the connections before accepting, so positions still match the table.
        const size_t count = m_conns.size();
        size_t pos = 0;
        for (size_t i = 0; i < count; ++i) {
            const short ev = fds[kFixedSlots + i].revents;
            // A connection broken by a relay is closed even without an event of its own.
            if ((ev == 0 && !m_conns[pos]->IsBroken()) || Service(pos, ev)) ++pos;
        }
        CloseExpiredLogins();
        if (fds[0].revents & POLLIN) Accept();
    }
    for (const auto& c : m_conns)
        m_stats.peakPerSecond = std::max(m_stats.peakPerSecond, c->m_budget.PeakPerSecond());
    m_conns.clear();
    Trace("dealer-figures spoofed %u over-budget %u queue-full %u closed %u peak %u",
          m_stats.spoofed, m_stats.overBudget, m_stats.queueFull, m_stats.closed,
          m_stats.peakPerSecond);
}

void CDealerServer::Drain() {
    // Frames already in the sockets when the dealer stops (the dealer's own
    // leave notice among them) are still relayed, in a bounded number of passes.
    std::vector<pollfd> fds;
    for (int pass = 0; pass < 4 && !m_conns.empty(); ++pass) {
        fds.clear();
        for (const auto& c : m_conns)
            fds.push_back({c->Fd(), POLLIN, 0});
        if (poll(fds.data(), fds.size(), 0) <= 0) break;
        size_t pos = 0;
        for (size_t i = 0; i < fds.size(); ++i)
            if (fds[i].revents == 0 || Service(pos, fds[i].revents)) ++pos;
    }
    for (auto& c : m_conns)
        c->FlushQueue();
}

void CDealerServer::CloseExpiredLogins() {
    const uint32_t now = GetTickCount();
    for (size_t pos = 0; pos < m_conns.size();) {
        const CConnSocket& c = *m_conns[pos];
        if (c.m_userId == kNoUser && static_cast<int32_t>(now - c.m_loginDeadline) >= 0)
            Close(pos);
        else
            ++pos;
    }
}

void CDealerServer::Accept() {
    int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return; // only this attempt is lost
    Adopt(fd);
}

bool CDealerServer::Adopt(int fd) {
    if (m_conns.size() >= kMaxConnections) {
        close(fd);
        return false;
    }
    CConnSocket::SetNonBlocking(fd);
    CConnSocket::TuneKeepAlive(fd);
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    // A fixed send buffer: what a peer that does not read can hold in the
    // system stays small, and the rest waits in the queue, which is bounded.
    int buffer = static_cast<int>(kSendBuffer);
    setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    return Adopt(std::make_unique<CConnSocket>(fd, CConnSocket::SendMode::Queue));
}

bool CDealerServer::Adopt(std::unique_ptr<CConnSocket> c) {
    if (m_conns.size() >= kMaxConnections) return false;
    c->m_index = static_cast<uint32_t>(kFixedSlots + m_conns.size());
    const uint32_t now = GetTickCount();
    c->m_loginDeadline = now + static_cast<uint32_t>(s_loginTimeoutMs);
    c->m_budget = CConnBudget(now);
    m_conns.push_back(std::move(c));
    return true;
}

bool CDealerServer::Service(size_t pos, short revents) {
    if (pos >= m_conns.size()) return false;
    CConnSocket& c = *m_conns[pos];
    if ((revents & POLLOUT) && !c.FlushQueue()) {
        Close(pos);
        return false;
    }
    if (revents & (POLLIN | POLLHUP | POLLERR)) {
        // A few frames per event when they are there already; the bound keeps
        // one busy connection from holding up the others.
        for (int frames = 0; frames < kFramesPerEvent && !c.IsBroken(); ++frames) {
            const CConnSocket::ReadStatus status = c.ReadFrame();
            if (status == CConnSocket::ReadStatus::Frame) {
                Dispatch(c);
            } else if (status == CConnSocket::ReadStatus::Closed ||
                       status == CConnSocket::ReadStatus::Refused) {
                Close(pos);
                return false;
            } else if (status == CConnSocket::ReadStatus::Idle) {
                break;
            }
        }
    }
    if (c.IsBroken()) {
        Close(pos);
        return false;
    }
    return true;
}

void CDealerServer::Close(size_t pos) {
    const uint16_t id = m_conns[pos]->m_userId;
    if (m_conns[pos]->IsOverQueued()) {
        ++m_stats.closed;
        Trace("dealer-closed %u queue", static_cast<unsigned>(id));
    }
    m_stats.peakPerSecond = std::max(m_stats.peakPerSecond, m_conns[pos]->m_budget.PeakPerSecond());
    m_conns.erase(m_conns.begin() + static_cast<std::ptrdiff_t>(pos));
    for (size_t i = pos; i < m_conns.size(); ++i)
        m_conns[i]->m_index = static_cast<uint32_t>(kFixedSlots + i);
    if (!CDealerUsers::IsValidId(id) || !m_users.IsTaken(id)) return;
    // The leave notice, as if the user had sent NET_DETACH itself.
    const USERINFO& e = m_users.List()[id];
    char name[sizeof e.name + 1] = {};
    std::memcpy(name, e.name, sizeof e.name);
    uint8_t frame[kHeaderSize + sizeof name];
    FrameHeader h;
    h.from = id;
    h.to = kEverybody;
    h.command = NET_DETACH;
    const size_t len = EncodeFrame(frame, h, name, std::strlen(name) + 1);
    m_users.Detach(id);
    Relay(frame, len, kEverybody, nullptr, false);
}

void CDealerServer::Relay(const CConnSocket& c, bool includeSender, bool counted) {
    const FrameHeader h = c.Header();
    Relay(c.Frame(), c.FrameLength(), h.to, includeSender ? nullptr : &c, counted);
}

void CDealerServer::Relay(const uint8_t* frame, size_t len, uint16_t to, const CConnSocket* sender,
                          bool counted) {
    for (auto& p : m_conns) {
        CConnSocket& target = *p;
        // A connection gets frames only once it has its login reply.
        if (target.m_userId == kNoUser || target.IsBroken()) continue;
        if (to != kEverybody && to != target.m_userId) continue;
        if (&target == sender) continue;
        // A chat line is the one frame a peer can do without: it is not queued
        // for a peer that already has a full queue waiting.
        if (GetU16(frame + 4) == CMD_CHAT_CODE && target.QueuedBytes() + len > kChatQueueBudget) {
            ++m_stats.queueFull;
            continue;
        }
        if (counted) ++target.m_countedFrames;
        target.Send(frame, len);
    }
}

bool CDealerServer::Owns(const CConnSocket& c, uint16_t from) const {
    if (c.m_userId == kNoUser) return false;
    if (from == c.m_userId) return true;
    if (!CDealerUsers::IsValidId(from) || !m_users.IsTaken(from)) return false;
    const USERINFO& e = m_users.List()[from];
    return e.owner == c.m_userId && e.owner != from;
}

bool CDealerServer::RemovesOthersPartner(const CConnSocket& c, char k) const {
    const int id = kAutoPlayerBase + static_cast<signed char>(k);
    if (!CDealerUsers::IsValidId(id) || !m_users.IsTaken(id)) return false;
    // A number that lands on a player's own entry never removes that player.
    return id == c.m_userId || m_users.List()[id].owner != c.m_userId;
}

bool CDealerServer::Allow(CConnSocket& c, CConnBudget::Verdict verdict) {
    if (verdict == CConnBudget::Verdict::Pass) return true;
    if (verdict == CConnBudget::Verdict::Close && !c.IsBroken()) {
        // Past its budget for too long: closed like a connection that failed.
        ++m_stats.closed;
        Trace("dealer-closed %u budget", static_cast<unsigned>(c.m_userId));
        c.Abandon();
    }
    return false;
}

void CDealerServer::Dispatch(CConnSocket& c) {
    const FrameHeader h = c.Header();
    const uint8_t* payload = c.Frame() + kHeaderSize;
    const size_t plen = h.length - kHeaderSize;
    const uint32_t now = GetTickCount();
    if (s_budgets && !Allow(c, c.m_budget.Charge(now, h.command == CMD_CHAT_CODE))) {
        ++m_stats.overBudget;
        return;
    }
    if (c.m_userId == kNoUser) {
        // Before its login a connection can do nothing but log in.
        if (h.command == NET_LOGIN) Admit(c);
        return;
    }
    // Every frame speaks for a user this connection owns; one that names
    // another user (a false leave, a card for another seat) goes nowhere.
    if (!Owns(c, h.from)) {
        ++m_stats.spoofed;
        Allow(c, c.m_budget.Strike(now));
        return;
    }
    switch (h.command) {
    case CMD_CHAT_CODE:
        Relay(c, true, false);
        break;
    case NET_ATTACH:
    case NET_SYNCREPLY:
        Relay(c, false, false);
        break;
    case NET_DETACH:
        m_users.Detach(h.from);
        Relay(c, false, false);
        break;
    case NET_PLACESTATE:
        if (plen < 2) return;
        m_users.SetState(h.from, PayloadU16(payload, plen));
        Relay(c, true, false);
        break;
    case NET_LOGIN:
        break; // already logged in
    default:
        if (h.seq != c.m_countedFrames) return; // built on an outdated view
        if (h.command == NET_ADDAUTO || h.command == NET_DELAUTO) {
            if (plen < 1) return;
            const char k = static_cast<char>(payload[0]);
            if (h.command == NET_ADDAUTO) {
                m_users.AddAuto(k, h.from);
            } else if (RemovesOthersPartner(c, k)) {
                // Only the program that seated a computer partner takes it away.
                ++m_stats.spoofed;
                Allow(c, c.m_budget.Strike(now));
                return;
            } else {
                m_users.DelAuto(k);
            }
        }
        Relay(c, true, true);
        break;
    }
}

void CDealerServer::Admit(CConnSocket& c) {
    const FrameHeader h = c.Header();
    std::string name = PayloadText(c.Frame() + kHeaderSize, h.length - kHeaderSize);
    if (name.size() > CDealerUsers::kMaxNameLength) name.resize(CDealerUsers::kMaxNameLength);
    c.m_name = name;
    const int id = m_users.Admit(name);
    if (id < 0) return; // list full: no reply, the login times out
    c.m_userId = static_cast<uint16_t>(id);
    uint8_t* reply = m_reply.get();
    std::memset(reply, 0, kLoginReplySize);
    std::memcpy(reply, c.Frame(), h.length < kLoginRequestSize ? h.length : kLoginRequestSize);
    PutU16(reply + kHeaderSize, static_cast<uint16_t>(id));
    PutU32(reply + 12, static_cast<uint32_t>(kLoginReplySize));
    std::memcpy(reply + kLoginListOffset, m_users.List(), sizeof(USERINFO) * kMaxUsers);
    c.Send(reply, kLoginReplySize);
}

void CDealerServer::AnswerRequest() {
    uint8_t request[64];
    sockaddr_in from{};
    socklen_t fromLen = sizeof from;
    ssize_t n = recvfrom(m_udpFd, request, sizeof request, MSG_TRUNC | MSG_DONTWAIT,
                         reinterpret_cast<sockaddr*>(&from), &fromLen);
    if (n < 0 || !IsDiscoveryRequest(request, static_cast<size_t>(n))) return;
    uint8_t answer[kAnswerSize];
    BuildDiscoveryAnswer(answer, m_host, m_users.List());
    sendto(m_udpFd, answer, sizeof answer, MSG_DONTROUTE | MSG_NOSIGNAL,
           reinterpret_cast<sockaddr*>(&from), fromLen);
}
