// The main frame's handler of WM_CONN_NOTIFY: applies each game command that the
// library delivers to the game state, under the command lock, in the order the
// dealer relayed them, and posts the steps that follow.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class CGameFlow;

class CCommandDispatcher {
public:
    explicit CCommandDispatcher(CGameFlow& flow) : m_flow(flow) {}
    ~CCommandDispatcher();
    CCommandDispatcher(const CCommandDispatcher&) = delete;
    CCommandDispatcher& operator=(const CCommandDispatcher&) = delete;

    // Game commands kept while the question for the running game is out; a
    // busy table sends a few hundred in the seconds a question may take.
    static constexpr size_t kMaxHeldCommands = 4096;
    // Notifications kept behind a question for the running game that arrived
    // while another command was being applied.
    static constexpr size_t kMaxDeferred = 4096;

    // wParam = (command << 16) | from; lParam = the payload string, which this
    // frees, or for NET_PLACESTATE the place state. Always answers 0.
    intptr_t OnConnNotify(uintptr_t wParam, intptr_t lParam);

    // The command lock: held while one notification is handled and while the game
    // objects are deleted at exit. Re-entrant on its owning thread.
    static std::recursive_mutex& CommandLock();

    // Payloads that did not fit the buffer and were dropped (or, for a state
    // reply, taken as empty).
    int OversizedDropped() const { return m_nOversized; }

    // Applies a place state to a user (also used for computer partners and departures).
    void ApplyPlaceState(int user, uint16_t state);

private:
    void Process(uintptr_t wParam, intptr_t lParam);
    void Handle(int command, int from, const uint8_t* text, size_t length, intptr_t value);
    void Apply(int command, int from, const uint8_t* text, size_t length, intptr_t value);

    void OnChat(int from, const uint8_t* text);
    void OnDealPacket(const uint8_t* text, size_t length);
    void OnNewDeal(int from);
    void OnAttach(const uint8_t* text);
    void OnDetach(int user, const uint8_t* text);
    void OnBid(int from, const uint8_t* text, size_t length);
    void OnBidFinish(int from, const uint8_t* text);
    void OnPlayCard(int from, const uint8_t* text);
    void OnShowCards(int from, const uint8_t* text, size_t length);
    void OnShowDone(int from);
    void OnStateRequest(int from);
    void OnStateReply(int from, uint8_t* text, size_t length);
    void OnDeclare(int from);
    void OnAutoPlay(int from, const uint8_t* text);
    void OnAddAuto(int from, const uint8_t* text);
    void OnDelAuto(const uint8_t* text);
    void RecordSnapshotFor(int from);
    // While our question for the running game is out, the game commands wait.
    bool HoldWhileAsking(int command, int from, const uint8_t* text, size_t length);
    // The mark of the question the answer belongs to (see CGameFlow::AskMarks).
    uint32_t AnsweredMark() const;
    // Whether the game the answer rebuilt is the one the held commands up to
    // `mark` lead to.
    bool AnswerFitsMark(uint32_t mark) const;
    // Whether the held calls in [begin, end) up to `mark` end the answer's bidding
    // log, or make all of it.
    bool CallsFitMark(size_t begin, size_t end, uint32_t mark, bool wholeBidding) const;
    void ReplayHeldCommands();

    CGameFlow& m_flow;
    int m_nOversized = 0;
    // Notifications handled so far, in the order the connection posted them.
    uint32_t m_nHandled = 0;
    // Game commands that arrived while this program waits for the running game.
    // The answer covers those the connection had posted before the question went
    // out; the others are applied after it, in their order.
    struct HeldCommand {
        uint32_t number; // which notification it was
        int command;
        int from;
        std::string text;
    };
    std::vector<HeldCommand> m_held;
    // The answer was taken and the held commands are being applied: newer ones
    // wait behind them. Due: applying starts when the current handler is done.
    bool m_bReplaying = false;
    // Notifications being handled, one inside another; those waiting until the
    // outermost is done, in the order they were posted.
    int m_nDepth = 0;
    std::deque<std::pair<uintptr_t, intptr_t>> m_deferred;
    bool m_bReplayDue = false;
};
