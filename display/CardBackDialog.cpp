#include "display/CardBackDialog.h"

#include "display/CardButton.h"
#include "platform/qt/DialogUnits.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace {

struct BackPlace {
    int id;
    int x;
    int y;
};

// Two rows of six backs, in dialog units.
constexpr BackPlace kBackPlaces[] = {
    {54, 12, 8},  {55, 51, 8},  {60, 90, 8},  {61, 129, 8},  {58, 168, 8},  {59, 207, 8},
    {56, 12, 61}, {57, 51, 61}, {62, 90, 61}, {63, 129, 61}, {64, 168, 61}, {65, 207, 61},
};
constexpr int kBackWidth = 35;
constexpr int kBackHeight = 48;
constexpr int kDialogWidth = 254;
constexpr int kFacesRowY = 119;
constexpr int kButtonRowY = 140;
constexpr int kDialogHeight = 161;

} // namespace

CCardBackDialog::CCardBackDialog(int current, QWidget* parent, const QList<DeckEntry>& decks,
                                 const QString& faces)
    : QDialog(parent), m_selected(current),
      m_painter(palette().color(QPalette::Button), palette().color(QPalette::WindowText)) {
    setWindowTitle(tr("Select Card Back"));
    const CDialogUnits du(font());

    for (const BackPlace& place : kBackPlaces) {
        auto* button = new CCardButton(place.id, this);
        button->setGeometry(du.Rect(place.x, place.y, kBackWidth, kBackHeight));
        button->setAutoDefault(false);
        button->setAccessibleName(QStringLiteral("Card back %1").arg(place.id - kFirstBack + 1));
        button->onPaint = [this](CCardButton& b, QPainter& p) { PaintBack(b, p); };
        button->onDoubleClick = [this](CCardButton& b) {
            Select(b.Id());
            done(b.Id());
        };
        connect(button, &QPushButton::clicked, this, [this, button] { Select(button->Id()); });
        m_backs[place.id - kFirstBack] = button;
    }
    auto* facesLabel = new QLabel(tr("&Faces:"), this);
    facesLabel->setGeometry(du.Rect(12, kFacesRowY + 3, 32, 8));
    m_faces = new QComboBox(this);
    m_faces->setGeometry(du.Rect(45, kFacesRowY, 197, 14));
    m_faces->addItem(tr("Built-in"), QString());
    for (const DeckEntry& deck : decks)
        m_faces->addItem(deck.name, deck.file);
    m_faces->setCurrentIndex(std::max(0, m_faces->findData(faces)));
    facesLabel->setBuddy(m_faces);

    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setGeometry(du.Rect(86, kButtonRowY, 40, 14));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, [this] { done(m_selected); });
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setGeometry(du.Rect(136, kButtonRowY, 40, 14));
    connect(m_cancel, &QPushButton::clicked, this, [this] { done(kCancelled); });

    // Tab order follows the dialog's layout: the backs in their order of ids.
    QWidget* previous = nullptr;
    for (CCardButton* button : m_backs) {
        if (previous) setTabOrder(previous, button);
        previous = button;
    }
    setTabOrder(previous, m_faces);
    setTabOrder(m_faces, m_ok);
    setTabOrder(m_ok, m_cancel);

    setFixedSize(du.X(kDialogWidth), du.Y(kDialogHeight));
    if (CCardButton* chosen = BackButton(current)) chosen->setFocus();
}

int CCardBackDialog::ChooseCardBack(int current, QWidget* parent) {
    CCardBackDialog dialog(current, parent);
    return dialog.exec();
}

QString CCardBackDialog::SelectedFaces() const {
    return m_faces->currentData().toString();
}

CCardButton* CCardBackDialog::BackButton(int id) const {
    if (id < kFirstBack || id >= kFirstBack + kBackCount) return nullptr;
    return m_backs[id - kFirstBack];
}

void CCardBackDialog::Select(int id) {
    if (id == m_selected || !BackButton(id)) return;
    m_previous = m_selected;
    m_selected = id;
    ++m_selectionRedraws;
    if (CCardButton* old = BackButton(m_previous)) old->repaint();
    BackButton(m_selected)->repaint();
}

void CCardBackDialog::reject() {
    done(kCancelled);
}

void CCardBackDialog::PaintBack(CCardButton& button, QPainter& painter) {
    // Pressed, the back fills the button; at rest the selected back sits one
    // pixel in and the others five.
    const bool pressed = button.isDown();
    const int border = pressed ? 0 : AutoBorder(button.Id());
    const bool focused = pressed || button.hasFocus();
    m_painter.DrawCardButton(m_renderer, painter, button.rect(), button.Id(), border, focused);
}
