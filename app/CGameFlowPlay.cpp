// The game flow's input, chat and referee lines, the end of a deal and of a
// game, AutoPlay, and the game records.
#include <cstdio>
#include <cstring>

#include "ai/GameCommands.h"
#include "app/CBidPanelCore.h"
#include "app/CGameFlow.h"
#include "app/CReplaySnapshots.h"
#include "app/IFlowPlatform.h"
#include "app/IFrameUi.h"
#include "app/IGameConn.h"
#include "app/IViewUi.h"
#include "app/NetCommands.h"
#include "app/RefereeLine.h"
#include "net/UsersList.h"
#include "platform/Trace.h"
#include "record/CBerWalker.h"
#include "record/CRecordReader.h"
#include "record/GameRecord.h"
#include "record/RecordEscape.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/GameState.h"
#include "rules/ViewUtil.h"
#include "storage/SavedGameFile.h"

namespace {

std::string UserName(int user) {
    if (user < 0 || user >= kMaxUsers) return {};
    const char* name = g_UsersList[user].name;
    return std::string(name, strnlen(name, sizeof g_UsersList[user].name));
}

std::string OneByte(int value) {
    return std::string(1, static_cast<char>(value));
}

} // namespace

// ---- player input ------------------------------------------------------------------

bool CGameFlow::InputBlocked() {
    if (!g_bOverlay) return false;
    RemoveOverlay();
    return true;
}

void CGameFlow::OnLeftButtonDown(int x, int y) {
    PlayCardAt([x, y](CPlayerHand& hand) { return hand.HitSlot(x, y); });
}

void CGameFlow::PlayCardAt(const std::function<int(CPlayerHand&)>& slotOf) {
    if (InputBlocked()) return;
    if (!g_bSeated || g_bAutoPlay || g_bClickBusy) return;
    if (m_bShowButton) {
        ShowCardAt(slotOf);
        return;
    }
    if (m_bidPanel || g_contract.turn != 0) return;
    g_bClickBusy = 1;
    ++m_nStepDepth;
    EnterHandler();
    CPlayerHand* hand = g_pHand[0];
    if (WaitSynchro(10, false) == 1 && hand && g_pTable) {
        const int slot = slotOf(*hand);
        CCard* card = slot >= 0 ? hand->CardAt(slot) : nullptr;
        const char* reason = nullptr;
        if (card && g_pTable->IsLegalCard(hand, slot, &reason)) {
            const int code = card->m_nCode;
            // The table may have moved on while we waited: send only while it is still
            // our turn and the card still in the hand.
            if (WaitSynchro(10, true) == 1 && g_contract.turn == 0 && hand->FindSlot(code) >= 0)
                m_conn.BroadcastCmd(-1, CMD_PLAY_CARD, OneByte(code + 1).c_str(), -1);
        } else if (card) {
            RefuseCard(slot, reason ? reason : "");
        }
    }
    g_bClickBusy = 0;
    LeaveHandler();
    LeaveStep();
}

void CGameFlow::RefuseCard(int slot, const char* reason) {
    CPlayerHand* hand = g_pHand[0];
    CCard* card = hand ? hand->CardAt(slot) : nullptr;
    const std::string why = reason;
    if (card) {
        const int mode = card->m_nDrawMode;
        card->m_nDrawMode = kDrawHighlight;
        card->Draw(false);
        card->m_nDrawMode = mode;
    }
    PumpMessages();
    m_platform.Beep(kBeepDefault);
    if (g_pHand[0]) g_pHand[0]->Redraw(false);
    Wait(200, false);
    char text[160];
    std::snprintf(text, sizeof text, m_platform.Text(kStatusPlayA).c_str(),
                  m_platform.Text(why.c_str()).c_str());
    SetStatus(text);
    InvalidateView();
    PumpMessages();
}

void CGameFlow::OnRightButtonDown(int x, int y) {
    ShowCardAt([x, y](CPlayerHand& hand) { return hand.HitSlot(x, y); });
}

void CGameFlow::ShowCardAt(const std::function<int(CPlayerHand&)>& slotOf) {
    if (InputBlocked()) return;
    if (!g_bSeated || g_bAutoPlay || m_bidPanel || g_contract.turn != 0) return;
    CPlayerHand* hand = g_pHand[0];
    if (!hand || hand->CanShowNow() != 1) return;
    const int slot = slotOf(*hand);
    CCard* card = slot >= 0 ? hand->CardAt(slot) : nullptr;
    if (card) m_conn.BroadcastCmd(-1, CMD_SHOW_CARDS, OneByte(card->m_nCode + 1).c_str(), -1);
}

