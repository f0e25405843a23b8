#include "display/LastTrickDialog.h"

#include "display/CardButton.h"
#include "platform/qt/DialogUnits.h"

#include <QPushButton>

namespace {

// Button places in dialog units, by place: bottom, left, top, right.
constexpr int kButtonX[4] = {54, 10, 54, 98};
constexpr int kButtonY[4] = {66, 35, 9, 35};
constexpr int kButtonWidth = 39;
constexpr int kButtonHeight = 50;
constexpr int kDialogWidth = 147;
constexpr int kDialogHeight = 146;
const char* const kPlaceNames[4] = {"Your card", "Left card", "Top card", "Right card"};

} // namespace

CLastTrickDialog::CLastTrickDialog(const int cards[4], QWidget* parent)
    : QDialog(parent),
      m_painter(palette().color(QPalette::Button), palette().color(QPalette::WindowText)) {
    setWindowTitle(tr("Last Trick"));
    const CDialogUnits du(font());
    for (int place = 0; place < 4; ++place) {
        m_cards[place] = cards ? cards[place] : -1;
        auto* button = new CCardButton(kFirstButton + place, this);
        button->setGeometry(du.Rect(kButtonX[place], kButtonY[place], kButtonWidth, kButtonHeight));
        button->setEnabled(false);
        button->setAccessibleName(QString::fromLatin1(kPlaceNames[place]));
        button->onPaint = [this](CCardButton& b, QPainter& p) {
            m_painter.DrawFaceButton(m_renderer, p, b.rect(), m_cards[b.Id() - kFirstButton]);
        };
        m_buttons[place] = button;
    }
    m_close = new QPushButton(tr("Close"), this);
    m_close->setGeometry(du.Rect(52, 125, 40, 14));
    m_close->setDefault(true);
    connect(m_close, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    setFixedSize(du.X(kDialogWidth), du.Y(kDialogHeight));
    m_close->setFocus();
}

void CLastTrickDialog::ShowLastTrick(const int cards[4], QWidget* parent) {
    CLastTrickDialog dialog(cards, parent);
    dialog.exec();
}

CCardButton* CLastTrickDialog::PlaceButton(int place) const {
    return place >= 0 && place < 4 ? m_buttons[place] : nullptr;
}

int CLastTrickDialog::CardAtPlace(int place) const {
    return place >= 0 && place < 4 ? m_cards[place] : -1;
}
