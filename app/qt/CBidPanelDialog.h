// The bidding panel's window: the calls of the four places in four columns
// (each row with the call's image), a Finish box under each column, and the own
// player's controls (the bid value, the suit list with the suits' pictures, Bet,
// Pass, Double, ReDouble and Close). It shows the panel's model and forwards the
// buttons to it; calls take effect when they come back from the table.
#pragma once

#include <QDialog>

class CBidPanelCore;
class QComboBox;
class QPushButton;
class QSpinBox;
class QLabel;
class QListWidget;

class CBidPanelDialog : public QDialog {
public:
    CBidPanelDialog(CBidPanelCore& panel, QWidget* parent);
    // The panel is going away: no more clicks reach it.
    void Detach() { m_panel = nullptr; }
    // Shows the model's state.
    void Refresh();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The panel is there and AutoPlay is off; else false (with a beep under AutoPlay).
    bool Usable();
    void BuildSuitList();
    void ShowColumn(int place);

    CBidPanelCore* m_panel;
    QLabel* m_heads[4] = {};
    QListWidget* m_columns[4] = {};
    QPushButton* m_finish[4] = {};
    QPushButton* m_pass = nullptr;
    QPushButton* m_bet = nullptr;
    QPushButton* m_double = nullptr;
    QPushButton* m_redouble = nullptr;
    QPushButton* m_close = nullptr;
    QSpinBox* m_value = nullptr;
    QComboBox* m_suit = nullptr;
};