int CGameFlow::MarkedSlot() const {
    const CPlayerHand* hand = g_pHand[0];
    if (!hand || m_nMarkSlot < 0 || m_nMarkSlot >= kPileSlots) return -1;
    if (hand->CardAt(m_nMarkSlot)) return m_nMarkSlot;
    // The marked card is gone: its right neighbour, else its left one.
    for (int slot = m_nMarkSlot + 1; slot < kPileSlots; ++slot)
        if (hand->CardAt(slot)) return slot;
    for (int slot = m_nMarkSlot - 1; slot >= 0; --slot)
        if (hand->CardAt(slot)) return slot;
    return -1;
}

void CGameFlow::MoveHandMark(int direction) {
    if (InputBlocked()) return;
    const CPlayerHand* hand = g_pHand[0];
    if (!hand || direction == 0) return;
    const int step = direction > 0 ? 1 : -1;
    const int marked = MarkedSlot();
    // Without a mark the first move marks the card at that end of the row.
    int slot = marked >= 0 ? marked + step : (step > 0 ? 0 : kPileSlots - 1);
    for (; slot >= 0 && slot < kPileSlots; slot += step)
        if (hand->CardAt(slot)) {
            m_nMarkSlot = slot;
            break;
        }
    InvalidateView();
}

void CGameFlow::PlayMarkedCard() {
    const int marked = MarkedSlot();
    if (marked < 0) {
        InputBlocked();
        return;
    }
    m_nMarkSlot = marked;
    PlayCardAt([marked](CPlayerHand&) { return marked; });
}

void CGameFlow::ShowMarkedCard() {
    const int marked = MarkedSlot();
    if (marked < 0) {
        InputBlocked();
        return;
    }
    m_nMarkSlot = marked;
    ShowCardAt([marked](CPlayerHand&) { return marked; });
}

void CGameFlow::OnLeftDoubleClick(int, int) {
    if (InputBlocked()) return;
    if (!g_bSeated || g_bAutoPlay || m_bidPanel || g_contract.turn != 0) return;
    if (g_declare[0].value == 0 || g_declare[0].announced) return;
    if (!g_pTable || g_pTable->HasLastTrick()) return;
    m_conn.BroadcastCmd(-1, CMD_DECLARE, g_szEmpty, -1);
}

void CGameFlow::OnShowButton() {
    const int turn = g_contract.turn;
    if (turn < 0 || turn > 3) return;
    m_conn.BroadcastCmd(-1, CMD_SHOW_DONE, g_szEmpty, static_cast<int16_t>(UserAtPlace(turn)));
}

void CGameFlow::ToggleAutoPlay() {
    if (!g_bSeated) return;
    g_bAutoPlay = g_bAutoPlay ? 0 : 1;
    if (!g_bAutoPlay && !HandlesComputerPartner()) g_bComputerSearch = 0;
    m_conn.BroadcastCmd(-1, CMD_AUTOPLAY, OneByte(g_bAutoPlay + 1).c_str(), -1);
    if (g_nBidder >= 0 && g_nBidder < 4 && IsPlaceAutoPlayed(g_nBidder))
        PostStep(STEP_AUTO_BID, 0);
    else
        PostAutoCardIfNeeded();
}

// ---- chat and referee --------------------------------------------------------------

void CGameFlow::ShowChatLine(int from, const std::string& text) {
    const uint32_t now = m_platform.Tick();
    std::string line;
    if (from < 0 || from == 0xFFFF) {
        line = text;
    } else {
        line = UserName(from) + ">" + text;
        if (static_cast<uint32_t>(now - g_dwLastChatTime) > kChatBeepGap)
            m_platform.Beep(kBeepDefault);
    }
    m_frame.AddChatListLine(line);
    g_dwLastChatTime = now;
}

void CGameFlow::ShowRefereeOrderLine() {
    std::string names[4];
    bool announced[4];
    int values[4];
    for (int p = 0; p < 4; ++p) {
        const uint16_t user = UserAtPlace(p);
        names[p] = user == kNoUser ? std::string() : UserName(user);
        announced[p] = g_declare[p].announced != 0;
        values[p] = g_declare[p].value;
    }
    ShowChatLine(-1, BuildRefereeOrderLine(names, announced, values));
}

// ---- the end of a deal and of a game -----------------------------------------------

void CGameFlow::PostAutoCardIfNeeded() {
    const int turn = g_contract.turn;
    if (turn >= 0 && turn < 4 && IsPlaceAutoPlayed(turn)) PostStep(STEP_AUTO_CARD, 0);
}

