// The dealer's server: accepts every program's connection (the dealer's own
// included), admits users with unique names and ids, relays each command to
// the programs it is meant for in one order, drops counted commands built on
// an outdated view, announces leaving users and answers discovery requests.
// One thread (Run) uses everything here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/ConnSocket.h"
#include "net/DealerUsers.h"
#include "net/Discovery.h"
#include "platform/ManualResetEvent.h"

// What the dealer refused, for the closing figures and the tests.
struct DealerStats {
    uint32_t spoofed = 0;       // frames naming a sender the connection does not own
    uint32_t overBudget = 0;    // frames beyond the sender's budget
    uint32_t queueFull = 0;     // chat lines not queued for a peer that does not read
    uint32_t closed = 0;        // connections closed for going past a budget
    uint32_t peakPerSecond = 0; // most frames one connection sent within a second
};

class CDealerServer {
public:
    // `stop` ends Run when set; it must outlive the server.
    explicit CDealerServer(const ManualResetEvent& stop);
    ~CDealerServer();
    CDealerServer(const CDealerServer&) = delete;
    CDealerServer& operator=(const CDealerServer&) = delete;

    // Opens the listening socket (TCP, tcpPort) and the discovery socket (UDP,
    // udpPort) on any local address. Port 0 takes a free port. On failure
    // `error` holds the message for the player and every socket is closed.
    bool Open(uint16_t tcpPort, uint16_t udpPort, std::string& error);
    void CloseSockets();
    uint16_t TcpPort() const { return m_tcpPort; }
    uint16_t UdpPort() const { return m_udpPort; }

    // The server loop; returns when the stop event is set or the listening socket fails.
    void Run();

    // Takes an already connected socket as a new connection; false (and the
    // socket closed) when all connection slots are in use.
    bool Adopt(int fd);
    // The same for an endpoint made elsewhere (tests give it their own transport).
    bool Adopt(std::unique_ptr<CConnSocket> c);
    // Handles the socket events of the connection at position pos (0-based
    // after the fixed slots); false when it has been closed and removed.
    bool Service(size_t pos, short revents);
    // Handles one received frame of connection c.
    void Dispatch(CConnSocket& c);
    // Answers one discovery request waiting on the discovery socket.
    void AnswerRequest();

    size_t ConnectionCount() const { return m_conns.size(); }
    CDealerUsers& Users() { return m_users; }
    const DealerStats& Stats() const { return m_stats; }
    // True when connection c may send frames as user `from`: its own logged-in
    // user, or a computer partner it announced.
    bool Owns(const CConnSocket& c, uint16_t from) const;
    // True when k names a seated computer partner that another connection seated.
    bool RemovesOthersPartner(const CConnSocket& c, char k) const;
    void SetHostName(const std::string& host);

    static constexpr size_t kFixedSlots = 3;
    static constexpr size_t kMaxConnections = 60;
    static constexpr int kFramesPerEvent = 8;
    static int s_loginTimeoutMs; // a connection that has not logged in by then is closed
    // Per-connection budgets on (the relay benchmarks measure the relay itself
    // and switch them off).
    static bool s_budgets;
    // Chat lines are no longer queued for a peer that has this much waiting.
    static constexpr size_t kChatQueueBudget = 64 * 1024;
    // The system's send buffer of each accepted connection (a login reply and
    // a full state reply fit many times).
    static constexpr size_t kSendBuffer = 64 * 1024;

private:
    void Accept();
    void Close(size_t pos);
    void Relay(const CConnSocket& c, bool includeSender, bool counted);
    void Relay(const uint8_t* frame, size_t len, uint16_t to, const CConnSocket* sender,
               bool counted);
    void Admit(CConnSocket& c);
    void Drain();
    int NextTimeout() const;
    void CloseExpiredLogins();
    // Applies a budget verdict to c; false when the frame is to be dropped.
    bool Allow(CConnSocket& c, CConnBudget::Verdict verdict);

    const ManualResetEvent& m_stop;
    int m_listenFd = -1;
    int m_udpFd = -1;
    uint16_t m_tcpPort = 0;
    uint16_t m_udpPort = 0;
    char m_host[kHostField] = {};
    CDealerUsers m_users;
    std::vector<std::unique_ptr<CConnSocket>> m_conns;
    std::unique_ptr<uint8_t[]> m_reply;
    DealerStats m_stats;
};
