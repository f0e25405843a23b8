#include "app/qt/CBidPanelDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "app/CBidPanelCore.h"

namespace {

QString RowText(const BidRow& row) {
    static const char* const suits[] = {"clubs", "diamonds", "hearts", "spades", "no trump"};
    if (row.image >= 0 && row.image <= kNoTrumps && !row.text.empty())
        return QString::fromStdString(row.text) + " " + suits[row.image];
    return QString::fromStdString(row.text);
}

} // namespace

CBidPanelDialog::CBidPanelDialog(CBidPanelCore& panel, QWidget* parent)
    : QDialog(parent, Qt::Widget), m_panel(&panel) {
    setWindowTitle("Bidding");
    auto* grid = new QGridLayout(this);
    const char* const heads[] = {"You", "Left", "Partner", "Right"};
    for (int place = 0; place < 4; ++place) {
        grid->addWidget(new QLabel(heads[place], this), 0, place);
        m_columns[place] = new QListWidget(this);
        m_columns[place]->setFixedSize(90, 96);
        m_columns[place]->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(m_columns[place], 1, place);
    }
    m_value = new QSpinBox(this);
    m_suit = new QComboBox(this);
    m_suit->addItems({"clubs", "diamonds", "hearts", "spades", "no trump"});
    m_pass = new QPushButton("Pass", this);
    m_bet = new QPushButton("Bet", this);
    m_double = new QPushButton("Double", this);
    m_redouble = new QPushButton("ReDouble", this);
    m_close = new QPushButton("Close", this);
    m_finish = new QCheckBox("Finish", this);
    auto* bet = new QHBoxLayout();
    bet->addWidget(m_value);
    bet->addWidget(m_suit);
    bet->addWidget(m_bet);
    bet->addWidget(m_finish);
    grid->addLayout(bet, 2, 0, 1, 4);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(m_pass);
    buttons->addWidget(m_double);
    buttons->addWidget(m_redouble);
    buttons->addWidget(m_close);
    grid->addLayout(buttons, 3, 0, 1, 4);

    connect(m_pass, &QPushButton::clicked, this, [this] {
        if (m_panel) m_panel->Model().Pass();
    });
    connect(m_bet, &QPushButton::clicked, this, [this] {
        if (!m_panel) return;
        m_panel->Model().SetSpinValue(m_value->value());
        m_panel->Model().Bet(m_suit->currentIndex(), false);
    });
    connect(m_double, &QPushButton::clicked, this, [this] {
        if (m_panel) m_panel->Model().Double(true);
    });
    connect(m_redouble, &QPushButton::clicked, this, [this] {
        if (m_panel) m_panel->Model().Redouble(true);
    });
    connect(m_finish, &QCheckBox::clicked, this, [this](bool checked) {
        if (m_panel) m_panel->Model().ToggleOwnFinish(checked);
    });
    connect(m_close, &QPushButton::clicked, this, [this] {
        if (m_panel) m_panel->Close();
    });
    connect(m_suit, &QComboBox::activated, this, [this](int suit) {
        if (m_panel) m_panel->Model().SelectSuit(suit);
    });
    Refresh();
}

void CBidPanelDialog::Refresh() {
    if (!m_panel) return;
    const CBiddingModel& model = m_panel->Model();
    for (int place = 0; place < 4; ++place) {
        m_columns[place]->clear();
        for (const BidRow& row : model.Rows(place))
            m_columns[place]->addItem(RowText(row));
        m_columns[place]->scrollToBottom();
    }
    const BidControls& c = model.Controls();
    m_pass->setEnabled(c.pass);
    m_bet->setEnabled(c.bet);
    m_double->setEnabled(c.dbl);
    m_redouble->setEnabled(c.redouble);
    m_close->setEnabled(c.close);
    m_value->setEnabled(c.spin || c.valueEdit);
    m_value->setRange(c.spinLow, c.spinHigh);
    m_value->setValue(c.spinValue);
    m_suit->setEnabled(c.suitList);
    if (c.selectedSuit >= 0 && c.selectedSuit <= kNoTrumps) m_suit->setCurrentIndex(c.selectedSuit);
    m_finish->setChecked(c.finishChecked[0]);
    m_finish->setEnabled(c.finishEnabled[0]);
}

void CBidPanelDialog::keyPressEvent(QKeyEvent* event) {
    // Escape does not close the panel; Close does.
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}
