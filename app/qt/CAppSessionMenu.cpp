// The main window's menu as the running program answers it.
#include "ai/CAutoPartnerMenu.h"
#include "app/CFeedbackMail.h"
#include "app/CGameFlow.h"
#include "app/qt/CAboutDialog.h"
#include "app/qt/CAppSession.h"
#include "app/qt/CMainFrame.h"
#include "app/qt/CMainMenu.h"
#include "app/qt/CRulesDialog.h"
#include "app/qt/CStatusPanes.h"
#include "app/qt/CVeskView.h"
#include "display/CardBackDialog.h"
#include "display/LastTrickDialog.h"
#include "display/TableWidget.h"
#include "net/Conn.h"
#include "platform/Tick.h"
#include "platform/cards/CardRenderer.h"
#include "platform/cards/DeckCatalogue.h"
#include "platform/cards/SvgDeck.h"
#include "platform/qt/FairPartnersSetting.h"
#include "platform/qt/SettingsStore.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/GameState.h"

namespace {

bool HasLastTrick() {
    return g_pTable && g_pTable->HasLastTrick();
}

} // namespace

void CAppSession::WireMenu() {
    using namespace menuid;
    CMainMenu& menu = m_frame->Menu();
    menu.SetCommand(kScore, {[this] { ToggleScoreSheet(); }, {}, {}});
    menu.SetCommand(kScoreKey, {[this] { ToggleScoreSheet(); }, {}, {}});
    menu.SetCommand(kLastTrick, {[this] { ShowLastTrick(); }, HasLastTrick, {}});
    menu.SetCommand(kLastTrickKey, {[this] { ShowLastTrick(); }, HasLastTrick, {}});
    menu.SetCommand(kAutoPlay,
                    {[this] { m_flow->ToggleAutoPlay(); },
                     [] { return g_bSeated && g_bGameRunning; }, [] { return g_bAutoPlay != 0; }});
    menu.SetCommand(kDeck, {[this] { ChooseDeck(); }, {}, {}});
    menu.SetCommand(kExit, {[this] { m_frame->close(); }, {}, {}});
    menu.SetCommand(kAbout, {[this] { ShowAbout(); }, {}, {}});
    menu.SetCommand(kRules, {[this] { ShowRules(); }, {}, {}});
    for (int seat = 1; seat <= CAutoPartnerMenu::kSeats; ++seat) {
        CAutoPartnerMenu* partners = m_autoPartner.get();
        menu.SetCommand(
            kAutoPartner1 + seat - 1,
            {[partners, seat] { partners->Choose(seat); },
             [partners, seat] { return partners->IsEnabled(seat, UserOfSeat(seat) == kNoUser); },
             [partners, seat] { return partners->IsChecked(seat); }});
    }
    menu.SetCommand(kFairPartners, {[] {
                                        CAutoPartnerMenu::ChooseFair();
                                        CSettingsStore store;
                                        WriteFairPartnersSetting(store,
                                                                 CAutoPartnerMenu::IsFairChecked());
                                    },
                                    {},
                                    [] { return CAutoPartnerMenu::IsFairChecked(); }});
    menu.SetCommand(kSave, {[this] { SaveGame(); }, [this] { return CanSave(); }, {}});
    menu.SetCommand(kLoad, {[this] { LoadGame(); }, [this] { return CanLoad(); }, {}});
    menu.SetCommand(kUndo, {[this] { Undo(); }, [this] { return CanUndo(); }, {}});
    menu.SetCommand(kRedo, {[this] { Redo(); }, [this] { return CanRedo(); }, {}});
    m_frame->SetSaveSlot([this] { return SaveGame(); });
    m_frame->SetUnsavedRecordSlot([this] { return HasUnsavedRecord(); });
    m_frame->SetDealerSlot([] { return g_pConn && g_pConn->IcantExit(); });
    m_frame->StatusPanes().onClock = [this] { BlinkTurnMarker(); };
    menu.UpdateItems();
}

void CAppSession::BlinkTurnMarker() {
    if (!g_pView || g_bOverlay || m_finished) return;
    const int place = g_nMarkerPlace;
    if (place < 0 || place > 3 || !g_pHand[place]) return;
    // A panel over the table has the player's attention; the marker waits.
    const QWidget* child = m_frame->View().Table().ActiveChild();
    if (child && child->isVisible()) return;
    if (static_cast<int32_t>(GetTickCount() - g_dwNextBlink) < 0) return;
    g_pHand[place]->DrawLabel(true, true);
}

void CAppSession::ToggleScoreSheet() {
    // A second request takes the sheet away again, as any key does.
    if (g_bOverlay)
        m_flow->RemoveOverlay();
    else
        m_frame->View().ShowScoreSheet();
}

void CAppSession::ShowLastTrick() {
    int cards[4];
    if (!g_pTable || !g_pTable->LastTrickCards(cards)) return;
    CLastTrickDialog::ShowLastTrick(cards, m_frame.get());
}

void CAppSession::ChooseDeck() {
    CCardBackDialog dialog(g_nCardBack, m_frame.get(), CDeckCatalogue::Find(), m_faces);
    const int back = dialog.exec();
    if (back == CCardBackDialog::kCancelled || m_finished) return;
    g_nCardBack = back;
    UseFaces(dialog.SelectedFaces());
    m_flow->RefreshTable();
}

void CAppSession::UseFaces(const QString& file) {
    m_faces = file;
    CCardRenderer::SetFaceDeck(file.isEmpty() ? nullptr : CSvgDeck::Load(file));
}

void CAppSession::ShowRules() {
    // One handbook window, brought to the front when it is open already.
    if (!m_rules) {
        m_rules = new CRulesDialog(m_frame.get());
        m_rules->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_rules->show();
    m_rules->raise();
    m_rules->activateWindow();
}

void CAppSession::ShowAbout() {
    const CFeedbackMail mail = CAboutDialog::DesktopMail();
    CAboutDialog dialog(mail, m_frame.get());
    dialog.exec();
}
