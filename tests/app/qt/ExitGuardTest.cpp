#include <gtest/gtest.h>

#include <deque>
#include <tuple>

#include "app/CExitGuard.h"

namespace {

using A = IExitQuestions::Answer;

// Answers from a script; a question beyond the script is answered No.
class ScriptedQuestions : public IExitQuestions {
public:
    std::deque<A> quitAnswers, saveAnswers;
    int quitAsked = 0, saveAsked = 0;
    Answer AskQuit() override { return Next(quitAnswers, quitAsked); }
    Answer AskSave() override { return Next(saveAnswers, saveAsked); }

private:
    static A Next(std::deque<A>& script, int& count) {
        ++count;
        if (script.empty()) return kNo;
        const A a = script.front();
        script.pop_front();
        return a;
    }
};

struct GuardCase {
    const char* name;
    ExitSituation situation;
    std::deque<A> quit;
    std::deque<A> save;
    int saveResult; // -1: no save command
    bool closes;
    int quitAsked, saveAsked, saved;
};

} // namespace

TEST(ExitGuard, EveryBranch) {
    const A Y = A::kYes, N = A::kNo, C = A::kCancel;
    const GuardCase cases[] = {
        {"not seated, alone", {1, false, false, false}, {}, {}, 1, true, 0, 0, 0},
        {"game running, Yes", {2, true, false, false}, {Y}, {}, 1, true, 1, 0, 0},
        {"dealer with others, No", {2, false, true, false}, {N}, {}, 1, false, 1, 0, 0},
        {"dealer with others, Yes Yes No", {3, true, true, true}, {Y, Y, N}, {}, 1, false, 3, 0, 0},
        {"alone with unsaved game, No", {1, true, false, true}, {Y}, {N}, 1, true, 1, 1, 0},
        {"alone with unsaved game, Cancel", {1, false, false, true}, {}, {C}, 1, false, 0, 1, 0},
        {"alone, saved", {1, false, false, true}, {}, {Y}, 1, true, 0, 1, 1},
        {"alone, save failed", {1, false, false, true}, {}, {Y}, 0, false, 0, 1, 1},
        {"alone, no save command", {1, false, false, true}, {}, {Y}, -1, false, 0, 1, 0},
        {"two humans never asked to save", {2, false, false, true}, {}, {Y}, 1, true, 0, 0, 0},
        {"quit refused before save", {1, true, false, true}, {N}, {Y}, 1, false, 1, 0, 0},
    };
    for (const GuardCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedQuestions questions;
        questions.quitAnswers = c.quit;
        questions.saveAnswers = c.save;
        int saved = 0;
        CExitGuard guard(questions);
        if (c.saveResult >= 0)
            guard.SetSave([&] {
                ++saved;
                return c.saveResult;
            });
        EXPECT_EQ(guard.MayClose(c.situation), c.closes);
        EXPECT_EQ(std::tuple(questions.quitAsked, questions.saveAsked, saved),
                  std::tuple(c.quitAsked, c.saveAsked, c.saved));
    }
}
