// The game connection over the library's connection object.
#pragma once

#include <atomic>

#include "app/IGameConn.h"
#include "platform/MessageSink.h"

class CConn;

// The connection's window handle as well: the library posts its notifications
// here, and they are counted on their way to the main frame's sink.
class CConnAdapter : public IGameConn, public IMessageSink {
public:
    // `conn` may be null (no connection yet): sending does nothing and Synchro answers 0.
    explicit CConnAdapter(CConn* conn) : m_pConn(conn) {}
    void SetConn(CConn* conn) { m_pConn = conn; }
    CConn* Conn() const { return m_pConn; }

    void BroadcastCmd(int16_t to, int16_t cmd, const char* text, int16_t from) override;
    void SetPlaceState(int16_t state, int16_t from) override;
    int16_t Synchro() override;
    uint32_t NotificationsPosted() const override { return m_posted.load(); }

    // Where the notifications go on; set before the connection starts.
    void SetTarget(IMessageSink* target) { m_pTarget = target; }
    // IMessageSink, called on the library's threads.
    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

private:
    CConn* m_pConn;
    IMessageSink* m_pTarget = nullptr;
    std::atomic<uint32_t> m_posted{0};
};
