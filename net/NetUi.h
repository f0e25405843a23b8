// What the network library shows to the player: the welcome dialog, the
// Select Computer dialog, message boxes and beeps. The core library is Qt-free;
// the Qt dialogs (net/ui) install themselves with SetNetUi. Without an
// installed UI the library runs headless: message boxes go to standard error
// and the dialogs are cancelled, so only choices given with
// CConn::SetChoices can connect.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "net/VeskDllApi.h"

// One dealer's answer to a discovery request, as the Select Computer dialog lists it.
struct DiscoveryAnswer {
    uint32_t address = 0; // IPv4, network byte order
    std::string host;     // the dealer computer's name (at most 40 characters)
    bool active = false;  // four players have started: the game is running
    std::vector<std::pair<std::string, bool>> users; // name, has a seat
};

class INetUi {
public:
    virtual ~INetUi() = default;

    // The welcome dialog, modal. Pre-fills itself with `name` and `connType`
    // when `name` is not empty (asked again after a failed connection), else
    // from the stored choices; stores the confirmed ones. Returns false on
    // Cancel; on OK `name` is the name as typed (the caller turns an empty name
    // into "Player").
    virtual bool WelcomeDialog(std::string& name, int& connType) = 0;

    // The Select Computer dialog, modal. `broadcast` sends one discovery
    // request; the dialog calls it when it opens and once a second. Answers
    // arrive through AddAnswer. Returns false on Cancel, else sets `address`
    // (network byte order) to the chosen dealer.
    virtual bool SelectComputer(const std::function<void()>& broadcast, uint32_t& address) = 0;

    // Called from the discovery listener thread; ignored unless the dialog is open.
    virtual void AddAnswer(const DiscoveryAnswer& answer) = 0;

    // A message box with an OK button, modal.
    virtual void MessageBox(const std::string& text) = 0;

    // Dispatches the calling thread's pending window messages (used by the
    // library's waits on the program's thread).
    virtual void PumpMessages() = 0;

    // The wording the player reads for a text marked with VESK_TRANSLATE_NOOP
    // (UTF-8); without a translation the text itself. Any thread.
    virtual std::string Text(const char* text) { return text; }
};

// Installs the UI (nullptr: headless). The library does not take ownership.
VESKDLL_API void SetNetUi(INetUi* ui);
VESKDLL_API INetUi* GetNetUi();