void CGameFlow::AfterCardPlayed() {
    if (!FrameAndView() || !g_pTable) return;
    if (g_pTable->Count() >= 32) {
        EndOfDeal();
        return;
    }
    UpdateStatus();
    PostAutoCardIfNeeded();
}

void CGameFlow::EndOfDeal() {
    g_pTable->ScoreDeal();
    ++g_nDeals;
    if (g_score[0] > 300 || g_score[1] > 300) {
        GameOver();
        return;
    }
    const int next = NextPlace(g_nDealer);
    if (IsPlaceHandledHere(next)) {
        g_nDealer = next;
        PostStep(STEP_ANNOUNCE_DEAL, UserAtPlace(next));
    }
}

void CGameFlow::GameOver() {
    // A program that only runs computer partners announces the end as well, so
    // that the partners leaving with it afterwards do not stop the others' game.
    const bool announce = g_bSeated != 0 || HandlesComputerPartner();
    Trace("game-over %d %d", g_score[0], g_score[1]);
    Trace("probes %d", TakeProbeCount());
    g_bSeated = g_bGameRunning = 0;
    g_bAutoPlay = 0;
    for (int user = 0; user < kMaxUsers; ++user) {
        USERINFO& e = g_UsersList[user];
        if (e.name[0] != 0 && e.owner == user) e.state = 0;
    }
    if (announce) m_conn.SetPlaceState(static_cast<int16_t>(kGameOverState), -1);
    RefreshComputerFlags();
    PostStep(STEP_CHECK_TABLE, 0);
}

// ---- game records ------------------------------------------------------------------

RecordPtr CGameFlow::BuildStateRecord(int chatLines, bool withPending) const {
    std::vector<std::string> lines = m_frame.ChatListLines();
    if (chatLines < 0) chatLines = 0;
    if (lines.size() > static_cast<size_t>(chatLines))
        lines.erase(lines.begin(), lines.end() - chatLines);
    RecordPtr extras = PutPendingGame(withPending ? m_pending.get() : nullptr, nullptr);
    extras = PutChatLines(lines, std::move(extras));
    return BuildGameRecord(std::move(extras));
}

std::string CGameFlow::BuildStateReplyText() const {
    // A reply must fit the receiver's payload buffer: drop chat lines, oldest
    // first, then the pending game, before giving up.
    for (int withPending = 1; withPending >= 0; --withPending) {
        if (!withPending && !m_pending) break;
        for (int lines = kStateChatLines; lines >= 0; --lines) {
            RecordPtr record = BuildStateRecord(lines, withPending != 0);
            if (!record) continue;
            std::string text;
            if (EscapeRecord(record->Bytes(), text) && text.size() < kPayloadBuffer) return text;
        }
    }
    return {};
}

void CGameFlow::ApplyGameRecord(std::span<const uint8_t> record, bool replay) {
    if (replay) ClearTable();
    ResetContract();
    g_bRestoring = 1;
    g_nDealer = -1;
    g_nBidRule = 0;
    g_nBidder = -1;
    g_nDeals = 0;
    g_score[0] = g_score[1] = 0;
    if (ApplyRecord(record) >= 0 && g_pTable) g_pTable->ShowCurrentTrick();
    RefreshTable();
    g_bRestoring = 0;
    RefreshComputerFlags();
    if (g_nBidder >= 0 && g_nBidder < 4 && IsPlaceAutoPlayed(g_nBidder))
        PostStep(STEP_AUTO_BID, 0);
    else
        PostAutoCardIfNeeded();
}

void CGameFlow::KeepRunningGame() {
    m_pending = BuildGameRecord(nullptr);
    m_bUnsaved = m_pending != nullptr;
}

namespace {

// Walks a record without applying it: only its shape is checked.
class CShapeCheck : public CBerWalker {
protected:
    void ApplyElement(uint8_t, const uint8_t*, size_t) override {}
};

// One outer SEQUENCE that takes exactly the bytes given.
bool WellFormedRecord(std::span<const uint8_t> bytes) {
    if (bytes.empty() || bytes[0] != 0x30) return false;
    CShapeCheck check;
    return check.Walk(bytes) == static_cast<int>(bytes.size());
}

} // namespace

