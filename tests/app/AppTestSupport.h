// One game program in one process: a message queue for the windows, a table that
// echoes every broadcast back as the dealer relays it, recording window doubles.
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "ai/GameCommands.h"
#include "app/CBidPanelCore.h"
#include "app/CCommandDispatcher.h"
#include "app/CFrameBridge.h"
#include "app/CGameFlow.h"
#include "app/CSeatPanel.h"
#include "app/IFlowPlatform.h"
#include "app/IFrameUi.h"
#include "app/IGameConn.h"
#include "app/IViewUi.h"
#include "app/NetCommands.h"
#include "net/Conn.h"
#include "net/UsersList.h"
#include "platform/MessageSink.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/Declarations.h"
#include "rules/GameState.h"
#include "rules/TableView.h"

namespace apptest {

// "JH" = jack of hearts; ranks 7 8 9 T J Q K A, suits C D H S.
inline int Code(const std::string& card) {
    static const std::string ranks = "A23456789TJQK";
    static const std::string suits = "CDHS";
    return static_cast<int>(ranks.find(card[0]) * 4 + suits.find(card[1]));
}
inline std::string CardText(const std::string& card) {
    return std::string(1, static_cast<char>(Code(card) + 1));
}

// Four one-suit hands with a few exchanges: place 0 leads the clubs.
inline const std::vector<std::string> kHands[4] = {
    {"AS", "7H", "8H", "9C", "TC", "JC", "QC", "KC"},
    {"7S", "8S", "9S", "TS", "JS", "QS", "KS", "7C"},
    {"9H", "TH", "JH", "QH", "KH", "AH", "8C", "AC"},
    {"7D", "8D", "9D", "TD", "JD", "QD", "KD", "AD"},
};

struct Message {
    uint32_t msg;
    uintptr_t wParam;
    intptr_t lParam;
};

// The windows' message queue: thread-safe posting, dispatch on the test's thread.
class FakeQueue : public IMessageSink {
public:
    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        std::lock_guard<std::mutex> lock(m_lock);
        m_messages.push_back({message, wParam, lParam});
    }
    bool Pop(Message& out) {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_messages.empty()) return false;
        out = m_messages.front();
        m_messages.pop_front();
        return true;
    }
    std::deque<Message> Pending() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_messages;
    }

private:
    std::mutex m_lock;
    std::deque<Message> m_messages;
};

struct SentCommand {
    int16_t to, cmd;
    std::string text;
    int16_t from;
};

// Every broadcast (and message to the own user) comes back as WM_CONN_NOTIFY, in order.
class FakeTable : public IGameConn {
public:
    explicit FakeTable(FakeQueue& queue) : m_queue(queue) {}
    int ownId = 0;
    std::vector<SentCommand> sent;
    uint32_t posted = 0;

    void BroadcastCmd(int16_t to, int16_t cmd, const char* text, int16_t from) override {
        sent.push_back({to, cmd, text ? text : "", from});
        if (to == -1 || to == ownId)
            Deliver(cmd, static_cast<uint16_t>(from == -1 ? ownId : from), text ? text : "");
    }
    void SetPlaceState(int16_t state, int16_t from) override {
        sent.push_back({-1, NET_PLACESTATE, std::string(), state});
        DeliverPlaceState(static_cast<uint16_t>(from == -1 ? ownId : from), state);
    }
    int16_t Synchro() override { return isBusy.load(); }
    uint32_t NotificationsPosted() const override { return posted; }

    // A command from a program at the table, as the library posts it.
    void Deliver(int16_t cmd, uint16_t from, const std::string& text) {
        Post(static_cast<uint16_t>(cmd), from, reinterpret_cast<intptr_t>(new CString(text)));
    }
    void DeliverPlaceState(uint16_t from, int16_t state) { Post(NET_PLACESTATE, from, state); }
    std::vector<SentCommand> SentOf(int16_t cmd) const {
        std::vector<SentCommand> out;
        std::copy_if(sent.begin(), sent.end(), std::back_inserter(out),
                     [cmd](const SentCommand& c) { return c.cmd == cmd; });
        return out;
    }

private:
    void Post(uint16_t cmd, uint16_t from, intptr_t lParam) {
        if (CountsAsBusy(cmd)) ++isBusy;
        ++posted;
        m_queue.PostMessage(WM_CONN_NOTIFY, (static_cast<uintptr_t>(cmd) << 16) | from, lParam);
    }
    FakeQueue& m_queue;
};

