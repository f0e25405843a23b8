// The game step machine and the game flow: the steps that deal, open the
// bidding and make the computer's moves; the table check that starts deals and
// games; the player's clicks on the table; the status line; the end of a deal
// and of a game; AutoPlay; applying a game record. Steps arrive as WM_GAME_STEP
// from the message loop; everything that changes the game is sent as a command.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ai/ICommandSender.h"
#include "ai/IStepPoster.h"
#include "app/CGameBiddingHost.h"
#include "platform/TextMark.h"
#include "record/CRecordBuffer.h"
#include "record/IRecordFrame.h"
#include "record/IRecordView.h"

class CBidPanelCore;
class CPlayerHand;
class CReplaySnapshots;
class CSeatPanel;
class IFlowPlatform;
class IFrameUi;
class IGameConn;
class IMessageSink;
class IViewUi;

// Status line texts, translated where they are shown.
constexpr const char* kStatusWaitingMove = VESK_TRANSLATE_NOOP("Vesk", "Waiting for %s to move...");
constexpr const char* kStatusPlayA = VESK_TRANSLATE_NOOP("Vesk", "Play a %s.");
constexpr const char* kStatusSelectCard = VESK_TRANSLATE_NOOP("Vesk", "Select a card to play.");
constexpr const char* kStatusChooseCall =
    VESK_TRANSLATE_NOOP("Vesk", "Please choose anything to say.");
constexpr const char* kStatusWaitingCall = VESK_TRANSLATE_NOOP("Vesk", "Waiting for %s to say...");
// Shown when the connection to the dealer closed: the chat line stays English
// (chat lines travel in state replies and saved games), the status line is translated.
constexpr const char* kConnectionLostLine =
    VESK_TRANSLATE_NOOP("Vesk", "The connection to the dealer was lost.");
// Begins the status line of a save that failed; the reason follows.
constexpr const char* kStatusNotSaved = VESK_TRANSLATE_NOOP("Vesk", "The game was not saved: ");

// Chat lines from the same sender beep when more than this has passed since the last line.
constexpr uint32_t kChatBeepGap = 20000;
// Chat lines a state reply carries.
constexpr int kStateChatLines = 15;
// Longest text payload the dispatcher takes (its buffer, the NUL included).
constexpr size_t kPayloadBuffer = 4096;
// A question for a kept game still unanswered after this long is asked again.
constexpr uint32_t kStateRetryMs = 2000;
// The same for the running game. The dealer drops a question or answer built
// while a command was on its way to its sender, which at a fast table happens
// often; the program sorts out which question an answer belongs to.
constexpr uint32_t kRunningGameRetryMs = 500;
// Questions for the running game whose answers are told apart; later ones are
// still sent but taken for the last of these.
constexpr size_t kMaxAskMarks = 1024;
// The pause between two asks whether the table is idle, at the normal pace.
constexpr int kSynchroPauseMs = 100;
// At fast paces the pause starts at this back-off, doubling up to the cap.
constexpr int kSynchroFirstBackoffMs = 1;
constexpr int kSynchroBackoffCapMs = 16;

struct GameFlowOptions {
    // Scales every fixed pause (0 none, 1 as written), the pause between the
    // tries of WaitSynchro included.
    double pace = 1.0;
    // Run the computer's bid evaluation on its worker thread.
    bool threadedBidding = true;
};

