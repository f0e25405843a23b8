// The guard that runs when the player closes the main window: a player in a
// running game is asked whether to quit, a dealer with other human players at
// the table cannot close at all, and the lone player with an unsaved game is
// offered to save it. The questions go through IExitQuestions, so the window
// asks with message boxes (translating the questions) and tests answer from a script.
#pragma once

#include <functional>

#include "platform/TextMark.h"

struct USERINFO;

constexpr const char* kQuitQuestion =
    VESK_TRANSLATE_NOOP("Vesk", "You didn't finish current game.\nAre you sure you want to quit?");
// The text as the players know it, misspelling and trailing blank included.
constexpr const char* kSaveQuestion = VESK_TRANSLATE_NOOP(
    "Vesk", "You didn't finish current game.\nDo you want to save the curreng game? ");

class IExitQuestions {
public:
    enum Answer { kYes, kNo, kCancel };
    virtual ~IExitQuestions() = default;
    // kQuitQuestion with Yes and No, No being the default.
    virtual Answer AskQuit() = 0;
    // kSaveQuestion with Yes, No and Cancel.
    virtual Answer AskSave() = 0;
};

// What the guard decides on.
struct ExitSituation {
    int humans = 0;              // named users that own themselves
    bool gameInProgress = false; // own user seated and all four seats started
    bool dealer = false;         // this program runs the table's server
    bool unsavedRecord = false;  // the main window holds a game not yet saved
};

class CExitGuard {
public:
    explicit CExitGuard(IExitQuestions& questions) : m_questions(questions) {}

    // The save command; 0 means the game was not saved. Empty: nothing is saved.
    void SetSave(std::function<int()> save) { m_save = std::move(save); }

    // True when the window may close.
    bool MayClose(const ExitSituation& situation);

    // Entries with a name whose owner is their own index.
    static int CountHumans(const USERINFO* list, int count);
    // The situation from the user list and the game state.
    static ExitSituation Current(bool dealer, bool unsavedRecord);

private:
    IExitQuestions& m_questions;
    std::function<int()> m_save;
};
