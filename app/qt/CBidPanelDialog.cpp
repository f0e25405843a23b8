#include "app/qt/CBidPanelDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <array>
#include <vector>

#include "app/CBidPanelCore.h"
#include "app/qt/CBidValueBox.h"
#include "platform/qt/Translations.h"
#include "resources/ResourceIds.h"
#include "resources/ResourceImages.h"

namespace {

// The panel is laid out in dialog units, as its controls were designed; one
// unit is this many pixels across and down.
constexpr double kUnitX = 2.0;
constexpr double kUnitY = 1.75;

QRect Units(int x, int y, int w, int h) {
    return QRect(int(x * kUnitX), int(y * kUnitY), int(w * kUnitX), int(h * kUnitY));
}

const char* const kSuitNames[] = {
    QT_TRANSLATE_NOOP("CBidPanelDialog", "clubs"), QT_TRANSLATE_NOOP("CBidPanelDialog", "diamonds"),
    QT_TRANSLATE_NOOP("CBidPanelDialog", "hearts"), QT_TRANSLATE_NOOP("CBidPanelDialog", "spades"),
    QT_TRANSLATE_NOOP("CBidPanelDialog", "no trump")};
constexpr int kSuitItemHeight = 21;

// The device pixel ratios the pictures are drawn for: plain, and the highest
// of the screens when it is higher, so that they are sharp there too.
std::vector<double> Ratios() {
    const double screen = qApp ? qApp->devicePixelRatio() : 1.0;
    if (screen > 1.0) return {1.0, screen};
    return {1.0};
}

// The call images of the columns, made once.
const QIcon& CallIcon(int image) {
    static const std::array<QIcon, resid::kCallImageCount> icons = [] {
        std::array<QIcon, resid::kCallImageCount> made;
        for (int i = 0; i < resid::kCallImageCount; ++i)
            for (double ratio : Ratios())
                made[i].addPixmap(QPixmap::fromImage(CResourceImages::CallImageAt(i, ratio)));
        return made;
    }();
    static const QIcon none;
    return image >= 0 && image < resid::kCallImageCount ? icons[image] : none;
}

// Suit item i: its picture as shown normally, selected in the open list and disabled.
QIcon SuitIcon(int suit) {
    QIcon icon;
    for (double ratio : Ratios()) {
        icon.addPixmap(CResourceImages::IconPixmapAt(resid::kIconSuitItem + suit, ratio),
                       QIcon::Normal);
        icon.addPixmap(CResourceImages::IconPixmapAt(resid::kIconSuitItemSelected + suit, ratio),
                       QIcon::Selected);
        icon.addPixmap(CResourceImages::IconPixmapAt(resid::kIconSuitItemDisabled + suit, ratio),
                       QIcon::Disabled);
    }
    return icon;
}

} // namespace

