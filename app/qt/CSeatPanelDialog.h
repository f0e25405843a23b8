// The seat panel's window: the four seats laid out as their places at the
// table (left, top, right, bottom), each a group frame holding a "Free" button
// (showing who holds the seat) and a "Start" button. A click goes to the panel,
// which sends the place state; the buttons show the panel's state, so they
// change only when that state comes back.
#pragma once

#include <QDialog>

class CSeatButton;
class CSeatPanel;
class QGroupBox;

class CSeatPanelDialog : public QDialog {
public:
    CSeatPanelDialog(CSeatPanel& panel, QWidget* parent);
    ~CSeatPanelDialog() override;
    // The panel is going away: no more clicks reach it.
    void Detach();
    // Shows the panel's state on the buttons.
    void Refresh();

    CSeatButton* FreeButton(int seat) const { return m_free[(seat - 1) & 3]; }
    CSeatButton* StartButton(int seat) const { return m_start[(seat - 1) & 3]; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CSeatPanel* m_panel;
    QGroupBox* m_frames[4] = {};
    CSeatButton* m_free[4] = {};
    CSeatButton* m_start[4] = {};
};
