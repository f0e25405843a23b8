#include "app/qt/CMainMenu.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QTimer>

#include "ai/CAutoPartnerMenu.h"

namespace {

// Greyed items still take the highlight, so that their prompts show as well.
class CMenuStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

CMainMenu::CMainMenu(QMainWindow& frame) : QObject(&frame), m_frame(frame) {
    using namespace menuid;
    QMenuBar* bar = frame.menuBar();
    m_game = bar->addMenu(tr("&Game"));
    AddItem(m_game, kScore, QT_TR_NOOP("Sco&re\tF9"),
            QT_TR_NOOP("Display current game information."));
    AddItem(m_game, kLastTrick, QT_TR_NOOP("Show Last &Trick\tF6"),
            QT_TR_NOOP("Display last trick information."));
    AddItem(m_game, kAutoPlay, QT_TR_NOOP("&AutoPlay\tF7"), QT_TR_NOOP("Switch the Autoplay mode."))
        ->setCheckable(true);
    m_game->addSeparator();
    AddItem(m_game, kDeck, QT_TR_NOOP("De&ck.."), QT_TR_NOOP("Choose new deck back."));
    m_game->addSeparator();
    AddItem(m_game, kSave, QT_TR_NOOP("&Save Current Game\tCtrl+S"),
            QT_TR_NOOP("Save current game information."));
    AddItem(m_game, kLoad, QT_TR_NOOP("&Load Game\tCtrl+L"), QT_TR_NOOP("Load saved game."));
    AddItem(m_game, kUndo, QT_TR_NOOP("Undo\tCtrl+Z"), QT_TR_NOOP("Replay last deal."));
    AddItem(m_game, kRedo, QT_TR_NOOP("Redo\tCtrl+Y"), QT_TR_NOOP("Skip replay this deal."));
    m_game->addSeparator();
    AddItem(m_game, kExit, QT_TR_NOOP("E&xit\tAlt+F4"),
            QT_TR_NOOP("Quit the application; prompts to save documents"));

    m_autoPartner = bar->addMenu(tr("&AutoPartner"));
    for (int seat = 1; seat <= CAutoPartnerMenu::kSeats; ++seat)
        AddItem(m_autoPartner, kAutoPartner1 + seat - 1, CAutoPartnerMenu::Title(seat), "")
            ->setCheckable(true);
    m_autoPartner->addSeparator();
    AddItem(
        m_autoPartner, kFairPartners, QT_TR_NOOP("&Fair Partners"),
        QT_TR_NOOP("Let the computer partners and AutoPlay know only what their seat can know."))
        ->setCheckable(true);

    m_help = bar->addMenu(tr("&Help"));
    AddItem(m_help, kRules, QT_TR_NOOP("&Rules of Vesk\tF1"),
            QT_TR_NOOP("Show the rules of the game."));
    AddItem(m_help, kAbout, QT_TR_NOOP("&About Vesk..."),
            QT_TR_NOOP("Display program information, version number and copyright"));

    AddAccelerator(kScoreKey, QKeyCombination(Qt::Key_F9));
    AddAccelerator(kLastTrickKey, QKeyCombination(Qt::Key_F6));
    AddAccelerator(kAutoPlay, QKeyCombination(Qt::Key_F7));
    AddAccelerator(kSave, Qt::CTRL | Qt::Key_S);
    AddAccelerator(kLoad, Qt::CTRL | Qt::Key_L);
    AddAccelerator(kUndo, Qt::CTRL | Qt::Key_Z);
    AddAccelerator(kRedo, Qt::CTRL | Qt::Key_Y);
    AddAccelerator(kExit, Qt::ALT | Qt::Key_F4);
    AddAccelerator(kRules, QKeyCombination(Qt::Key_F1));

    WatchMenu(m_game);
    WatchMenu(m_autoPartner);
    WatchMenu(m_help);
}

QAction* CMainMenu::AddItem(QMenu* menu, int id, const char* text, const char* prompt) {
    // The text after the tab is shown as the item's key; the keys themselves
    // are the accelerators below.
    // Marked texts are translated; the computer partners' names have no translation.
    QAction* action = menu->addAction(tr(text));
    action->setStatusTip(tr(prompt));
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    m_items[id] = action;
    return action;
}

void CMainMenu::AddAccelerator(int id, QKeyCombination key) {
    auto* action = new QAction(&m_frame);
    action->setShortcut(QKeySequence(key));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    m_frame.addAction(action);
}

void CMainMenu::WatchMenu(QMenu* menu) {
    if (!m_style) {
        m_style = new CMenuStyle();
        m_style->setParent(this);
    }
    menu->setStyle(m_style);
    connect(menu, &QMenu::aboutToShow, this, [this] {
        UpdateItems();
        if (onMenuOpen) onMenuOpen();
    });
    // Moving from one menu to the next hides one and shows the other: the menu
    // loop ends only when no menu is left open once the events have settled.
    connect(menu, &QMenu::aboutToHide, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (m_game->isVisible() || m_autoPartner->isVisible() || m_help->isVisible()) return;
            if (onMenuClosed) onMenuClosed();
        });
    });
}

void CMainMenu::SetCommand(int id, MenuCommand command) {
    m_commands[id] = std::move(command);
}

bool CMainMenu::IsEnabled(int id) const {
    const auto it = m_commands.find(id);
    if (it == m_commands.end() || !it->second.run) return false;
    return !it->second.enabled || it->second.enabled();
}

bool CMainMenu::IsChecked(int id) const {
    const auto it = m_commands.find(id);
    return it != m_commands.end() && it->second.checked && it->second.checked();
}

bool CMainMenu::Run(int id) {
    if (!IsEnabled(id)) return false;
    // Copied: the handler may replace the slots.
    const std::function<void()> run = m_commands[id].run;
    run();
    return true;
}

void CMainMenu::UpdateItems() {
    for (auto& [id, action] : m_items) {
        action->setEnabled(IsEnabled(id));
        if (action->isCheckable()) action->setChecked(IsChecked(id));
    }
}

QAction* CMainMenu::Item(int id) const {
    const auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : it->second;
}
