// The connection object: the program's whole view of the network.
#pragma once

#include <cstdint>
#include <string>

#include "net/UsersList.h"
#include "net/VeskDllApi.h"
#include "platform/MessageSink.h"

// Choices that Init would otherwise ask for in the welcome and Select Computer
// dialogs. Handed over by the program's command line and by tests.
struct ConnChoices {
    std::string name;       // player name; empty becomes "Player"
    int connType = 0;       // 0 = join a game, 1 = be the dealer
    std::string dealerHost; // join only: the dealer's address (name or dotted quad)
};

class VESKDLL_API CConn {
public:
    CConn();
    CConn(const CConn& other);
    CConn& operator=(const CConn& other);
    virtual ~CConn();

    int Init(HWND hWnd);
    void Done();
    void BroadcastCmd(short to, short cmd, const char* text, short from);
    void SetPlaceState(short state, short from);
    short Synchro();
    int IcantExit();
    void AttachUser();
    void DetachUser();

    // Makes the next Init use these choices instead of showing dialogs.
    void SetChoices(const ConnChoices& choices);
    // The dealer's TCP port (discovery uses the next one). 0 restores the
    // default: VESK_PORT from the environment, else 250.
    static void SetPort(uint16_t port);

    char m_szName[64];
    int m_nConnType;
    int16_t m_nUserId;
    HWND m_hWnd;

private:
    int MakeVeskConnection();
    int Connect();
    void Disconnect();
    // Sends the own user's name with `command` (attach or detach) to everybody.
    void SendOwnName(uint16_t command);
};
