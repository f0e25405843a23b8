#include "app/qt/CVeskView.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
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
    RemoveChild(m_bidDialog);
    m_bidDialog = nullptr;
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
    RemoveChild(m_seatDialog);
    m_seatDialog = nullptr;
}

bool CVeskView::FocusAtTable() const {
    const QWidget* focus = QApplication::focusWidget();
    return !focus || focus == m_table || m_table->isAncestorOf(focus);
}

void CVeskView::RemoveChild(QWidget* child) {
    // The keyboard that was in the child goes back to the table, not on to the
    // next window in the tab chain (the chat line).
    const QWidget* focus = QApplication::focusWidget();
    const bool hadFocus = focus && (focus == child || child->isAncestorOf(focus));
    if (hadFocus) m_table->setFocus();
    child->hide();
    child->deleteLater();
    m_table->update();
}

void CVeskView::PlacePanel(QWidget* panel) {
    panel->adjustSize();
    panel->move((m_table->width() - panel->width()) / 2, (m_table->height() - panel->height()) / 2);
    // Typing in the chat line goes on; otherwise the panel takes the keyboard.
    const bool focus = FocusAtTable();
    panel->show();
    panel->raise();
    m_table->SetActiveChild(panel);
    if (focus) panel->setFocus();
}

QRect CVeskView::ShowButtonPlace(int width, int height, int cardHeight) {
    return QRect(width / 2 - 40, height - 67 - cardHeight, 80, 30);
}

void CVeskView::ShowShowButton(bool enabled) {
    if (!m_showButton) {
        m_showButton = new QPushButton(QCoreApplication::translate("CVeskView", "Show"), m_table);
        m_showButton->setAutoDefault(false);
        m_showButton->setAccessibleName("Show");
        const ViewSize card = m_picture.StandardCardSize();
        m_showButton->setGeometry(ShowButtonPlace(m_table->width(), m_table->height(), card.cy));
        // Picking out goes on from the keyboard while the button has it.
        m_showButton->installEventFilter(this);
        connect(m_showButton, &QPushButton::clicked, this, [this] {
            if (m_onShow) m_onShow();
        });
    }
    const bool focus = FocusAtTable();
    m_showButton->setEnabled(enabled);
    m_showButton->show();
    m_showButton->raise();
    m_table->SetActiveChild(m_showButton);
    if (focus) m_showButton->setFocus();
}

void CVeskView::HideShowButton() {
    if (!m_showButton) return;
    if (m_table->ActiveChild() == m_showButton) m_table->SetActiveChild(nullptr);
    RemoveChild(m_showButton);
    m_showButton = nullptr;
}

bool CVeskView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_showButton && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_S) && m_table->onKey) {
            m_table->onKey(key);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CVeskView::RestoreOverlayPicture() {
    // The game flow clears g_bOverlay before it asks for the table back; the
    // sheet puts its saved picture back only while the flag is set.
    g_bOverlay = 1;
    m_sheet->RemoveOverlay();
}

void CVeskView::RaiseChildren() {
    // Each is shown again and given the keyboard in turn, unless the keyboard is
    // in the chat line.
    const bool focus = FocusAtTable();
    for (QWidget* child : {static_cast<QWidget*>(m_bidDialog), static_cast<QWidget*>(m_seatDialog),
                           static_cast<QWidget*>(m_showButton)}) {
        if (!child) continue;
        child->show();
        child->raise();
        if (focus) child->setFocus();
    }
}

void CVeskView::ShowScoreSheet() {
    m_sheet->ShowScore();
}

void CVeskView::FillTable() {
    m_picture.FillTable();
}