int CGameFlow::SaveGameFile(const std::string& path, std::string* failure) {
    // A held record is written unchanged; otherwise the running game is built
    // just for this save.
    RecordPtr built;
    const CRecordBuffer* record = m_pending.get();
    if (!record) {
        built = BuildGameRecord(nullptr);
        record = built.get();
    }
    std::string why;
    if (!record) {
        why = "there is no game to save";
    } else {
        int error = 0;
        const FileResult result = WriteSavedGame(path, record->Bytes(), &error);
        if (result != FileResult::Ok) why = SaveFailureText(path, result, error);
    }
    if (!why.empty()) {
        // Only a file that holds every byte counts as saved; the player hears
        // the beep and reads why on the status line.
        m_platform.Beep(kBeepSimple);
        SetStatus(kStatusNotSaved + why);
        Trace("save-failed");
        if (failure) *failure = why;
        return 0;
    }
    m_bUnsaved = false;
    Trace("saved %u", static_cast<unsigned>(record->Length()));
    return 1;
}

bool CGameFlow::LoadGameFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    RecordPtr record;
    if (ReadSavedGame(path, bytes) == FileResult::Ok && WellFormedRecord(bytes))
        record = CRecordBuffer::FromBytes(bytes);
    if (!record) {
        m_platform.Beep(kBeepSimple);
        Trace("load-refused");
        return false;
    }
    m_pending = std::move(record);
    m_bUnsaved = false;
    Trace("loaded %zu", bytes.size());
    return true;
}

void CGameFlow::OnConnectionLost() {
    Trace("dealer-lost");
    RemoveShowButton();
    CloseBiddingPanel();
    CloseSeatPanel();
    g_bSeated = g_bGameRunning = 0;
    g_bAutoPlay = 0;
    g_bComputerSearch = 0;
    m_nAskedUser = -1;
    m_nKeptAskUser = -1;
    m_bDealAwaitsAnswer = false;
    ShowChatLine(-1, kConnectionLostLine);
    SetStatus(m_platform.Text(kConnectionLostLine));
    if (m_lostHook) m_lostHook();
}

void CGameFlow::RejoinTable() {
    CloseSeatPanel();
    g_bStateAsked = g_bStateDone = 0;
    SetStatus({});
    Trace("connected");
    PostStep(STEP_CHECK_TABLE, 0);
}

bool CGameFlow::SaveBidding(std::vector<uint8_t>& out) {
    if (!m_bidPanel) return false;
    out = m_bidPanel->Save();
    return true;
}

void CGameFlow::RestoreBidding(std::span<const uint8_t> state) {
    if (m_bidPanel || m_seatPanel || m_bShowButton) return;
    PumpMessages();
    if (m_bidPanel || m_seatPanel || m_bShowButton || !FrameAndView()) return;
    RemoveOverlay();
    m_bidPanel = std::make_unique<CBidPanelCore>(
        m_biddingHost, *this, *this, m_options.threadedBidding, [this] { CloseBiddingPanel(); });
    CBidPanelCore* panel = m_bidPanel.get();
    m_view.ShowBiddingPanel(*panel);
    panel->Restore(state);
    if (m_bidPanel.get() == panel) m_view.UpdateBiddingPanel();
    m_nScoreShownDeal = g_nDeals;
    PumpMessages();
}

void CGameFlow::UpdateShowControl(int place) {
    if (place != 0 || !g_bSeated || !g_pHand[0]) return;
    if (g_pHand[0]->m_nSelCount > 0)
        RaiseShowButton(g_pHand[0]->SelectionValue() == 1);
    else
        RemoveShowButton();
}

void CGameFlow::AddChatLine(std::string_view line) {
    ShowChatLine(-1, std::string(line));
}

void CGameFlow::KeepPendingGame(std::span<const uint8_t> record) {
    SetPendingGame(CRecordBuffer::FromBytes(record));
}

void CGameFlow::NotifyBiddingPanel() {
    if (m_bidPanel) m_view.UpdateBiddingPanel();
}

void CGameFlow::RecordReplaySnapshot() {
    if (!g_bReplaying && m_snapshotHook) m_snapshotHook();
}

bool CGameFlow::UndoReplay(CReplaySnapshots& snapshots) {
    if (g_bAutoPlay) ToggleAutoPlay();
    return snapshots.Undo([this](std::span<const uint8_t> r) { ApplyGameRecord(r, true); });
}

bool CGameFlow::RedoReplay(CReplaySnapshots& snapshots) {
    if (!snapshots.Slot(snapshots.Index() + 1)) return false;
    if (g_bAutoPlay) ToggleAutoPlay();
    return snapshots.Redo([this](std::span<const uint8_t> r) { ApplyGameRecord(r, true); });
}
