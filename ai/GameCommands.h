// Game command codes carried by CConn::BroadcastCmd, and the game steps that the
// view handles as WM_GAME_STEP. Shared by the program, the computer player and the tests.
#pragma once

#include <cstdint>

enum GameCommand : int16_t {
    CMD_CHAT = 1,
    CMD_DEAL_PACKET = 2,
    CMD_NEW_DEAL = 3,
    CMD_BID = 7,
    CMD_BID_FINISH = 8,
    CMD_PLAY_CARD = 9,
    CMD_SHOW_CARDS = 10,
    CMD_SHOW_DONE = 11,
    CMD_STATE_REQUEST = 12,
    CMD_STATE_REPLY = 13,
    CMD_DECLARE = 14,
    CMD_AUTOPLAY = 15,
};

// WM_USER + 1: a game step posted to the view; wParam = step, lParam = argument.
constexpr uint32_t WM_GAME_STEP = 1025;

enum GameStep : int {
    STEP_ANNOUNCE_DEAL = 1,
    STEP_DEAL_CARDS = 2,
    STEP_CHECK_TABLE = 3,
    STEP_OPEN_BIDDING = 4,
    STEP_AUTO_CARD = 5,
    STEP_AUTO_BID = 6,
    STEP_BID_TURN = 7,
};
