// Helpers of the network tests: a message queue standing in for the program's window,
// a dealer server on free loopback ports, and a raw client speaking frames.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/DealerServer.h"
#include "net/Frame.h"
#include "platform/ManualResetEvent.h"
#include "platform/MessageSink.h"

namespace nettest {

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
    bool hadString = false;
};

// The program's window: collects notifications; handles each at once (lowering
// isBusy) unless told to hold them.
class QueueSink : public IMessageSink {
public:
    explicit QueueSink(bool handleAtOnce = true) : m_handleAtOnce(handleAtOnce) {}
    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // Waits for a notice matching pred; returns it and removes it and all before it.
    std::optional<Notice> WaitFor(const std::function<bool(const Notice&)>& pred,
                                  int timeoutMs = kWaitMs);
    std::optional<Notice> WaitForCommand(uint16_t command, int timeoutMs = kWaitMs);
    size_t Count();

private:
    bool m_handleAtOnce;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Notice> m_notices;
};

// A TCP port N with N + 1 free for UDP, both on loopback, found at run time.
uint16_t FreePortPair();

// Waits for cond, checking every few milliseconds, up to timeoutMs.
bool WaitUntil(const std::function<bool()>& cond, int timeoutMs = kWaitMs);

// A dealer server in this process on free ports.
class TestDealer {
public:
    TestDealer();
    ~TestDealer();
    bool Start(uint16_t tcpPort = 0, uint16_t udpPort = 0);
    void Stop();
    uint16_t Port() const { return m_server.TcpPort(); }
    uint16_t UdpPort() const { return m_server.UdpPort(); }
    CDealerServer& Server() { return m_server; }
    std::string error;

private:
    ManualResetEvent m_stop;
    CDealerServer m_server;
    std::thread m_thread;
};

std::vector<uint8_t> MakeFrame(uint16_t from, uint16_t to, uint16_t command, uint32_t seq,
                               const std::string& payload, bool withNul = true);
// A frame whose payload is the two bytes of `value` (place states, busy replies).
std::vector<uint8_t> MakeU16Frame(uint16_t from, uint16_t to, uint16_t command, uint16_t value);
std::vector<uint8_t> MakeLoginRequest(const std::string& name);

// A client that speaks the wire protocol directly.
class RawClient {
public:
    RawClient() = default;
    ~RawClient();
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    // receiveBuffer > 0 shrinks the socket's receive buffer to about that size.
    bool Connect(uint16_t port, int receiveBuffer = 0);
    // Logs in; returns the id given, or -1. The reply is kept in lastReply.
    int Login(const std::string& name, int timeoutMs = kWaitMs);
    bool Send(const std::vector<uint8_t>& bytes);
    // Reads one whole frame; nullopt on timeout or close.
    std::optional<std::vector<uint8_t>> Read(int timeoutMs = kWaitMs);
    // Reads frames until one with the given command arrives (others are skipped).
    std::optional<std::vector<uint8_t>> ReadCommand(uint16_t command, int timeoutMs = kWaitMs);
    // True when nothing arrives within ms (the connection staying open).
    bool Quiet(int ms);
    // True when the peer closes the connection within timeoutMs.
    bool WaitClosed(int timeoutMs = kWaitMs);
    void Close();
    int fd = -1;
    uint16_t id = 0xFFFF;
    uint32_t counted = 0; // counted frames received, as a client keeps them
    std::vector<uint8_t> lastReply;

private:
    bool ReadExact(uint8_t* out, size_t len, int timeoutMs);
};

FrameHeader HeaderOf(const std::vector<uint8_t>& frame);
std::string TextOf(const std::vector<uint8_t>& frame);

} // namespace nettest
