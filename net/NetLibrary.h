// The library-wide state of the network side: one per process. Holds the
// client endpoint and its sending lock, the stop event and the count of
// running loops, the dealer's server while this program deals, and the
// discovery socket while it joins.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "net/Conn.h"
#include "net/ConnSocket.h"
#include "net/DealerServer.h"
#include "platform/ManualResetEvent.h"
#include "platform/TextMark.h"

// Strings posted to the program and not yet freed with DeleteCString: the
// notifications waiting in the program's queue.
extern std::atomic<int> g_nQueuedStrings;

class CNetLibrary {
public:
    static CNetLibrary& Instance();

    enum Mode { kNotStarted = 0, kJoined = 1, kDealer = 2 };

    // Ports: TCP from SetPort, else VESK_PORT, else 250; UDP is the next one.
    uint16_t TcpPort() const;
    uint16_t UdpPort() const { return static_cast<uint16_t>(TcpPort() + 1); }
    void SetPort(uint16_t port) { m_port = port; }
    // Where discovery requests go: VESK_BROADCAST, else 255.255.255.255 (network order).
    static uint32_t BroadcastAddress();

    // Starts the dealer's server and thread; 0 after an error was shown.
    int StartDealer();
    // Finds a dealer (the given host, or the Select Computer dialog); 0 after
    // an error or Cancel.
    int DiscoverAndChoose(const std::string& host);
    // Connects and logs in as `name`, posts every user already at the table
    // to `window`, starts the receive thread. The user id, or -1 on failure.
    int Connect(const std::string& name, HWND window);
    void Disconnect();
    // Sets the stop event, waits (bounded) for every thread and connection
    // wait, closes the sockets of the mode and returns to mode 0.
    void Shutdown();
    // Ready for a new Init: clears the stop event when nothing runs.
    void Prepare();

    // Waits for `event` up to timeoutMs; on the program's thread the UI's
    // pending messages are dispatched meanwhile.
    static bool WaitPumping(const ManualResetEvent& event, int timeoutMs);
    static void ShowMessage(const std::string& text);
    // The installed UI's wording of a text marked with VESK_TRANSLATE_NOOP; the
    // text itself when headless.
    static std::string Text(const char* text);
    static constexpr const char* kSocketErrorText =
        VESK_TRANSLATE_NOOP("Vesk", "Socket error %u: Error in %s routine.");
    // Posts WM_CONN_NOTIFY, raising isBusy first for every command but a chat
    // line; lParam is the given value.
    static void Post(HWND window, uint16_t command, uint16_t user, intptr_t lParam);
    // The same with a new string holding text (freed by the program with DeleteCString).
    static void PostText(HWND window, uint16_t command, uint16_t user, const std::string& text);
    // A chat line arriving while this many notifications wait in the program's
    // queue is dropped: the queue stays bounded however fast lines come, and
    // game commands are never dropped.
    static constexpr int kMaxQueuedForChat = 256;
    // Chat lines dropped so (for the tests and the figures).
    static std::atomic<uint32_t> s_droppedChat;

    void SetChoices(const ConnChoices& choices) { m_choices = choices; }
    std::optional<ConnChoices> TakeChoices();

    std::mutex m_sendLock;
    std::shared_ptr<CConnSocket> m_client; // guarded by m_sendLock
    std::atomic<int> m_running{0};
    ManualResetEvent m_stop;
    int m_mode = kNotStarted;
    uint32_t m_dealerAddress = 0;

    // How long the login reply may take per wait (ms); tests shorten it.
    static int s_loginWaitMs;
    static int s_connectTimeoutMs;
    static int s_shutdownWaitMs;

private:
    CNetLibrary() = default;
    void ReceiveLoop(std::shared_ptr<CConnSocket> ep);
    void ListenLoop();
    void Broadcast();
    void JoinOrDetach(std::thread& t, bool join);

    uint16_t m_port = 0;
    std::optional<ConnChoices> m_choices;
    std::unique_ptr<CDealerServer> m_dealer;
    std::thread m_dealerThread;
    std::thread m_receiveThread;
    int m_discoveryFd = -1;
    std::thread m_listenThread;
    ManualResetEvent m_dialogEnd;
};
