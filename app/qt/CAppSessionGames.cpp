// The Game menu's saved games and replay, the scripted save and load of the
// command line, and connecting again when the dealer went away.
#include <QApplication>
#include <QFileDialog>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <mutex>

#include "app/CCommandDispatcher.h"
#include "app/CGameFlow.h"
#include "app/CReplaySnapshots.h"
#include "app/qt/CAppSession.h"
#include "app/qt/CMainFrame.h"
#include "net/Conn.h"
#include "platform/Trace.h"
#include "platform/qt/GameFolder.h"
#include "platform/qt/QtMessageSink.h"
#include "platform/qt/SettingsStore.h"
#include "rules/GameState.h"

namespace {

// A table chosen on the command line is joined again this many times, this far apart.
constexpr int kReconnectTries = 60;
constexpr int kReconnectPauseMs = 500;

const char* const kDefaultSuffix = "vsk";

QStringList SavedGameFilters() {
    return {QCoreApplication::translate("CAppSession", "Kavrel Files (*.vsk)"),
            QCoreApplication::translate("CAppSession", "All Files (*)")};
}

int NamedUsers() {
    int count = 0;
    for (int id = 0; id < kMaxUsers; ++id)
        if (g_UsersList[id].name[0] != 0) ++count;
    return count;
}

} // namespace

void CAppSession::SetUpGames() {
    m_snapshots = std::make_unique<CReplaySnapshots>();
    CGameFlow* flow = m_flow.get();
    CReplaySnapshots* snapshots = m_snapshots.get();
    // Chat lines and the pending game stay out of a snapshot: stepping through the
    // deal would otherwise repeat the chat and replace the held record.
    flow->SetSnapshotHook(
        [flow, snapshots] { snapshots->Record(flow->BuildStateRecord(0, false)); });
    flow->SetConnectionLostHook([this] { OnConnectionLost(); });
    if (!m_options.loadFile.empty()) LoadGameFrom(m_options.loadFile);
}

// ---- saved games -------------------------------------------------------------------

int CAppSession::SaveGame() {
    if (!m_flow || !m_frame) return 0;
    QFileDialog dialog(m_frame.get());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromLatin1(kDefaultSuffix));
    dialog.setNameFilters(SavedGameFilters());
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    CSettingsStore store;
    CGameFolder folder(store);
    dialog.setDirectory(folder.StartFolder());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return 0;
    const QString path = dialog.selectedFiles().constFirst();
    folder.Remember(path);
    return SaveGameTo(path.toStdString());
}

void CAppSession::LoadGame() {
    if (!m_flow || !m_frame) return;
    QFileDialog dialog(m_frame.get());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromLatin1(kDefaultSuffix));
    dialog.setNameFilters(SavedGameFilters());
    CSettingsStore store;
    CGameFolder folder(store);
    dialog.setDirectory(folder.StartFolder());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    folder.Remember(path);
    LoadGameFrom(path.toStdString());
}

int CAppSession::SaveGameTo(const std::string& path, std::string* failure) {
    if (!m_flow) return 0;
    std::lock_guard<std::recursive_mutex> lock(CCommandDispatcher::CommandLock());
    return m_flow->SaveGameFile(path, failure);
}

bool CAppSession::LoadGameFrom(const std::string& path) {
    if (!m_flow) return false;
    std::lock_guard<std::recursive_mutex> lock(CCommandDispatcher::CommandLock());
    return m_flow->LoadGameFile(path);
}

void CAppSession::SaveIfScripted() {
    if (m_scriptedSaveDone || m_options.saveAfterCards <= 0 || !m_flow) return;
    if (m_flow->CardsPlayed() < m_options.saveAfterCards) return;
    m_scriptedSaveDone = true;
    std::string failure;
    if (SaveGameTo(m_options.saveFile, &failure) == 1) return;
    // The game goes on; the program ends with status 1 once it is over.
    std::fprintf(stderr, "VeskApp: the game was not saved: %s\n", failure.c_str());
    std::fflush(stderr);
    m_exitCode = 1;
}

bool CAppSession::CanSave() const {
    return m_flow && (g_bGameRunning || m_flow->PendingGame() != nullptr);
}

bool CAppSession::CanLoad() const {
    return m_flow && !g_bGameRunning && NamedUsers() == 1;
}

bool CAppSession::HasUnsavedRecord() const {
    return m_flow && m_flow->HasUnsavedRecord();
}

// ---- replay ------------------------------------------------------------------------

void CAppSession::Undo() {
    if (!m_flow || !m_snapshots || !m_snapshots->CanUndo()) return;
    std::lock_guard<std::recursive_mutex> lock(CCommandDispatcher::CommandLock());
    if (m_flow->UndoReplay(*m_snapshots)) Trace("undo %d", m_snapshots->Index());
}

void CAppSession::Redo() {
    if (!m_flow || !m_snapshots || !m_snapshots->CanRedo()) return;
    std::lock_guard<std::recursive_mutex> lock(CCommandDispatcher::CommandLock());
    if (m_flow->RedoReplay(*m_snapshots)) Trace("redo %d", m_snapshots->Index());
}

bool CAppSession::CanUndo() const {
    return m_snapshots && m_snapshots->CanUndo();
}

bool CAppSession::CanRedo() const {
    return m_snapshots && m_snapshots->CanRedo();
}

// ---- the dealer went away ----------------------------------------------------------

void CAppSession::OnConnectionLost() {
    if (m_finished || m_reconnecting) return;
    m_reconnecting = true;
    m_reconnectTries = 0;
    // Not from inside the dispatcher: the library is taken down and set up again.
    QTimer::singleShot(0, m_frame.get(), [this] { Reconnect(); });
}

void CAppSession::Reconnect() {
    if (m_finished || !m_conn || !m_flow) return;
    {
        std::lock_guard<std::recursive_mutex> lock(CCommandDispatcher::CommandLock());
        m_conn->Done();
        isBusy = 0;
    }
    // A table chosen on the command line is joined again with the same choices;
    // the program then shows no dialogs (its messages go to standard error), so a
    // failed try does not wait on a message box. Otherwise the welcome dialog lets
    // the player start or join another table.
    const bool scripted = m_options.connType >= 0;
    if (scripted)
        m_conn->SetChoices(ConnChoices{m_options.name, m_options.connType, m_options.joinHost});
    const int connected = m_conn->Init(&m_adapter);
    if (m_finished) return;
    if (connected) {
        m_reconnecting = false;
        m_flow->RejoinTable();
        if (scripted) QTimer::singleShot(0, m_frame.get(), [this] { RunCommandLineChoices(); });
        return;
    }
    if (scripted && ++m_reconnectTries < kReconnectTries) {
        QTimer::singleShot(kReconnectPauseMs, m_frame.get(), [this] { Reconnect(); });
        return;
    }
    Trace("no-table");
    if (scripted) {
        // A script's table is gone for good: end as when the start-up connection fails.
        m_exitCode = 1;
        QApplication::exit(1);
    }
    // The player cancelled the welcome dialog: the program stays open without a
    // table, so that a kept game can still be saved before the window is closed.
    m_reconnecting = false;
}
