// The main window's status bar in its two modes. Mode 1 (game): the message
// pane, stretched, and the clock pane, updated every second. Mode 2 (menu): a
// single pane for the prompts of the menu items while a menu is open.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QLabel;
class QStatusBar;
class QTimer;

class CStatusPanes : public QObject {
public:
    static constexpr int kGameMode = 1;
    static constexpr int kMenuMode = 2;
    static constexpr int kClockInterval = 1000; // ms
    // Longest message: the 256-character buffer less its terminating NUL.
    static constexpr size_t kMaxText = 255;

    // Fills `bar` and starts in mode 1.
    explicit CStatusPanes(QStatusBar& bar);

    int Mode() const { return m_mode; }
    // Switches the panes; back in mode 1 the turn signal is cleared and the
    // table refreshed (onGameMode).
    void SetMode(int mode);
    // The message pane's text; only in mode 1.
    void SetText(const std::string& text);
    // A menu item's prompt; only in mode 2.
    void SetPrompt(const QString& prompt);
    // Shows the local time in the clock pane; only in mode 1.
    void UpdateClock();

    // The text cut to kMaxText bytes, never inside a UTF-8 character.
    static std::string Fit(const std::string& text);
    // "%02i:%02i:%02i".
    static QString ClockText(int hours, int minutes, int seconds);

    QLabel* MessagePane() const { return m_message; }
    QLabel* ClockPane() const { return m_clock; }
    QLabel* PromptPane() const { return m_prompt; }
    bool ClockRunning() const;

    // Called whenever mode 1 is set.
    std::function<void()> onGameMode;
    // Called after each clock update (the turn signal's pace).
    std::function<void()> onClock;

private:
    QStatusBar& m_bar;
    QLabel* m_message = nullptr;
    QLabel* m_clock = nullptr;
    QLabel* m_prompt = nullptr;
    QTimer* m_timer = nullptr;
    int m_mode = 0;
};
