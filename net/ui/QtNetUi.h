// What the network library shows to the player, with Qt: the welcome and
// Select Computer dialogs, message boxes, and the pumping of the GUI thread.
#pragma once

#include <mutex>

#include "net/NetUi.h"
#include "net/ui/NetDialogs.h"

class CSelectComputerDlg;
class CSettingsStore;

class VESKDLLUI_API CQtNetUi : public INetUi {
public:
    // The settings store of the welcome dialog; nullptr: the per-user store.
    explicit CQtNetUi(CSettingsStore* store = nullptr);
    ~CQtNetUi() override;

    // The dialogs and the message box run on the GUI thread; called from
    // another thread they are handed over to it and waited for.
    bool WelcomeDialog(std::string& name, int& connType) override;
    bool SelectComputer(const std::function<void()>& broadcast, uint32_t& address) override;
    void AddAnswer(const DiscoveryAnswer& answer) override;
    void MessageBox(const std::string& text) override;
    void PumpMessages() override;
    std::string Text(const char* text) override;

    static constexpr const char* kMessageTitle = "Vesk";

private:
    CSettingsStore* m_store;
    std::mutex m_dialogLock; // guards m_dialog against the listener thread
    CSelectComputerDlg* m_dialog = nullptr;
};