class CGameFlow : public ICommandSender,
                  public IStepPoster,
                  public IRecordView,
                  public IRecordFrame {
public:
    // `viewSink` receives the posted steps (the view's window).
    CGameFlow(IFlowPlatform& platform, IGameConn& conn, IMessageSink* viewSink, IFrameUi& frame,
              IViewUi& view, GameFlowOptions options = {});
    ~CGameFlow() override;
    CGameFlow(const CGameFlow&) = delete;
    CGameFlow& operator=(const CGameFlow&) = delete;

    // ---- steps ----
    void PostStep(int step, intptr_t arg) override;
    // The view's WM_GAME_STEP handler.
    void OnGameStep(int step, intptr_t arg);

    // ---- waiting ----
    void PumpMessages();
    // Waits ms (scaled by the pace) without using the processor: in the event
    // loop, dispatching what arrives, or asleep when `pump` is not set.
    void Wait(int ms, bool pump);
    // The same wait, never scaled.
    void WaitUnscaled(int ms, bool pump);
    // Asks until the table is idle (1) or `tries` pauses have passed. A pause is
    // 100 ms scaled by the pace; at paces faster than normal it is never shorter
    // than a back-off from 1 ms up to 16 ms, and the limit stays `tries` x 100 ms.
    // After the last try, clears the library's busy count when asked; 0.
    int WaitSynchro(int tries, bool clearBusy);
    // The idle probes sent to the table since the last call (read at game over).
    int TakeProbeCount();

    // ---- table operations ----
    void RemoveOverlay();
    void RefreshTable();
    void ClearTable();
    void StopGame();
    void UpdateStatus();
    void SetStatus(const std::string& text);

    // ---- player input ----
    void OnLeftButtonDown(int x, int y);
    void OnRightButtonDown(int x, int y);
    void OnLeftDoubleClick(int x, int y);
    void OnShowButton();
    void ToggleAutoPlay();

    // ---- keyboard play ----
    // Left (-1) and Right (+1) move the focus mark to the next card of the own
    // hand; the first move marks the first (or last) card.
    void MoveHandMark(int direction);
    // The slot of the own hand under the mark, -1 when no card is marked. A
    // played card's mark moves on to its neighbour.
    int MarkedSlot() const;
    // Enter or Space: the marked card goes through the left click's path.
    void PlayMarkedCard();
    // S: the marked card goes through the right click's path.
    void ShowMarkedCard();

    // ---- used by the dispatcher ----
    // A chat line: "name>text", or the text alone for from = -1 (the referee).
    void ShowChatLine(int from, const std::string& text);
    // After a card was played: ends the deal, or updates the status and moves the computer.
    void AfterCardPlayed();
    void ShowRefereeOrderLine();
    void RaiseShowButton(bool enabled);
    void RemoveShowButton();
    bool HasShowButton() const { return m_bShowButton; }
    bool ShowButtonEnabled() const { return m_bShowButtonEnabled; }
    // Posts STEP_AUTO_CARD when the turn place is played by this program's computer.
    void PostAutoCardIfNeeded();
    // A place state while the seat panel is open.
    void ApplySeatState(int user, uint16_t state);

    // The bidding panel's state changed: its window redraws.
    void NotifyBiddingPanel();
    // Just before the own player's call or card is applied: the main frame keeps a
    // replay snapshot (never while a replay step is applied).
    void SetSnapshotHook(std::function<void()> hook) { m_snapshotHook = std::move(hook); }
    void RecordReplaySnapshot();
    // Undo and Redo on a lone player's snapshots: AutoPlay goes off first, then the
    // snapshot is applied as a replay. False when there was nothing to apply.
    bool UndoReplay(CReplaySnapshots& snapshots);
    bool RedoReplay(CReplaySnapshots& snapshots);

    // ---- panels ----
    CBidPanelCore* BidPanel() const { return m_bidPanel.get(); }
    CSeatPanel* SeatPanel() const { return m_seatPanel.get(); }
    void CloseBiddingPanel();
    void CloseSeatPanel();
    bool HandlesComputerPartner() const;
    // Handlers that may pump messages bracket themselves with these, so that a panel
    // closed by a nested command is deleted only once the outermost handler is done.
    void EnterHandler();
    void LeaveHandler();
    // The user asked for the running game, -1 when none.
    int AskedUser() const { return m_nAskedUser; }
    // The notifications the connection had posted when each question for the
    // running game went out, oldest first. The table accepts a question only from
    // a program that has received everything relayed to it before, so those are
    // the ones the answer to that question covers.
    const std::vector<uint32_t>& AskMarks() const { return m_askMarks; }
    // Asks again for the running game when the answer is overdue; the program calls
    // it now and then.
    void RepeatStateRequest();

    // ---- game records ----
    // The record of the running game as a state reply carries it: the game, the
    // last `chatLines` chat lines and, when asked, the pending game. Null when none.
    RecordPtr BuildStateRecord(int chatLines, bool withPending) const;
    // The state reply's text: the escaped record, shrunk (fewer chat lines, then
    // without the pending game) until it fits a payload; empty when nothing fits.
    std::string BuildStateReplyText() const;
    // Applies a record (pending game, replay snapshot); `replay` clears the table first.
    void ApplyGameRecord(std::span<const uint8_t> record, bool replay);
    // Keeps the running game as the pending game (a started player left); the
    // record counts as unsaved until it is saved, replaced or applied.
    void KeepRunningGame();
    // A record from elsewhere (or none): not one of ours to save.
    void SetPendingGame(RecordPtr record) {
        m_pending = std::move(record);
        m_bUnsaved = false;
    }
    const CRecordBuffer* PendingGame() const { return m_pending.get(); }
    bool HasUnsavedRecord() const { return m_bUnsaved; }
    // Takes the pending game out (with its unsaved flag), leaving none.
    RecordPtr ReleasePendingGame(bool* unsaved);
    // After a state reply was applied: our own kept game (taken out before) comes
    // back when the reply carried none and the table runs no game.
    void TakeStateReplyPending(RecordPtr own, bool ownUnsaved);
    // Four started seats in the user list: the table runs a game.
    static bool TableRunsAGame();

    // ---- a kept game that the table lost ----
    // `user` asked us for the running game: while we hold no kept game and no
    // game runs, we ask it back, since it may hold the game of a table whose
    // dealer was lost.
    void AskBackForKeptGame(int user);
    // The user asked back, -1 when no such question is out.
    int KeptGameAskedUser() const { return m_nKeptAskUser; }
    // Its answer: only the kept game it carries is taken.
    void TakeKeptGameAnswer(std::span<const uint8_t> record);
    // Asks again when the answer is overdue; gives up after a few tries.
    void RepeatKeptGameRequest();

    // ---- saved games ----
    // Writes the pending game, or when none is held the running game, to `path`.
    // 1 when every byte reached the file; else 0 after a beep, with the reason
    // on the status line and in `failure`.
    int SaveGameFile(const std::string& path, std::string* failure = nullptr);
    // Reads a saved game into the pending game, which resumes when the four seats
    // have started. A missing, empty, oversized, unreadable or malformed file beeps
    // and leaves the pending game as it was.
    bool LoadGameFile(const std::string& path);
    // Cards applied since the program started (every game and deal).
    int CardsPlayed() const { return m_nCardsPlayed; }
    void CountPlayedCard() { ++m_nCardsPlayed; }

    // ---- the connection ----
    // Called once the library reported the own user gone: the dealer is lost.
    void SetConnectionLostHook(std::function<void()> hook) { m_lostHook = std::move(hook); }
    void OnConnectionLost();
    // Connected again: the new table is asked for its game and checked.
    void RejoinTable();

    // ICommandSender: a game command to everybody.
    void SendCommand(int16_t cmd, const std::string& text, int16_t from) override;
    // IRecordView
    bool SaveBidding(std::vector<uint8_t>& out) override;
    void RestoreBidding(std::span<const uint8_t> state) override;
    void UpdateShowControl(int place) override;
    // IRecordFrame
    void AddChatLine(std::string_view line) override;
    void KeepPendingGame(std::span<const uint8_t> record) override;

    IGameConn& Conn() { return m_conn; }
    IFrameUi& Frame() { return m_frame; }
    IFlowPlatform& Platform() { return m_platform; }
    double Pace() const { return m_options.pace; }

private:
    // Steps.
    void AnnounceDeal(intptr_t dealerUser);
    void DealCards();
    void CheckTable();
    void OpenBidding();
    void AutoCard();
    void AutoBid();
    void BidTurn();
    // Pieces.
    bool MakeGameObjects();
    bool AskForRunningGame();
    void OpenSeatPanel();
    // Applies the pending game and drops it: the game goes on where it was kept.
    void ResumePendingGame();
    bool OpenBiddingPanel();
    void EndOfDeal();
    // The four seats started while a question for a kept game was out: the
    // kept game resumes, or a fresh game is dealt, once it is answered.
    void DealAfterKeptGameAnswer();
    void GameOver();
    void RefuseCard(int slot, const char* reason);
    // The left and the right click on the own hand, with the card chosen by
    // `slotOf` (a hit test, or the keyboard's mark) once the table is ready.
    void PlayCardAt(const std::function<int(CPlayerHand&)>& slotOf);
    void ShowCardAt(const std::function<int(CPlayerHand&)>& slotOf);
    bool InputBlocked();
    bool FrameAndView() const;
    void LeaveStep();
    int ScaledMs(int ms) const;

    IFlowPlatform& m_platform;
    IGameConn& m_conn;
    IMessageSink* m_pViewSink;
    IFrameUi& m_frame;
    IViewUi& m_view;
    GameFlowOptions m_options;

    CGameBiddingHost m_biddingHost;
    std::unique_ptr<CBidPanelCore> m_bidPanel;
    std::unique_ptr<CSeatPanel> m_seatPanel;
    bool m_bShowButton = false;
    bool m_bShowButtonEnabled = false;
    RecordPtr m_pending;
    bool m_bUnsaved = false; // m_pending was built here and not saved yet
    int m_nCardsPlayed = 0;
    int m_nProbes = 0; // idle probes sent by WaitSynchro, for the trace
    std::function<void()> m_lostHook;
    int m_nScoreShownDeal = -1; // deal number for which the score sheet was last shown
    int m_nAskedUser = -1;
    std::vector<uint32_t> m_askMarks;
    uint32_t m_dwAskedTick = 0;
    int m_nKeptAskUser = -1;
    int m_nKeptAskTries = 0;
    uint32_t m_dwKeptAskTick = 0;
    bool m_bDealAwaitsAnswer = false;
    std::function<void()> m_snapshotHook;
    int m_nDepth = 0;
    int m_nStepDepth = 0; // a step or a card click is running
    int m_nMarkSlot = -1; // the keyboard's mark on the own hand
    std::vector<std::pair<int, intptr_t>> m_deferredSteps;
    std::vector<std::unique_ptr<CBidPanelCore>> m_retiredBidPanels;
    std::vector<std::unique_ptr<CSeatPanel>> m_retiredSeatPanels;
};
