#include "app/qt/CVeskView.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt/CBidPanelDialog.h"
#include "app/qt/CSeatPanelDialog.h"
#include "display/ScoreSheet.h"
#include "display/TableWidget.h"
#include "platform/qt/QtMessageSink.h"
#include "rules/GameState.h"

CVeskView::CVeskView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_table = new CTableWidget(m_picture, this);
    layout->addWidget(m_table);
    m_sheet = std::make_unique<CScoreSheet>(m_picture);
    // The sheet lies over everything: the panels step aside and the table takes
    // the keys, so that a key press removes the sheet.
    m_sheet->SetShownHook([this] {
        if (m_bidDialog) m_bidDialog->hide();
        if (m_seatDialog) m_seatDialog->hide();
        if (m_showButton) m_showButton->hide();
        m_table->setFocus();
    });
    m_sink = new CQtMessageSink(nullptr, this);
}

CVeskView::~CVeskView() {
    if (m_seatDialog) m_seatDialog->Detach();
    if (m_bidDialog) m_bidDialog->Detach();
    m_sheet->RemoveOverlay();
    // The table widget and the panels on it go before the picture they show.
    delete m_table;
    m_table = nullptr;
}

void CVeskView::ShowBiddingPanel(CBidPanelCore& panel) {
    HideBiddingPanel();
    m_bidPanel = &panel;
    m_bidDialog = new CBidPanelDialog(panel, m_table);
    PlacePanel(m_bidDialog);
}

void CVeskView::HideBiddingPanel() {
    m_bidPanel = nullptr;
    if (!m_bidDialog) return;
    if (m_table->ActiveChild() == m_bidDialog) m_table->SetActiveChild(nullptr);
    m_bidDialog->Detach();
    m_bidDialog->hide();
    m_bidDialog->deleteLater();
    m_bidDialog = nullptr;
    m_table->update();
}

void CVeskView::UpdateBiddingPanel() {
    if (m_bidDialog) m_bidDialog->Refresh();
}

void CVeskView::ShowSeatPanel(CSeatPanel& panel) {
    HideSeatPanel();
    m_seatPanel = &panel;
    m_seatDialog = new CSeatPanelDialog(panel, m_table);
    PlacePanel(m_seatDialog);
}

void CVeskView::HideSeatPanel() {
    m_seatPanel = nullptr;
    if (!m_seatDialog) return;
    if (m_table->ActiveChild() == m_seatDialog) m_table->SetActiveChild(nullptr);
    m_seatDialog->Detach();
    m_seatDialog->hide();
    m_seatDialog->deleteLater();
    m_seatDialog = nullptr;
    m_table->update();
}

void CVeskView::PlacePanel(QWidget* panel) {
    panel->adjustSize();
    panel->move((m_table->width() - panel->width()) / 2, (m_table->height() - panel->height()) / 2);
    panel->show();
    panel->raise();
    panel->setFocus();
    m_table->SetActiveChild(panel);
}

void CVeskView::ShowShowButton(bool enabled) {
    if (!m_showButton) {
        m_showButton = new QPushButton(QCoreApplication::translate("CVeskView", "Show"), m_table);
        m_showButton->setGeometry(m_table->width() / 2 - 40, m_table->height() / 2 - 12, 80, 24);
        connect(m_showButton, &QPushButton::clicked, this, [this] {
            if (m_onShow) m_onShow();
        });
    }
    m_showButton->setEnabled(enabled);
    m_showButton->show();
    m_showButton->raise();
    m_table->SetActiveChild(m_showButton);
}

void CVeskView::HideShowButton() {
    if (!m_showButton) return;
    if (m_table->ActiveChild() == m_showButton) m_table->SetActiveChild(nullptr);
    m_showButton->deleteLater();
    m_showButton = nullptr;
}

void CVeskView::RestoreOverlayPicture() {
    // The game flow clears g_bOverlay before it asks for the table back; the
    // sheet puts its saved picture back only while the flag is set.
    g_bOverlay = 1;
    m_sheet->RemoveOverlay();
}

void CVeskView::RaiseChildren() {
    if (m_bidDialog) {
        m_bidDialog->show();
        m_bidDialog->raise();
    }
    if (m_seatDialog) {
        m_seatDialog->show();
        m_seatDialog->raise();
    }
    if (m_showButton) {
        m_showButton->show();
        m_showButton->raise();
        m_showButton->setFocus();
    }
}

void CVeskView::ShowScoreSheet() {
    m_sheet->ShowScore();
}

void CVeskView::FillTable() {
    m_picture.FillTable();
}
