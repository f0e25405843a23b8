// What the network library shows when nobody can see a window: the program runs
// headless, or its table was chosen on the command line and a script waits for
// it. Each message box becomes one line on standard error (the same message
// again, as tries repeat, is not printed twice in a row) and every dialog counts
// as cancelled, so that a failure ends the start instead of waiting for a click.
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "net/NetUi.h"

class VESKDLL_API CConsoleNetUi : public INetUi {
public:
    // `pump` dispatches the program thread's pending messages (may be empty).
    explicit CConsoleNetUi(std::function<void()> pump);

    bool WelcomeDialog(std::string& name, int& connType) override;
    bool SelectComputer(const std::function<void()>& broadcast, uint32_t& address) override;
    void AddAnswer(const DiscoveryAnswer& answer) override;
    void MessageBox(const std::string& text) override;
    void PumpMessages() override;

    // The message as printed: "VeskApp: " and the text with its line breaks
    // turned into spaces.
    static std::string OneLine(const std::string& text);

    static constexpr const char* kNoWelcomeDialog =
        "no window for the welcome dialog: choose the table with --deal or --join HOST";

private:
    // Says once that there is no window for a dialog, unless a failure said more.
    void SayNoDialog();

    std::function<void()> m_pump;
    std::mutex m_lock;
    std::string m_last;
};
