// Where the computer player and the bidding panel send their game commands.
// The program forwards to CConn::BroadcastCmd; tests capture the commands.
#pragma once

#include <cstdint>
#include <string>

class ICommandSender {
public:
    virtual ~ICommandSender() = default;
    // Broadcasts command `cmd` to every program. `text` is the payload without its
    // terminating NUL (it never holds a zero byte); `from` is the acting user, -1 = own.
    virtual void SendCommand(int16_t cmd, const std::string& text, int16_t from) = 0;
};
