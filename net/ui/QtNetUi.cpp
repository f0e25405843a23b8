#include "net/ui/QtNetUi.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>
#include <cstdio>

#include "net/ui/SelectComputerDlg.h"
#include "net/ui/WelcomeDlg.h"
#include "platform/qt/PumpMessages.h"
#include "platform/qt/SettingsStore.h"
#include "platform/qt/Translations.h"

namespace {

// Runs `work` on the GUI thread and waits for it. False when there is no
// application to run it.
template <class Work> bool OnGuiThread(Work&& work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return false;
    if (QThread::currentThread() == app->thread()) {
        work();
        return true;
    }
    return QMetaObject::invokeMethod(app, std::forward<Work>(work), Qt::BlockingQueuedConnection);
}

} // namespace

CQtNetUi::CQtNetUi(CSettingsStore* store) : m_store(store) {}

CQtNetUi::~CQtNetUi() = default;

bool CQtNetUi::WelcomeDialog(std::string& name, int& connType) {
    bool ok = false;
    OnGuiThread([&] {
        CSettingsStore userStore;
        CWelcomeDlg dlg(m_store != nullptr ? *m_store : userStore, QApplication::activeWindow());
        // Asked again after a failed connection: the name played under so far
        // (the one given on the command line) stays.
        if (!name.empty()) dlg.SetChoices(name, connType);
        if (dlg.exec() != QDialog::Accepted) return;
        // Stores the choices; the library wants the name as typed and makes
        // "Player" of an empty one itself.
        std::string played;
        dlg.TakeChoices(played, connType);
        name = dlg.Name();
        ok = true;
    });
    return ok;
}

bool CQtNetUi::SelectComputer(const std::function<void()>& broadcast, uint32_t& address) {
    bool ok = false;
    OnGuiThread([&] {
        CSelectComputerDlg dlg(broadcast, QApplication::activeWindow());
        {
            std::lock_guard<std::mutex> lock(m_dialogLock);
            m_dialog = &dlg;
        }
        const int result = dlg.exec();
        {
            std::lock_guard<std::mutex> lock(m_dialogLock);
            m_dialog = nullptr;
        }
        if (result != QDialog::Accepted) return;
        address = dlg.Address();
        ok = true;
    });
    return ok;
}

void CQtNetUi::AddAnswer(const DiscoveryAnswer& answer) {
    std::lock_guard<std::mutex> lock(m_dialogLock);
    if (m_dialog != nullptr) m_dialog->PostAnswer(answer);
}

void CQtNetUi::MessageBox(const std::string& text) {
    const bool shown = OnGuiThread([&] {
        QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kMessageTitle),
                        QString::fromStdString(text), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    });
    if (!shown) std::fprintf(stderr, "%s\n", text.c_str());
}

void CQtNetUi::PumpMessages() {
    ::PumpMessages();
}

std::string CQtNetUi::Text(const char* text) {
    return TranslatedTextUtf8(text);
}