CBidPanelDialog::CBidPanelDialog(CBidPanelCore& panel, QWidget* parent)
    : QDialog(parent), m_panel(&panel) {
    // A child of the table, not a window of its own: QDialog turns a window type
    // of Qt::Widget given to its constructor into Qt::Dialog, so set it afterwards.
    setWindowFlags(Qt::Widget);
    setWindowTitle(QCoreApplication::translate("CBidPanelDialog", "Bidding"));
    setAccessibleName(windowTitle());
    setFixedSize(Units(0, 0, 210, 100).size());
    // A child of the table, which paints no background of its own under it.
    setAutoFillBackground(true);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    for (int place = 0; place < 4; ++place) {
        // The player's name over the column, as a list view's header shows it.
        const QRect area = Units(6 + 30 * place, 7, 30, 73);
        const int headHeight = QFontMetrics(small).height() + 6;
        QLabel* head = new QLabel(this);
        head->setGeometry(area.x(), area.y(), area.width(), headHeight);
        head->setAlignment(Qt::AlignCenter);
        head->setFrameStyle(QFrame::Panel | QFrame::Raised);
        head->setFont(small);
        m_heads[place] = head;
        // Display only: the rows follow the calls, nobody selects them.
        QListWidget* column = new QListWidget(this);
        column->setGeometry(area.adjusted(0, headHeight, 0, 0));
        column->setIconSize(QSize(resid::kCallImageWidth, 16));
        column->setSelectionMode(QAbstractItemView::NoSelection);
        column->setFocusPolicy(Qt::NoFocus);
        column->setAttribute(Qt::WA_TransparentForMouseEvents);
        column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        column->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        column->setFont(small);
        m_columns[place] = column;

        m_finish[place] =
            new QPushButton(QCoreApplication::translate("CBidPanelDialog", "Finish"), this);
        m_finish[place]->setAutoDefault(false);
        m_finish[place]->setCheckable(true);
        m_finish[place]->setGeometry(Units(7 + 30 * place, 81, 29, 13));
        m_finish[place]->setEnabled(place == 0);
    }
    m_value = new CBidValueBox(this);
    m_value->setGeometry(Units(129, 8, 22, 14));
    m_value->SetRange(kMinBid, kMaxBid);
    m_value->SetValue(kMinBid);
    m_value->setAccessibleName("Bid value");
    m_suit = new QComboBox(this);
    m_suit->setAccessibleName("Trump suit");
    // Wide enough for the suit's name beside its picture.
    m_suit->setGeometry(Units(152, 8, 52, 14));
    BuildSuitList();

    struct ButtonPlace {
        QPushButton** button;
        const char* text;
        int y;
    };
    const ButtonPlace buttons[] = {
        {&m_bet, QT_TRANSLATE_NOOP("CBidPanelDialog", "&Bet"), 24},
        {&m_pass, QT_TRANSLATE_NOOP("CBidPanelDialog", "&Pass"), 38},
        {&m_double, QT_TRANSLATE_NOOP("CBidPanelDialog", "&Double"), 52},
        {&m_redouble, QT_TRANSLATE_NOOP("CBidPanelDialog", "&ReDouble"), 66},
        {&m_close, QT_TRANSLATE_NOOP("CBidPanelDialog", "&Close"), 80}};
    for (const ButtonPlace& b : buttons) {
        *b.button = new QPushButton(QCoreApplication::translate("CBidPanelDialog", b.text), this);
        (*b.button)->setGeometry(Units(129, b.y, 75, 12));
    }

    connect(m_pass, &QPushButton::clicked, this, [this] {
        if (Usable()) m_panel->Model().Pass();
    });
    connect(m_bet, &QPushButton::clicked, this, [this] {
        if (!Usable()) return;
        m_panel->Model().SetSpinValue(m_value->Value());
        if (m_panel->Model().Bet(m_suit->currentIndex(), false) == BetResult::InvalidValue) {
            m_value->selectAll();
            m_value->setFocus();
        }
    });
    connect(m_double, &QPushButton::clicked, this, [this] {
        if (Usable()) m_panel->Model().Double(true);
    });
    connect(m_redouble, &QPushButton::clicked, this, [this] {
        if (Usable()) m_panel->Model().Redouble(true);
    });
    connect(m_finish[0], &QPushButton::clicked, this, [this](bool checked) {
        // The box changes when the command comes back from the table.
        m_finish[0]->setChecked(!checked);
        if (Usable()) m_panel->Model().ToggleOwnFinish(checked);
    });
    connect(m_close, &QPushButton::clicked, this, [this] {
        if (Usable()) m_panel->Close();
    });
    connect(m_suit, &QComboBox::activated, this, [this](int suit) {
        if (m_panel) m_panel->Model().SelectSuit(suit);
    });
    Refresh();
}

bool CBidPanelDialog::Usable() {
    if (!m_panel) return false;
    // While the computer plays the own seat, the buttons only beep.
    if (m_panel->Model().Host().IsAutoPlay()) {
        QApplication::beep();
        return false;
    }
    return true;
}

