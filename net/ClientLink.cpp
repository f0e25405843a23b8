#include "net/ClientLink.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include "net/NetLibrary.h"
#include "net/NetUi.h"
#include "net/UsersList.h"

namespace {
using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits for events on fd or for stop; 1 = fd ready, 0 = timeout, -1 = stop or failure.
// On the program's thread (a UI installed) its messages are dispatched meanwhile.
int WaitFd(int fd, short events, const ManualResetEvent& stop, int timeoutMs, bool pump) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    INetUi* ui = pump ? GetNetUi() : nullptr;
    for (;;) {
        pollfd fds[2] = {{fd, events, 0}, {stop.Fd(), POLLIN, 0}};
        const int left = MsLeft(deadline);
        int r = poll(fds, 2, ui ? (left < 20 ? left : 20) : left);
        if (r < 0 && errno != EINTR) return -1;
        if (r > 0) {
            if (fds[1].revents) return -1;
            if (fds[0].revents) return 1;
        }
        if (ui) ui->PumpMessages();
        if (MsLeft(deadline) == 0) return 0;
    }
}

std::string NameOf(const USERINFO& e) {
    return std::string(e.name, strnlen(e.name, sizeof e.name));
}
} // namespace

int CClientLink::OpenConnection(uint32_t address, uint16_t port, const ManualResetEvent& stop,
                                int timeoutMs) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    CConnSocket::TuneKeepAlive(fd);
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = address;
    a.sin_port = htons(port);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        if (errno != EINPROGRESS || WaitFd(fd, POLLOUT, stop, timeoutMs, true) != 1) {
            close(fd);
            return -1;
        }
        int error = 0;
        socklen_t len = sizeof error;
        if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) {
            close(fd);
            return -1;
        }
    }
    return fd;
}

int CClientLink::Login(CConnSocket& ep, const std::string& name, const ManualResetEvent& stop,
                       int waitMs) {
    ep.m_name = name;
    uint8_t field[kLoginNameField] = {};
    std::memcpy(field, name.data(),
                name.size() < kLoginNameField - 1 ? name.size() : kLoginNameField - 1);
    const uint16_t savedId = ep.m_userId;
    const uint32_t savedCount = ep.m_countedFrames;
    ep.m_userId = kNoUser;
    ep.m_countedFrames = 0;
    const bool sent = ep.BuildFrame(kEverybody, NET_LOGIN, field, sizeof field, true, kNoUser);
    ep.m_userId = savedId;
    ep.m_countedFrames = savedCount;
    if (!sent) return -1;

    std::vector<uint8_t> reply(kLoginReplySize);
    size_t have = 0;
    for (int attempt = 0; attempt < 10 && have < reply.size(); ++attempt) {
        ssize_t n = recv(ep.Fd(), reply.data() + have, reply.size() - have, MSG_DONTWAIT);
        if (n == 0) return -1;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
        if (n > 0) have += static_cast<size_t>(n);
        if (have < reply.size() && WaitFd(ep.Fd(), POLLIN, stop, waitMs, false) != 1) return -1;
    }
    if (have < reply.size()) return -1;
    const int id = TakeLoginReply(reply.data(), reply.size());
    if (id >= 0) ep.m_userId = static_cast<uint16_t>(id);
    return id;
}

int CClientLink::TakeLoginReply(const uint8_t* reply, size_t len) {
    if (len != kLoginReplySize || !IsFrameAcceptable(reply, len)) return -1;
    if (DecodeHeader(reply).command != NET_LOGIN) return -1;
    const uint16_t id = GetU16(reply + kHeaderSize);
    if (id >= kMaxUsers) return -1;
    std::memcpy(g_UsersList, reply + kLoginListOffset, sizeof(USERINFO) * kMaxUsers);
    for (USERINFO& e : g_UsersList)
        e.name[sizeof e.name - 1] = 0; // keep every name terminated
    g_UsersList[id].owner = id;
    return id;
}

