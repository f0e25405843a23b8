// The table view: the table widget showing the retained table picture, the
// score sheet over it and the "Show" button. Game steps arrive through its
// message sink. The seat panel and the bidding panel keep their state in the
// game flow; the view keeps track of which one lies over the table.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "app/IViewUi.h"
#include "display/TablePicture.h"

class CQtMessageSink;
class CBidPanelDialog;
class CScoreSheet;
class CSeatPanelDialog;
class CTableWidget;
class QPushButton;

class CVeskView : public QWidget, public IViewUi {
public:
    explicit CVeskView(QWidget* parent = nullptr);
    ~CVeskView() override;

    CTablePicture& Picture() { return m_picture; }
    CTableWidget& Table() { return *m_table; }
    // The view's window handle: WM_GAME_STEP goes to the handler.
    CQtMessageSink& Sink() { return *m_sink; }
    // Called when the "Show" button is pressed.
    void SetShowHandler(std::function<void()> onShow) { m_onShow = std::move(onShow); }
    // The panel lying over the table (set by the panels' windows), or none.
    CSeatPanel* OpenSeatPanel() const { return m_seatPanel; }
    CBidPanelCore* OpenBiddingPanel() const { return m_bidPanel; }

    // IViewUi
    void ShowBiddingPanel(CBidPanelCore& panel) override;
    void HideBiddingPanel() override;
    void UpdateBiddingPanel() override;
    void ShowSeatPanel(CSeatPanel& panel) override;
    void HideSeatPanel() override;
    void ShowShowButton(bool enabled) override;
    void HideShowButton() override;
    void RestoreOverlayPicture() override;
    void RaiseChildren() override;
    void ShowScoreSheet() override;
    void FillTable() override;

    // Where the "Show" button lies on a table of width x height with cards of
    // the given height: 80 x 30, centred across, its top 67 pixels plus one card
    // height above the bottom.
    static QRect ShowButtonPlace(int width, int height, int cardHeight);
    QPushButton* ShowButton() const { return m_showButton; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Centres a panel's window on the table and makes it the active child; it
    // takes the keyboard unless the keyboard is elsewhere (the chat line).
    void PlacePanel(QWidget* panel);
    // The keyboard is on the table or on a window lying over it, or nowhere.
    bool FocusAtTable() const;
    // Takes a panel or the button off the table; the keyboard it had returns to the table.
    void RemoveChild(QWidget* child);

    CTablePicture m_picture;
    CTableWidget* m_table = nullptr;
    std::unique_ptr<CScoreSheet> m_sheet;
    CQtMessageSink* m_sink = nullptr;
    QPushButton* m_showButton = nullptr;
    CSeatPanel* m_seatPanel = nullptr;
    CSeatPanelDialog* m_seatDialog = nullptr;
    CBidPanelCore* m_bidPanel = nullptr;
    CBidPanelDialog* m_bidDialog = nullptr;
    std::function<void()> m_onShow;
};
