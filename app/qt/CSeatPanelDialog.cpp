#include "app/qt/CSeatPanelDialog.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "app/CSeatPanel.h"
#include "platform/qt/Translations.h"

CSeatPanelDialog::CSeatPanelDialog(CSeatPanel& panel, QWidget* parent)
    : QDialog(parent), m_panel(&panel) {
    // A child of the table, not a window of its own: QDialog turns a window type
    // of Qt::Widget given to its constructor into Qt::Dialog, so set it afterwards.
    setWindowFlags(Qt::Widget);
    setWindowTitle(QCoreApplication::translate("CSeatPanelDialog", "Seats"));
    auto* grid = new QGridLayout(this);
    for (int seat = 1; seat <= 4; ++seat) {
        const int i = seat - 1;
        grid->addWidget(
            new QLabel(QCoreApplication::translate("CSeatPanelDialog", "Seat %1").arg(seat), this),
            i, 0);
        m_free[i] = new QPushButton(this);
        m_free[i]->setCheckable(true);
        m_start[i] =
            new QPushButton(QCoreApplication::translate("CSeatPanelDialog", "Start"), this);
        m_start[i]->setCheckable(true);
        grid->addWidget(m_free[i], i, 1);
        grid->addWidget(m_start[i], i, 2);
        connect(m_free[i], &QPushButton::clicked, this, [this, seat](bool checked) {
            if (m_panel) m_panel->ClickFree(seat, checked);
            Refresh();
        });
        connect(m_start[i], &QPushButton::clicked, this, [this, seat](bool checked) {
            if (m_panel) m_panel->ClickStart(seat, checked);
            Refresh();
        });
    }
    panel.SetChangedHandler([this] { Refresh(); });
    Refresh();
}

CSeatPanelDialog::~CSeatPanelDialog() {
    Detach();
}

void CSeatPanelDialog::Detach() {
    if (m_panel) m_panel->SetChangedHandler(nullptr);
    m_panel = nullptr;
}

void CSeatPanelDialog::Refresh() {
    if (!m_panel) return;
    for (int seat = 1; seat <= 4; ++seat) {
        const SeatButtons& b = m_panel->Seat(seat);
        const int i = seat - 1;
        m_free[i]->setText(b.freeChecked ? QString::fromStdString(b.freeText)
                                         : TranslatedText(b.freeText.c_str()));
        m_free[i]->setChecked(b.freeChecked);
        m_free[i]->setEnabled(b.freeEnabled);
        m_start[i]->setChecked(b.startChecked);
        m_start[i]->setEnabled(b.startEnabled);
    }
}

void CSeatPanelDialog::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape do not close the panel: it beeps.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        if (m_panel) m_panel->KeyPressed();
        return;
    }
    QDialog::keyPressEvent(event);
}
