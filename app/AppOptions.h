// The program's command line.
#pragma once

#include <string>
#include <vector>

struct AppOptions {
    bool help = false;
    bool version = false;
    // Scales the game's fixed pauses: 0 none, 1 as the game has them.
    double pace = 1.0;
    // The player's name; empty: the welcome dialog asks.
    std::string name;
    // 1 = be the dealer (--deal), 0 = join (--join HOST), -1 = the welcome dialog asks.
    int connType = -1;
    std::string joinHost;
    // The dealer's TCP port; 0 = the default.
    int port = 0;
    // Take this seat (1..4) at the seat panel; 0 = the player chooses.
    int seat = 0;
    // Start at the taken seat.
    bool start = false;
    // Seats (1..4) given to this program's computer partners, in order.
    std::vector<int> partners;
    // Switch AutoPlay on once the game runs.
    bool autoplay = false;
    // The fair computer player for this run's computer partners and AutoPlay.
    bool fair = false;
    // Print the score sheet and exit when the first game is over.
    bool exitAfterGame = false;
    // Progress lines on standard error (deals, cards, the game's end).
    bool trace = false;
    // A saved game to load at start-up, as the Load command does (--load FILE,
    // or FILE alone, as the desktop passes it).
    std::string loadFile;
    // Save the game to saveFile, as the Save command does, once this many cards
    // have been played (0: never).
    int saveAfterCards = 0;
    std::string saveFile;
    // Empty when the command line was understood; else what was wrong.
    std::string error;
};

// Reads the arguments after the program's name.
AppOptions ParseAppOptions(const std::vector<std::string>& args);
// The text that --help prints.
std::string AppUsage();
