// Menu 128 of the main window and its accelerators. Every item is a command id;
// what a command does, whether it is enabled and whether it carries a check
// mark come from the command slots the program installs. An item without a
// handler is greyed. The accelerators send their own ids (F9 and F6 send the
// alternate ids of Score and Show Last Trick) and run a command only while it
// is enabled, as the menu item would.
#pragma once

#include <QCoreApplication>
#include <QKeySequence>
#include <QObject>
#include <functional>
#include <map>

class QAction;
class QMainWindow;
class QMenu;
class QStyle;

namespace menuid {
constexpr int kLastTrick = 32772;
constexpr int kScore = 32773;
constexpr int kDeck = 32774;
constexpr int kScoreKey = 32775;     // F9
constexpr int kLastTrickKey = 32776; // F6
constexpr int kSave = 32777;
constexpr int kLoad = 32778;
constexpr int kAutoPlay = 32779;
constexpr int kAutoPartner1 = 32780; // 32780..32783: seats 1..4
constexpr int kUndo = 32784;
constexpr int kRedo = 32785;
constexpr int kFairPartners = 32786;
constexpr int kRules = 32787; // the rules handbook, F1
constexpr int kAbout = 0xE140; // the standard about command
constexpr int kExit = 0xE141;  // the standard exit command
} // namespace menuid

struct MenuCommand {
    std::function<void()> run;
    // Empty: enabled whenever there is a handler.
    std::function<bool()> enabled;
    // Empty: never checked.
    std::function<bool()> checked;
};

class CMainMenu : public QObject {
    Q_DECLARE_TR_FUNCTIONS(CMainMenu)

public:
    // Builds the menu bar and the accelerators of `frame`.
    explicit CMainMenu(QMainWindow& frame);

    void SetCommand(int id, MenuCommand command);
    // Runs the command when it is enabled; false otherwise.
    bool Run(int id);
    bool IsEnabled(int id) const;
    bool IsChecked(int id) const;
    // Sets every item's enabled state and check mark from the slots.
    void UpdateItems();

    // The menu item of a command id (not the accelerators), or null.
    QAction* Item(int id) const;
    QMenu* GameMenu() const { return m_game; }
    QMenu* AutoPartnerMenu() const { return m_autoPartner; }
    QMenu* HelpMenu() const { return m_help; }

    // Called when one of the menus opens and once no menu is open any more.
    std::function<void()> onMenuOpen;
    std::function<void()> onMenuClosed;

private:
    QAction* AddItem(QMenu* menu, int id, const char* text, const char* prompt);
    void AddAccelerator(int id, QKeyCombination key);
    void WatchMenu(QMenu* menu);

    QMainWindow& m_frame;
    QMenu* m_game = nullptr;
    QMenu* m_autoPartner = nullptr;
    QMenu* m_help = nullptr;
    QStyle* m_style = nullptr;
    std::map<int, QAction*> m_items;
    std::map<int, MenuCommand> m_commands;
};
