#include "app/CExitGuard.h"

#include "net/UsersList.h"
#include "rules/GameState.h"

bool CExitGuard::MayClose(const ExitSituation& situation) {
    const bool dealerWithOthers = situation.dealer && situation.humans >= 2;
    if (situation.gameInProgress || dealerWithOthers) {
        if (m_questions.AskQuit() != IExitQuestions::kYes) return false;
        if (dealerWithOthers) {
            // The dealer keeps the table's server: only No ends the asking, and
            // the window stays open either way.
            while (m_questions.AskQuit() == IExitQuestions::kYes) {
            }
            return false;
        }
    }
    if (situation.humans == 1 && situation.unsavedRecord) {
        switch (m_questions.AskSave()) {
        case IExitQuestions::kCancel:
            return false;
        case IExitQuestions::kYes:
            if (!m_save || m_save() == 0) return false;
            break;
        case IExitQuestions::kNo:
            break;
        }
    }
    return true;
}

int CExitGuard::CountHumans(const USERINFO* list, int count) {
    int humans = 0;
    for (int i = 0; i < count; ++i)
        if (list[i].name[0] != 0 && list[i].owner == i) ++humans;
    return humans;
}

ExitSituation CExitGuard::Current(bool dealer, bool unsavedRecord) {
    ExitSituation s;
    s.humans = CountHumans(g_UsersList, kMaxUsers);
    s.gameInProgress = g_bSeated && g_bGameRunning;
    s.dealer = dealer;
    s.unsavedRecord = unsavedRecord;
    return s;
}
