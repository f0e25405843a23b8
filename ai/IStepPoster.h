// Posts a game step to the view (WM_GAME_STEP). Must be safe to call from any
// thread: the bid-evaluation worker posts through it.
#pragma once

#include <cstdint>

class IStepPoster {
public:
    virtual ~IStepPoster() = default;
    virtual void PostStep(int step, intptr_t arg) = 0;
};
