// What a game record hands to the main frame: chat lines and a nested pending
// game. The program's main frame implements it; with none attached both are dropped.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

class IRecordFrame {
public:
    virtual ~IRecordFrame() = default;
    // One chat line of the game's chat list, shown as a line without a sender.
    // It holds no zero byte and at most kMaxChatLine bytes.
    virtual void AddChatLine(std::string_view line) = 0;
    // A game record to keep as the pending game, replacing any pending one.
    virtual void KeepPendingGame(std::span<const uint8_t> record) = 0;
};

// Longest chat line a record carries (a line is kept in a 256-byte buffer).
constexpr size_t kMaxChatLine = 255;

// The main frame while it exists; null otherwise.
extern IRecordFrame* g_pRecordFrame;
