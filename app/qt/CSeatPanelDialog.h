// The seat panel's window: for each seat a "Free" button (showing who holds the
// seat) and a "Start" button. A click goes to the panel, which sends the place
// state; the buttons show the panel's state, so they change only when that
// state comes back.
#pragma once

#include <QDialog>

class CSeatPanel;
class QPushButton;

class CSeatPanelDialog : public QDialog {
public:
    CSeatPanelDialog(CSeatPanel& panel, QWidget* parent);
    ~CSeatPanelDialog() override;
    // The panel is going away: no more clicks reach it.
    void Detach();
    // Shows the panel's state on the buttons.
    void Refresh();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CSeatPanel* m_panel;
    QPushButton* m_free[4] = {};
    QPushButton* m_start[4] = {};
};