class FakePlatform : public IFlowPlatform {
public:
    std::function<void()> pump;
    std::vector<int> beeps;
    std::vector<int> waits; // milliseconds
    uint32_t tick = 100000;

    void PumpMessages() override {
        if (pump) pump();
    }
    void PumpMessagesFor(int ms) override {
        waits.push_back(ms);
        if (pump) pump();
        if (ms > 0) tick += static_cast<uint32_t>(ms);
    }
    uint32_t Tick() override { return tick += 5; }
    void Sleep(int) override {}
    void Beep(int kind) override { beeps.push_back(kind); }
};

class FakeFrameUi : public IFrameUi {
public:
    std::string status;
    std::vector<std::string> chat;
    std::vector<std::string> users;
    std::vector<std::string> removed;

    void SetStatusText(const std::string& text) override { status = text; }
    void AddChatListLine(const std::string& line) override { chat.push_back(line); }
    std::vector<std::string> ChatListLines() const override { return chat; }
    void AddUserName(const std::string& name) override { users.push_back(name); }
    void RemoveUserName(const std::string& name) override {
        removed.push_back(name);
        std::erase(users, name);
    }
};

class FakeViewUi : public IViewUi {
public:
    int biddingShown = 0, seatShown = 0, seatHidden = 0;
    int scoreSheets = 0, fills = 0;

    void ShowBiddingPanel(CBidPanelCore&) override { ++biddingShown; }
    void HideBiddingPanel() override {}
    void UpdateBiddingPanel() override {}
    void ShowSeatPanel(CSeatPanel&) override { ++seatShown; }
    void HideSeatPanel() override { ++seatHidden; }
    void ShowShowButton(bool) override {}
    void HideShowButton() override {}
    void RestoreOverlayPicture() override {}
    void RaiseChildren() override {}
    void ShowScoreSheet() override { ++scoreSheets; }
    void FillTable() override { ++fills; }
};

// A table view without a picture, with a classic table's sizes.
class FakeTableView : public ITableView {
public:
    bool HasSurface() const override { return false; }
    void DrawCard(int, int, int, int, int, int, uint32_t) override {}
    void EraseCard(int, int, int, int, uint32_t) override {}
    void DrawText(int, int, const char*) override {}
    ViewSize MeasureText(const char*) override { return {40, 12}; }
    void DrawIcon(int, int, int) override {}
    void FillRect(int, int, int, int, uint32_t) override {}
    void Invalidate() override {}
    ViewSize StandardCardSize() const override { return {71, 96}; }
    ViewSize ClientSize() const override { return {540, 500}; }
    // Runs while a finished trick is gathered, as the window's frames do.
    std::function<void()> onGather;
    void GatherTrick(CTrickPile&, int) override {
        if (onGather) onGather();
    }
};

// One program at a table, with its game state reset.
class GameFixture : public ::testing::Test {
protected:
    FakeQueue queue;
    FakeTable table{queue};
    FakePlatform platform;
    FakeFrameUi frameUi;
    FakeViewUi viewUi;
    FakeTableView tableView;
    CConn conn;
    std::unique_ptr<CGameFlow> flow;
    std::unique_ptr<CCommandDispatcher> dispatcher;
    std::unique_ptr<CFrameBridge> bridge;

    static void ResetGlobals() {
        DeleteGameObjects();
        ResetGameStateForStart();
        std::memset(g_UsersList, 0, sizeof g_UsersList);
        isBusy = 0;
    }
    void SetUp() override {
        ResetGlobals();
        table.posted = 0;
        conn.m_nUserId = 0;
        g_pConn = &conn;
        GameFlowOptions options;
        options.pace = 0;
        options.threadedBidding = false;
        flow = std::make_unique<CGameFlow>(platform, table, &queue, frameUi, viewUi, options);
        dispatcher = std::make_unique<CCommandDispatcher>(*flow);
        bridge = std::make_unique<CFrameBridge>(*flow);
        g_pMainFrame = bridge.get();
        g_pView = &tableView;
        platform.pump = [this] { Pump(); };
    }

    void TearDown() override {
        Drain();
        flow.reset();
        dispatcher.reset();
        g_pMainFrame = nullptr;
        g_pView = nullptr;
        g_pConn = nullptr;
        ResetGlobals();
    }
    // A fresh program at the table, for the second program of a test.
    void Restart(int ownId) {
        TearDown();
        SetUp();
        table.sent.clear();
        table.ownId = conn.m_nUserId = ownId;
    }

