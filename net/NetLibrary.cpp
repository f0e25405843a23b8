#include "net/NetLibrary.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/ClientLink.h"
#include "net/ConsoleNetUi.h"
#include "net/Discovery.h"
#include "net/NetUi.h"
#include "net/PortRights.h"
#include "platform/TextMark.h"

int CNetLibrary::s_loginWaitMs = 10000;
std::atomic<uint32_t> CNetLibrary::s_droppedChat{0};
int CNetLibrary::s_connectTimeoutMs = 5000;
int CNetLibrary::s_shutdownWaitMs = 20000;

namespace {
std::string SocketError(const char* routine) {
    char text[192];
    const int error = errno;
    std::snprintf(text, sizeof text, CNetLibrary::Text(CNetLibrary::kSocketErrorText).c_str(),
                  static_cast<unsigned>(error), routine);
    return text;
}

uint32_t Resolve(const std::string& host) {
    in_addr a{};
    if (inet_pton(AF_INET, host.c_str(), &a) == 1) return a.s_addr;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* res = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &res) != 0 || res == nullptr) return 0;
    const uint32_t address = reinterpret_cast<sockaddr_in*>(res->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(res);
    return address;
}
} // namespace

CNetLibrary& CNetLibrary::Instance() {
    static CNetLibrary* library = new CNetLibrary(); // lives as long as the process
    return *library;
}

uint16_t CNetLibrary::TcpPort() const {
    if (m_port != 0) return m_port;
    if (const char* env = std::getenv("VESK_PORT")) {
        char* end = nullptr;
        long port = std::strtol(env, &end, 10);
        if (end != env && *end == 0 && port > 0 && port < 65535) return static_cast<uint16_t>(port);
    }
    return 250;
}

uint32_t CNetLibrary::BroadcastAddress() {
    in_addr a{};
    const char* env = std::getenv("VESK_BROADCAST");
    if (env && inet_pton(AF_INET, env, &a) == 1) return a.s_addr;
    return htonl(INADDR_BROADCAST);
}

void CNetLibrary::ShowMessage(const std::string& text) {
    if (INetUi* ui = GetNetUi())
        ui->MessageBox(text);
    else
        std::cerr << CConsoleNetUi::OneLine(text) << std::endl;
}

std::string CNetLibrary::Text(const char* text) {
    INetUi* ui = GetNetUi();
    return ui ? ui->Text(text) : std::string(text);
}

void CNetLibrary::Post(HWND window, uint16_t command, uint16_t user, intptr_t lParam) {
    if (window == nullptr) return;
    if (CountsAsBusy(command)) ++isBusy;
    window->PostMessage(WM_CONN_NOTIFY, (static_cast<uintptr_t>(command) << 16) | user, lParam);
}

void CNetLibrary::PostText(HWND window, uint16_t command, uint16_t user, const std::string& text) {
    if (window == nullptr) return;
    CString* s = new (std::nothrow) CString(text);
    if (s) ++g_nQueuedStrings;
    Post(window, command, user, reinterpret_cast<intptr_t>(s));
}

bool CNetLibrary::WaitPumping(const ManualResetEvent& event, int timeoutMs) {
    INetUi* ui = GetNetUi();
    if (ui == nullptr) return event.Wait(timeoutMs);
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (event.Wait(left < 10 ? static_cast<int>(left > 0 ? left : 0) : 10)) return true;
        ui->PumpMessages();
        if (Clock::now() >= deadline) return event.IsSet();
    }
}

std::optional<ConnChoices> CNetLibrary::TakeChoices() {
    std::optional<ConnChoices> c;
    c.swap(m_choices);
    return c;
}

void CNetLibrary::Prepare() {
    if (m_running.load() == 0) m_stop.Reset();
}

int CNetLibrary::StartDealer() {
    const std::string refused = RefusedDealerPort(TcpPort(), HoldsBindCapability());
    if (!refused.empty()) {
        ShowMessage(refused);
        return 0;
    }
    auto dealer = std::make_unique<CDealerServer>(m_stop);
    std::string error;
    if (!dealer->Open(TcpPort(), UdpPort(), error)) {
        ShowMessage(error);
        return 0;
    }
    // Both sockets are bound: nothing else needs the right to bind low ports.
    DropBindCapability();
    m_dealer = std::move(dealer);
    ++m_running;
    m_dealerThread = std::thread([this] {
        m_dealer->Run();
        --m_running;
    });
    m_dealerAddress = htonl(INADDR_LOOPBACK);
    m_mode = kDealer;
    return 1;
}

void CNetLibrary::Broadcast() {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = BroadcastAddress();
    to.sin_port = htons(UdpPort());
    sendto(m_discoveryFd, kRequestText, kRequestSize, MSG_DONTROUTE | MSG_NOSIGNAL,
           reinterpret_cast<sockaddr*>(&to), sizeof to);
}

void CNetLibrary::ListenLoop() {
    for (;;) {
        pollfd fds[3] = {
            {m_discoveryFd, POLLIN, 0}, {m_stop.Fd(), POLLIN, 0}, {m_dialogEnd.Fd(), POLLIN, 0}};
        int r = poll(fds, 3, -1);
        if (r < 0 && errno != EINTR) break;
        if (fds[1].revents || fds[2].revents) break;
        if (!(fds[0].revents & POLLIN)) continue;
        uint8_t data[kAnswerSize + 1];
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        ssize_t n = recvfrom(m_discoveryFd, data, sizeof data, MSG_DONTWAIT,
                             reinterpret_cast<sockaddr*>(&from), &fromLen);
        DiscoveryAnswer answer;
        if (n < 0 ||
            !ParseDiscoveryAnswer(data, static_cast<size_t>(n), from.sin_addr.s_addr, answer))
            continue;
        if (INetUi* ui = GetNetUi()) ui->AddAnswer(answer);
    }
    --m_running;
}

