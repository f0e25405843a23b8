#include "net/ConsoleNetUi.h"

#include <cstdio>
#include <utility>

CConsoleNetUi::CConsoleNetUi(std::function<void()> pump) : m_pump(std::move(pump)) {}

bool CConsoleNetUi::WelcomeDialog(std::string&, int&) {
    SayNoDialog();
    return false;
}

bool CConsoleNetUi::SelectComputer(const std::function<void()>&, uint32_t&) {
    SayNoDialog();
    return false;
}

void CConsoleNetUi::SayNoDialog() {
    {
        // After a failed start the dialog would only have offered another try:
        // the failure's own message says enough.
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_last.empty()) return;
    }
    MessageBox(kNoWelcomeDialog);
}

void CConsoleNetUi::AddAnswer(const DiscoveryAnswer&) {}

std::string CConsoleNetUi::OneLine(const std::string& text) {
    std::string line = "VeskApp: ";
    bool space = false;
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            space = !line.empty() && line.back() != ' ';
            continue;
        }
        if (space) line += ' ';
        space = false;
        line += c;
    }
    return line;
}

void CConsoleNetUi::MessageBox(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (text == m_last) return;
    m_last = text;
    const std::string line = OneLine(text) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

void CConsoleNetUi::PumpMessages() {
    if (m_pump) m_pump();
}