void CBidPanelDialog::BuildSuitList() {
    m_suit->setIconSize(CResourceImages::IconSize(resid::kIconSuitItem));
    for (int suit = 0; suit <= kNoTrumps; ++suit) {
        m_suit->addItem(SuitIcon(suit),
                        QCoreApplication::translate("CBidPanelDialog", kSuitNames[suit]), suit);
        m_suit->setItemData(suit, QSize(0, kSuitItemHeight), Qt::SizeHintRole);
    }
}

void CBidPanelDialog::ShowColumn(int place) {
    QListWidget* column = m_columns[place];
    CBiddingModel& model = m_panel->Model();
    // A long name is shortened at its end; the whole name is in the tooltip.
    QLabel* head = m_heads[place];
    const QString name = QString::fromStdString(model.Host().NameAtPlace(place));
    const int room = head->contentsRect().width() - 4;
    const QString shown = head->fontMetrics().elidedText(name, Qt::ElideRight, room);
    head->setText(shown);
    head->setToolTip(shown == name ? QString() : name);
    column->setAccessibleName(QString("Calls of %1").arg(name));
    m_finish[place]->setAccessibleName(QString("Finish %1").arg(name));
    column->clear();
    QListWidgetItem* last = nullptr;
    bool lastSelected = false;
    for (const BidRow& row : model.Rows(place)) {
        last = new QListWidgetItem(CallIcon(row.image), TranslatedText(row.text.c_str()), column);
        lastSelected = row.selected;
    }
    if (!last) return;
    column->scrollToItem(last);
    if (lastSelected)
        column->selectionModel()->select(column->indexFromItem(last), QItemSelectionModel::Select);
}

bool CBidPanelDialog::FocusInPanel() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

bool CBidPanelDialog::FocusAtTable() const {
    const QWidget* focus = QApplication::focusWidget();
    const QWidget* table = parentWidget();
    return !focus || FocusInPanel() || (table && (focus == table || table->isAncestorOf(focus)));
}

void CBidPanelDialog::Refresh() {
    if (!m_panel) return;
    // Read before the controls change: disabling the focused button moves the focus on.
    const bool inPanel = FocusInPanel();
    const bool atTable = FocusAtTable();
    const int toCall = m_panel->Model().PlaceToCall();
    const bool callComes = toCall == 0 && m_lastToCall != 0;
    m_lastToCall = toCall;
    for (int place = 0; place < 4; ++place)
        ShowColumn(place);
    const BidControls& c = m_panel->Model().Controls();
    m_pass->setEnabled(c.pass);
    m_bet->setEnabled(c.bet);
    m_double->setEnabled(c.dbl);
    m_redouble->setEnabled(c.redouble);
    m_close->setEnabled(c.close);
    m_value->setEnabled(c.spin || c.valueEdit);
    m_value->SetRange(c.spinLow, c.spinHigh);
    m_value->SetValue(c.spinValue);
    m_suit->setEnabled(c.suitList);
    if (c.selectedSuit >= 0 && c.selectedSuit <= kNoTrumps) m_suit->setCurrentIndex(c.selectedSuit);
    for (int place = 0; place < 4; ++place) {
        m_finish[place]->setChecked(c.finishChecked[place]);
        m_finish[place]->setEnabled(c.finishEnabled[place]);
    }
    // Enter presses the first enabled of Pass, Bet, Double, ReDouble, Close.
    QPushButton* const byIndex[] = {m_pass, m_bet, m_double, m_redouble, m_close};
    for (int i = 0; i < 5; ++i) {
        byIndex[i]->setAutoDefault(false);
        byIndex[i]->setDefault(i == c.defaultButton);
    }
    if (inPanel || (callComes && atTable)) {
        if (c.defaultButton >= 0 && c.defaultButton < 5)
            byIndex[c.defaultButton]->setFocus();
        else
            setFocus();
    }
}

void CBidPanelDialog::keyPressEvent(QKeyEvent* event) {
    // Escape only beeps: the panel closes with its Close button.
    if (event->key() == Qt::Key_Escape) {
        QApplication::beep();
        return;
    }
    QDialog::keyPressEvent(event);
}
