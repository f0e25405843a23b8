// The bidding panel's window: the calls of the four places in four columns
// (each row with the call's image), a Finish box under each column, and the own
// player's controls (the bid value, the suit list with the suits' pictures, Bet,
// Pass, Double, ReDouble and Close). It shows the panel's model and forwards the
// buttons to it; calls take effect when they come back from the table.
#pragma once

#include <QDialog>

class CBidPanelCore;
class CBidValueBox;
class QComboBox;
class QPushButton;
class QLabel;
class QListWidget;

class CBidPanelDialog : public QDialog {
public:
    CBidPanelDialog(CBidPanelCore& panel, QWidget* parent);
    // The panel is going away: no more clicks reach it.
    void Detach() { m_panel = nullptr; }
    // Shows the model's state. When the call comes to the own place (or the panel
    // has just opened) and the keyboard is at the table, the panel takes it, so
    // that Enter presses the default button.
    void Refresh();

    CBidValueBox* ValueBox() const { return m_value; }
    QPushButton* BetButton() const { return m_bet; }
    QLabel* ColumnHead(int place) const { return m_heads[place & 3]; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The panel is there and AutoPlay is off; else false (with a beep under AutoPlay).
    bool Usable();
    void BuildSuitList();
    void ShowColumn(int place);
    // The keyboard is in the panel, or on the table under it.
    bool FocusInPanel() const;
    bool FocusAtTable() const;

    CBidPanelCore* m_panel;
    QLabel* m_heads[4] = {};
    QListWidget* m_columns[4] = {};
    QPushButton* m_finish[4] = {};
    QPushButton* m_pass = nullptr;
    QPushButton* m_bet = nullptr;
    QPushButton* m_double = nullptr;
    QPushButton* m_redouble = nullptr;
    QPushButton* m_close = nullptr;
    CBidValueBox* m_value = nullptr;
    QComboBox* m_suit = nullptr;
    int m_lastToCall = -2; // the place to call at the last refresh; -2 before the first
};
