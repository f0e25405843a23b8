// The score sheet as plain text: one line per finished deal, then the totals.
// The partnerships are named by their seats ("1 and 3", "2 and 4").
#pragma once

#include <string>

// Reads the deal record, the totals and the seating of the running (or just
// finished) game.
std::string ScoreSheetText();
// Keeps the seating of the running game, so that the sheet printed after the
// game still names the seats of players who have left the table since.
void RememberSeating();
// Forgets it again (a new table).
void ForgetSeating();
