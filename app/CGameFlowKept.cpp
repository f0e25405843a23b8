// The game kept when a started player (or the dealer) went away, and how it
// reaches every program of the table again: the program that the others ask
// for the running game asks back each asker while it holds no kept game, takes
// the kept game from the answer, and holds the deal of a fresh game until its
// questions are answered, so that a new dealer never deals over a kept game.
#include <span>
#include <vector>

#include "ai/GameCommands.h"
#include "app/CGameFlow.h"
#include "app/IFlowPlatform.h"
#include "app/IGameConn.h"
#include "app/NetCommands.h"
#include "net/UsersList.h"
#include "platform/Trace.h"
#include "record/CBerWalker.h"
#include "record/RecordFormat.h"
#include "rules/Cards.h"
#include "rules/GameState.h"
#include "rules/ViewUtil.h"

namespace {

// Finds the kept game (kind 19) in a state record without applying anything else.
class CKeptGameFinder : public CBerWalker {
public:
    std::vector<uint8_t> kept;

protected:
    void ApplyElement(uint8_t tag, const uint8_t* content, size_t length) override {
        if (tag == kTagKind) {
            m_kind = length > 0 ? content[length - 1] : 0;
        } else if (tag == kTagBitString && m_kind == kKindPendingGame && kept.empty()) {
            kept.assign(content, content + length);
        }
    }

private:
    int m_kind = 0;
};

// Questions for a kept game are asked this often before the program gives up.
constexpr int kKeptGameTries = 5;

} // namespace

bool CGameFlow::TableRunsAGame() {
    int started = 0;
    for (const USERINFO& e : g_UsersList)
        if (e.name[0] != 0 && (e.state & kStartedBit) != 0) ++started;
    return started >= 4;
}

void CGameFlow::TakeStateReplyPending(RecordPtr own, bool ownUnsaved) {
    // The table's kept game, when the answer carried one, replaces ours: every
    // program must resume the same game. An answer without one keeps ours
    // while no game runs: the table may have lost the program that kept it.
    if (m_pending || !own || TableRunsAGame()) return;
    m_pending = std::move(own);
    m_bUnsaved = ownUnsaved;
}

RecordPtr CGameFlow::ReleasePendingGame(bool* unsaved) {
    if (unsaved) *unsaved = m_bUnsaved;
    m_bUnsaved = false;
    return std::move(m_pending);
}

void CGameFlow::AskBackForKeptGame(int user) {
    if (m_pending || g_bGameRunning || !g_bStateDone || m_nKeptAskUser >= 0) return;
    // The user we asked ourselves has told us its game already.
    if (user < 0 || user >= kMaxUsers || user == OwnUserId() || user == m_nAskedUser) return;
    const USERINFO& e = g_UsersList[user];
    if (e.name[0] == 0 || e.owner != user) return;
    m_nKeptAskUser = user;
    m_nKeptAskTries = 1;
    m_dwKeptAskTick = m_platform.Tick();
    Trace("kept-game-request %d", user);
    m_conn.BroadcastCmd(static_cast<int16_t>(user), CMD_STATE_REQUEST, g_szEmpty, -1);
}

void CGameFlow::TakeKeptGameAnswer(std::span<const uint8_t> record) {
    m_nKeptAskUser = -1;
    CKeptGameFinder finder;
    // Taken while no game runs, or while the four started seats wait for it.
    const bool wanted = !m_pending && (!g_bGameRunning || m_bDealAwaitsAnswer);
    if (wanted && !record.empty() && finder.Walk(record) > 0 && !finder.kept.empty()) {
        SetPendingGame(CRecordBuffer::FromBytes(finder.kept));
        Trace("kept-game %zu", finder.kept.size());
    }
    DealAfterKeptGameAnswer();
}

void CGameFlow::RepeatKeptGameRequest() {
    if (m_nKeptAskUser < 0) return;
    const uint32_t now = m_platform.Tick();
    if (static_cast<uint32_t>(now - m_dwKeptAskTick) < kStateRetryMs) return;
    const int user = m_nKeptAskUser;
    const bool stillThere = g_UsersList[user].name[0] != 0 && g_UsersList[user].owner == user;
    if (!stillThere || m_nKeptAskTries >= kKeptGameTries || m_pending) {
        m_nKeptAskUser = -1;
        DealAfterKeptGameAnswer();
        return;
    }
    ++m_nKeptAskTries;
    m_dwKeptAskTick = now;
    Trace("kept-game-request %d again", user);
    m_conn.BroadcastCmd(static_cast<int16_t>(user), CMD_STATE_REQUEST, g_szEmpty, -1);
}

void CGameFlow::DealAfterKeptGameAnswer() {
    if (!m_bDealAwaitsAnswer || m_nKeptAskUser >= 0) return;
    m_bDealAwaitsAnswer = false;
    if (!g_bGameRunning || !FrameAndView()) return;
    if (m_pending) {
        ResumePendingGame();
        return;
    }
    if (IsPlaceHandledHere(g_nDealer)) PostStep(STEP_ANNOUNCE_DEAL, UserAtPlace(g_nDealer));
}
