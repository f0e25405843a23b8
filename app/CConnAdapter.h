// The game connection over the library's connection object.
#pragma once

#include "app/IGameConn.h"

class CConn;

class CConnAdapter : public IGameConn {
public:
    // `conn` may be null (no connection yet): sending does nothing and Synchro answers 0.
    explicit CConnAdapter(CConn* conn) : m_pConn(conn) {}
    void SetConn(CConn* conn) { m_pConn = conn; }
    CConn* Conn() const { return m_pConn; }

    void BroadcastCmd(int16_t to, int16_t cmd, const char* text, int16_t from) override;
    void SetPlaceState(int16_t state, int16_t from) override;
    int16_t Synchro() override;

private:
    CConn* m_pConn;
};
