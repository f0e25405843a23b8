// The program's command line.
#pragma once

#include <string>
#include <vector>

struct AppOptions {
    bool help = false;
    bool version = false;
    // Scales the game's fixed pauses: 0 none, 1 as the game has them.
    double pace = 1.0;
    // Empty when the command line was understood; else what was wrong.
    std::string error;
};

// Reads the arguments after the program's name.
AppOptions ParseAppOptions(const std::vector<std::string>& args);
// The text that --help prints.
std::string AppUsage();
