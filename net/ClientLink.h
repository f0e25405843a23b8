// The client's side of the connection to the dealer: connecting, the login
// exchange and the handling of every frame the dealer relays.
#pragma once

#include <cstdint>
#include <string>

#include "net/ConnSocket.h"
#include "platform/ManualResetEvent.h"

class CClientLink {
public:
    // Starts a non-blocking connect to address (network order) and port and
    // waits for it up to timeoutMs, or until stop is set. The connected socket,
    // or -1.
    static int OpenConnection(uint32_t address, uint16_t port, const ManualResetEvent& stop,
                              int timeoutMs);
    // Sends the 56-byte login request for `name` and reads the 6686-byte reply
    // (up to 10 reads, each wait at most waitMs). On success the user list is
    // copied over g_UsersList and the given id is returned; -1 on failure.
    static int Login(CConnSocket& ep, const std::string& name, const ManualResetEvent& stop,
                     int waitMs);
    // Checks a login reply and takes it over: the id, or -1 when it is unfit.
    static int TakeLoginReply(const uint8_t* reply, size_t len);
    // Handles one received frame (under the sending lock): library commands
    // here, everything else posted to the endpoint's window.
    static void Dispatch(CConnSocket& ep);
    // Tells the window of every user already in g_UsersList, in index order.
    static void PostUsers(HWND window);
    // Tells the window that every user in g_UsersList has gone.
    static void PostAllLeft(HWND window);
};
