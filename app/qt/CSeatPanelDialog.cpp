#include "app/qt/CSeatPanelDialog.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>

#include "app/CSeatPanel.h"
#include "app/qt/CSeatButton.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/Translations.h"

namespace {

// The panel's layout in dialog units: each seat's group frame, placed as the
// seat lies at the table (seats run clockwise from the left).
struct SeatFrame {
    int x, y;
};
constexpr SeatFrame kFrames[4] = {{10, 34}, {59, 9}, {107, 34}, {58, 59}};
constexpr int kFrameWidth = 39;
constexpr int kFrameHeight = 32;
// The two buttons inside a frame, below its title.
constexpr int kButtonInset = 4;
constexpr int kFreeTop = 9;
constexpr int kStartTop = 20;
constexpr int kButtonHeight = 10;
constexpr int kPanelWidth = 156;
constexpr int kPanelHeight = 100;

} // namespace

CSeatPanelDialog::CSeatPanelDialog(CSeatPanel& panel, QWidget* parent)
    : QDialog(parent), m_panel(&panel) {
    // A child of the table, not a window of its own: QDialog turns a window type
    // of Qt::Widget given to its constructor into Qt::Dialog, so set it afterwards.
    setWindowFlags(Qt::Widget);
    setWindowTitle(QCoreApplication::translate("CSeatPanelDialog", "Seats"));
    setAccessibleName(windowTitle());
    // The table never paints under a panel: the panel paints its own background.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    const CDialogUnits du(font());
    for (int seat = 1; seat <= 4; ++seat) {
        const int i = seat - 1;
        const SeatFrame& f = kFrames[i];
        const QString title = QCoreApplication::translate("CSeatPanelDialog", "Seat %1").arg(seat);
        m_frames[i] = new QGroupBox(title, this);
        m_frames[i]->setGeometry(du.Rect(f.x, f.y, kFrameWidth, kFrameHeight));
        m_free[i] = new CSeatButton(this);
        m_free[i]->setGeometry(du.Rect(f.x + kButtonInset, f.y + kFreeTop,
                                       kFrameWidth - 2 * kButtonInset, kButtonHeight));
        m_start[i] = new CSeatButton(this);
        m_start[i]->setGeometry(du.Rect(f.x + kButtonInset, f.y + kStartTop,
                                        kFrameWidth - 2 * kButtonInset, kButtonHeight));
        m_start[i]->SetFullText(QCoreApplication::translate("CSeatPanelDialog", "Start"));
        m_start[i]->setAccessibleName(title + " " + m_start[i]->FullText());
        connect(m_free[i], &QPushButton::clicked, this, [this, seat](bool checked) {
            if (m_panel) m_panel->ClickFree(seat, checked);
            Refresh();
        });
        connect(m_start[i], &QPushButton::clicked, this, [this, seat](bool checked) {
            if (m_panel) m_panel->ClickStart(seat, checked);
            Refresh();
        });
    }
    // Tab goes round the table: each seat's "Free", then its "Start".
    for (int i = 0; i < 4; ++i) {
        setTabOrder(m_free[i], m_start[i]);
        if (i < 3) setTabOrder(m_start[i], m_free[i + 1]);
    }
    setFixedSize(du.X(kPanelWidth), du.Y(kPanelHeight));
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
        const QString text =
            b.freeChecked ? QString::fromStdString(b.freeText) : TranslatedText(b.freeText.c_str());
        m_free[i]->SetFullText(text);
        m_free[i]->setAccessibleName(QString("Seat %1: %2").arg(seat).arg(text));
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