void CClientLink::Dispatch(CConnSocket& ep) {
    const FrameHeader h = ep.Header();
    const uint8_t* payload = ep.Frame() + kHeaderSize;
    const size_t plen = h.length - kHeaderSize;
    if (h.command == NET_LOGIN) return;
    // Every frame names its sender by user id; anything else cannot be placed.
    if (h.from >= kMaxUsers) return;
    switch (h.command) {
    case NET_ATTACH: {
        const std::string name = PayloadText(payload, plen);
        if (name.empty()) {
            // The busy probe: answer with our own count of unhandled notifications.
            uint8_t busy[2];
            PutU16(busy, static_cast<uint16_t>(isBusy.load()));
            ep.BuildFrame(h.from, NET_SYNCREPLY, busy, sizeof busy, true, kNoUser);
            return;
        }
        USERINFO& e = g_UsersList[h.from];
        std::memset(&e, 0, sizeof e);
        e.owner = h.from;
        e.aux = 0xFFFF;
        std::memcpy(e.name, name.data(),
                    name.size() < sizeof e.name - 1 ? name.size() : sizeof e.name - 1);
        CNetLibrary::PostText(ep.m_window, NET_ATTACH, h.from, NameOf(e));
        return;
    }
    case NET_DETACH:
        CNetLibrary::PostText(ep.m_window, NET_DETACH, h.from, NameOf(g_UsersList[h.from]));
        return;
    case NET_PLACESTATE:
        if (plen < 2) return;
        CNetLibrary::Post(ep.m_window, NET_PLACESTATE, h.from,
                          static_cast<intptr_t>(static_cast<int16_t>(PayloadU16(payload, plen))));
        return;
    case NET_SYNCREPLY:
        if (plen < 2 || ep.m_awaitedReplies == 0) return; // late or stray
        ep.m_replySum = static_cast<uint16_t>(ep.m_replySum + PayloadU16(payload, plen));
        if (--ep.m_awaitedReplies == 0 && ep.m_waitEvent) ep.m_waitEvent->Set();
        return;
    case CMD_CHAT_CODE:
        if (g_nQueuedStrings.load() < CNetLibrary::kMaxQueuedForChat)
            CNetLibrary::PostText(ep.m_window, h.command, h.from, PayloadText(payload, plen));
        else
            ++CNetLibrary::s_droppedChat;
        // A chat line is no step of the table: only the echo of our own line ends
        // the wait for it. Anybody's line ending the wait for a command's echo
        // would let the next command go out before that echo was counted, and
        // the dealer drops a command built on an outdated view.
        if (h.from == ep.m_userId && ep.m_waitEvent) ep.m_waitEvent->Set();
        return;
    default:
        CNetLibrary::PostText(ep.m_window, h.command, h.from, PayloadText(payload, plen));
        if (IsCountedCommand(h.command)) ++ep.m_countedFrames;
        if (h.to == kEverybody && ep.m_waitEvent) ep.m_waitEvent->Set();
        return;
    }
}

void CClientLink::PostUsers(HWND window) {
    for (int i = 0; i < kMaxUsers; ++i) {
        const USERINFO& e = g_UsersList[i];
        if (e.name[0] == 0) continue;
        CNetLibrary::PostText(window, NET_ATTACH, static_cast<uint16_t>(i), NameOf(e));
        if (e.state != 0)
            CNetLibrary::Post(window, NET_PLACESTATE, static_cast<uint16_t>(i),
                              static_cast<intptr_t>(static_cast<int16_t>(e.state)));
    }
}

void CClientLink::PostAllLeft(HWND window) {
    for (int i = 0; i < kMaxUsers; ++i)
        if (g_UsersList[i].name[0] != 0)
            CNetLibrary::PostText(window, NET_DETACH, static_cast<uint16_t>(i),
                                  NameOf(g_UsersList[i]));
}
