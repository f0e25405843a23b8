// One TCP connection that carries frames: the client's endpoint in every
// program, and one per accepted connection in the dealer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <sys/types.h>

#include "net/ConnBudget.h"
#include "net/Frame.h"
#include "platform/ManualResetEvent.h"
#include "platform/MessageSink.h"

class CConnSocket {
public:
    enum class ReadStatus {
        Idle,    // nothing complete yet; wait for the socket again
        Frame,   // a whole, acceptable frame is in the receive buffer
        Dropped, // a whole frame arrived but failed the version check; thrown away
        Closed,  // the peer closed the connection or the socket failed
        Refused, // the length field cannot fit the buffer: the connection must be closed
    };
    // How sends that the socket does not take at once are handled.
    enum class SendMode {
        Wait,  // client: wait (bounded) until the socket takes the rest
        Queue, // dealer: keep the rest and send it when the socket is writable
    };

    CConnSocket(int fd, SendMode mode);
    virtual ~CConnSocket();
    CConnSocket(const CConnSocket&) = delete;
    CConnSocket& operator=(const CConnSocket&) = delete;

    int Fd() const { return m_fd; }
    // Closes both directions so that a thread polling the socket wakes up.
    void ShutDown();

    // Writes a frame into the send buffer: from = `from` unless it is 0xFFFF,
    // then the endpoint's user id; seq = the counted-frame number. Sends it
    // when sendNow. Payloads longer than the buffer allows are cut.
    bool BuildFrame(uint16_t to, uint16_t command, const void* payload, size_t payloadLen,
                    bool sendNow, uint16_t from);
    // Sends the frame now in the send buffer.
    bool SendBuffer() { return Send(m_tx.get(), m_frameLength); }
    // Sends len bytes as one frame. Never leaves part of a frame in the stream:
    // what the socket does not take is waited for (Wait) or queued (Queue).
    bool Send(const void* data, size_t len);
    // Queue mode: sends what is queued; false when the socket failed.
    bool FlushQueue();
    bool HasQueued() const { return m_queued.size() > m_queuedSent; }
    size_t QueuedBytes() const { return m_queued.size() - m_queuedSent; }
    // True once a send failed or the queue outgrew its limit: the owner closes it.
    bool IsBroken() const { return m_broken; }
    // True when it broke because its queue outgrew the limit (the peer does not read).
    bool IsOverQueued() const { return m_overQueued; }
    // The owner gives the connection up; it is closed like a broken one.
    void Abandon() { m_broken = true; }

    // Reads from the socket (without blocking) towards the next frame. At most
    // one frame is completed per call; later frames stay in the socket.
    ReadStatus ReadFrame();
    const uint8_t* Frame() const { return m_rx.get(); }
    size_t FrameLength() const { return m_rxHave; }
    FrameHeader Header() const { return DecodeHeader(m_rx.get()); }

    const uint8_t* SendBufferData() const { return m_tx.get(); }
    size_t SendBufferLength() const { return m_frameLength; }

    // Keep-alive tuned so that a vanished peer is noticed within about 30 s.
    static void TuneKeepAlive(int fd);
    static bool SetNonBlocking(int fd);

    std::string m_name;
    uint16_t m_userId = kNoUser;
    uint16_t m_replySum = 0;
    uint16_t m_awaitedReplies = 0;
    std::unique_ptr<ManualResetEvent> m_waitEvent; // client only
    uint32_t m_countedFrames = 0;
    uint32_t m_index = 0;
    HWND m_window = nullptr;
    uint32_t m_loginDeadline = 0; // dealer: tick by which the login must have come
    CConnBudget m_budget;         // dealer: what the connection may still send
    // Queue mode: bytes waiting for a peer that does not read, beyond which the
    // connection is given up.
    static constexpr size_t kQueueLimit = 1u << 20;
    static int s_sendWaitMs; // Wait mode: how long a send may wait for the socket

protected:
    // The socket calls, as one place that a test transport can replace.
    virtual ssize_t RecvSome(void* buf, size_t len);
    virtual ssize_t SendSome(const void* buf, size_t len);

private:
    int m_fd;
    SendMode m_mode;
    bool m_broken = false;
    bool m_overQueued = false;
    std::unique_ptr<uint8_t[]> m_tx;
    size_t m_frameLength = 0;
    std::unique_ptr<uint8_t[]> m_rx;
    size_t m_rxHave = 0;
    bool m_rxComplete = false;
    std::string m_queued;
    size_t m_queuedSent = 0;
};
