// The bidding panel's window: the calls of the four places in four columns and
// the own player's controls (Pass, Bet with a value and a trump, Double,
// ReDouble, the Finish box and Close). It shows the panel's model and forwards
// the buttons to it; calls take effect when they come back from the table.
#pragma once

#include <QDialog>

class CBidPanelCore;
class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class QSpinBox;

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
    CBidPanelCore* m_panel;
    QListWidget* m_columns[4] = {};
    QPushButton* m_pass = nullptr;
    QPushButton* m_bet = nullptr;
    QPushButton* m_double = nullptr;
    QPushButton* m_redouble = nullptr;
    QPushButton* m_close = nullptr;
    QSpinBox* m_value = nullptr;
    QComboBox* m_suit = nullptr;
    QCheckBox* m_finish = nullptr;
};
