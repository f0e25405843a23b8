// The pace of the table's timed pauses: 1 waits as long as the game is meant
// to, 0 not at all, anything between or above scales the pause. The program's
// command line sets it; tests and demonstrations run without pauses.
#pragma once

class CDisplayPace {
public:
    // Negative factors count as 0.
    static void SetFactor(double factor);
    static double Factor();
    // `ms` scaled by the factor, rounded to whole milliseconds.
    static int Scaled(int ms);
};
