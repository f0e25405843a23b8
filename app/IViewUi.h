// The table view's child windows and pictures that the game flow opens and
// closes. The panels' state lives in the game flow (CSeatPanel, CBidPanelCore);
// the view only shows it. Every operation may be a no-op in a view without windows.
#pragma once

class CBidPanelCore;
class CSeatPanel;

class IViewUi {
public:
    virtual ~IViewUi() = default;
    // Creates the bidding panel's window for `panel`, centred in the view, as the
    // active child with the focus.
    virtual void ShowBiddingPanel(CBidPanelCore& panel) = 0;
    virtual void HideBiddingPanel() = 0;
    // Tells the bidding panel's window that the panel's state changed.
    virtual void UpdateBiddingPanel() = 0;
    virtual void ShowSeatPanel(CSeatPanel& panel) = 0;
    virtual void HideSeatPanel() = 0;
    // The "Show" button: raised (created when missing) with the given enabled state, or removed.
    virtual void ShowShowButton(bool enabled) = 0;
    virtual void HideShowButton() = 0;
    // Copies the table saved under the score sheet back and frees it.
    virtual void RestoreOverlayPicture() = 0;
    // Shows the existing bidding panel, seat panel and "Show" button again, focusing each.
    virtual void RaiseChildren() = 0;
    // Draws the score sheet over the table (sets g_bOverlay).
    virtual void ShowScoreSheet() = 0;
    // Fills the whole table picture with the table colour.
    virtual void FillTable() = 0;
};