int CNetLibrary::DiscoverAndChoose(const std::string& host) {
    m_mode = kJoined;
    if (!host.empty()) {
        // Chosen beforehand (command line, tests): no dialog.
        m_dealerAddress = Resolve(host);
        if (m_dealerAddress != 0) return 1;
        ShowMessage("Vesk dealer not found: no computer is called " + host + ".");
        return 0;
    }
    INetUi* ui = GetNetUi();
    if (ui == nullptr) return 0; // no dialog to choose from: counts as cancelled
    if (m_discoveryFd < 0) {
        int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            ShowMessage(SocketError("socket()"));
            return 0;
        }
        int on = 1;
        if (setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
            ShowMessage(SocketError("setsockopt()"));
            close(fd);
            return 0;
        }
        sockaddr_in any{};
        any.sin_family = AF_INET;
        any.sin_addr.s_addr = htonl(INADDR_ANY);
        if (bind(fd, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0) {
            ShowMessage(SocketError("bind()"));
            close(fd);
            return 0;
        }
        m_discoveryFd = fd;
    }
    m_dialogEnd.Reset();
    ++m_running;
    m_listenThread = std::thread([this] { ListenLoop(); });
    uint32_t address = 0;
    const bool ok = ui->SelectComputer([this] { Broadcast(); }, address);
    if (ok) m_dealerAddress = address;
    m_dialogEnd.Set();
    if (m_listenThread.joinable()) m_listenThread.join();
    return ok ? 1 : 0;
}

int CNetLibrary::Connect(const std::string& name, HWND window) {
    Disconnect();
    if (m_dealerAddress == 0) return -1; // unknown host (0.0.0.0 would reach this PC)
    ++m_running;
    const int fd =
        CClientLink::OpenConnection(m_dealerAddress, TcpPort(), m_stop, s_connectTimeoutMs);
    if (fd < 0) {
        --m_running;
        return -1;
    }
    auto ep = std::make_shared<CConnSocket>(fd, CConnSocket::SendMode::Wait);
    ep->m_window = window;
    ep->m_waitEvent = std::make_unique<ManualResetEvent>();
    const int id = CClientLink::Login(*ep, name, m_stop, s_loginWaitMs);
    --m_running;
    if (id < 0) return -1;
    if (m_receiveThread.joinable())
        m_receiveThread.join(); // an earlier connection's, already ended
    std::lock_guard<std::mutex> lock(m_sendLock);
    m_client = ep;
    // The window hears of everybody at the table before any relayed frame.
    CClientLink::PostUsers(window);
    ++m_running;
    m_receiveThread = std::thread([this, ep] { ReceiveLoop(ep); });
    return id;
}

void CNetLibrary::ReceiveLoop(std::shared_ptr<CConnSocket> ep) {
    for (;;) {
        pollfd fds[2] = {{ep->Fd(), POLLIN, 0}, {m_stop.Fd(), POLLIN, 0}};
        int r = poll(fds, 2, -1);
        if (r < 0 && errno != EINTR) break;
        std::lock_guard<std::mutex> lock(m_sendLock);
        if (m_client != ep || fds[1].revents) break;
        if (fds[0].revents == 0) continue;
        const CConnSocket::ReadStatus status = ep->ReadFrame();
        if (status == CConnSocket::ReadStatus::Frame) {
            CClientLink::Dispatch(*ep);
        } else if (status == CConnSocket::ReadStatus::Closed ||
                   status == CConnSocket::ReadStatus::Refused) {
            // The dealer has gone: everybody at the table has left, ourselves included.
            CClientLink::PostAllLeft(ep->m_window);
            m_client.reset();
            break;
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_sendLock);
        if (m_client == ep) m_client.reset();
    }
    ep->ShutDown();
    --m_running;
}

void CNetLibrary::Disconnect() {
    std::shared_ptr<CConnSocket> ep;
    {
        std::lock_guard<std::mutex> lock(m_sendLock);
        ep.swap(m_client);
    }
    // Wakes the receive thread, which then sees that its endpoint is gone;
    // the socket closes with the last reference.
    if (ep) ep->ShutDown();
}

void CNetLibrary::JoinOrDetach(std::thread& t, bool join) {
    if (!t.joinable()) return;
    if (join)
        t.join();
    else
        t.detach();
}

void CNetLibrary::Shutdown() {
    m_stop.Set();
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(s_shutdownWaitMs);
    INetUi* ui = GetNetUi();
    while (m_running.load() > 0 && Clock::now() < deadline) {
        pollfd none{-1, 0, 0};
        poll(&none, 1, 5);
        if (ui) ui->PumpMessages();
    }
    const bool ended = m_running.load() <= 0;
    JoinOrDetach(m_receiveThread, ended);
    JoinOrDetach(m_listenThread, ended);
    JoinOrDetach(m_dealerThread, ended);
    if (!ended) {
        // A thread did not end in time: it keeps what it uses, and the count starts afresh.
        (void)m_dealer.release();
        m_running = 0;
    }
    if (m_mode == kJoined && m_discoveryFd >= 0 && ended) {
        close(m_discoveryFd);
        m_discoveryFd = -1;
    }
    m_dealer.reset();
    m_mode = kNotStarted;
}