    void Dispatch(const Message& m) {
        if (m.msg == WM_CONN_NOTIFY)
            dispatcher->OnConnNotify(m.wParam, m.lParam);
        else if (m.msg == WM_GAME_STEP)
            flow->OnGameStep(static_cast<int>(m.wParam), m.lParam);
    }
    // While it answers true, nested pumps dispatch nothing: the outermost loop regains control.
    std::function<bool()> holdPump;
    // Dispatches everything waiting (what PumpMessages does).
    void Pump() {
        if (holdPump && holdPump()) return;
        Message m;
        while (queue.Pop(m))
            Dispatch(m);
    }
    void Drain() { // frees what is left without running it
        Message m;
        while (queue.Pop(m))
            if (m.msg == WM_CONN_NOTIFY && (m.wParam >> 16) != NET_PLACESTATE)
                delete reinterpret_cast<CString*>(m.lParam);
    }
    // Runs messages one at a time until `done` holds or nothing is left (at most `limit`).
    template <typename F> bool RunUntil(F done, int limit = 100000) {
        holdPump = done;
        Message m;
        for (int i = 0; i < limit && !done() && queue.Pop(m); ++i)
            Dispatch(m);
        holdPump = nullptr;
        return done();
    }
    bool StepPending(int step) {
        for (const Message& m : queue.Pending())
            if (m.msg == WM_GAME_STEP && static_cast<int>(m.wParam) == step) return true;
        return false;
    }

    static void AddUser(int id, const char* name, int owner = -1, uint16_t state = 0) {
        USERINFO& e = g_UsersList[id];
        e.state = state;
        e.owner = static_cast<uint16_t>(owner < 0 ? id : owner);
        e.aux = 0xFFFF;
        std::strncpy(e.name, name, sizeof e.name - 1);
    }

    // Users 0-3 "Ann", "Bob", "Cid", "Dan" (0 is this program's), started at seats 1-4.
    static void AddFourHumans() {
        const char* names[4] = {"Ann", "Bob", "Cid", "Dan"};
        for (int u = 0; u < 4; ++u)
            AddUser(u, names[u], -1, static_cast<uint16_t>(0x8001 + u));
    }
    // The table check, with no running game to ask for.
    void CheckTable() {
        g_bStateDone = 1;
        flow->OnGameStep(STEP_CHECK_TABLE, 0);
        Pump();
    }
    void StartFourHumans() {
        AddFourHumans();
        CheckTable();
    }
    // Deals kHands through deal packets from the table.
    void DealHands() {
        for (int place = 0; place < 4; ++place) {
            std::string packet(1, static_cast<char>(UserAtPlace(place) + 1));
            for (const std::string& c : kHands[place])
                packet += static_cast<char>(g_pDeck->FindSlot(Code(c)) + 1);
            table.Deliver(CMD_DEAL_PACKET, 0, packet);
        }
        Pump();
    }

    // The bidding skipped: a contract for `declarer` with `trump`, first card from `turn`.
    void SetContract(int value, int trump, int declarer, int turn) {
        flow->CloseBiddingPanel();
        g_nBidder = -1;
        g_contract = {value, trump, -1, -1, declarer, turn};
    }

    // kHands, a club contract of 8 for place 0; `turn` plays first.
    void StartDeal(int turn) {
        StartFourHumans();
        DealHands();
        g_nDealer = (turn + 3) % 4;
        SetContract(8, kClub, 0, turn);
        EvaluateDeclarations();
        table.sent.clear();
        platform.beeps.clear();
    }

    // The command text of the first card in the hand whose turn it is ("" when none).
    static std::string FirstCardOfTurn() {
        const int p = g_contract.turn;
        if (p < 0 || p > 3 || !g_pHand[p]) return {};
        for (int slot = 0; slot < kPileSlots; ++slot)
            if (const CCard* card = g_pHand[p]->CardAt(slot))
                return std::string(1, static_cast<char>(card->m_nCode + 1));
        return {};
    }

    void PlayFrom(int place, const std::string& card) {
        table.Deliver(CMD_PLAY_CARD, UserAtPlace(place), CardText(card));
        Pump();
    }
};

} // namespace apptest
