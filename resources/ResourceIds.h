// Numbers of the program's icons and bitmaps. Icons and bitmaps are numbered
// separately: icon 199 and bitmap 199 are different pictures. The names live in
// their own namespace so they never clash with the game's own names for the
// icons it draws.
#pragma once

namespace resid {

// Icons.
constexpr int kIconApp = 128;              // the program; also at 16..256 pixels
constexpr int kIconSuitItem = 161;         // 161..165: suit list items, club .. no-trump
constexpr int kIconSuitItemSelected = 171; // 171..175: the same, selected
constexpr int kIconSuitItemDisabled = 181; // 181..185: the same, disabled
constexpr int kIconTurnA = 192;            // turn marker, first blink phase
constexpr int kIconTurnB = 193;            // turn marker, second blink phase
constexpr int kIconTurnComputerA = 194;    // turn marker of a computer player, first phase
constexpr int kIconTurnComputerB = 195;    // turn marker of a computer player, second phase
constexpr int kIconSheetSuit = 199;      // 199..203: contract on the score sheet, club .. no-trump
constexpr int kIconSheetDoubled = 204;   // drawn over the contract's suit when doubled
constexpr int kIconSheetRedoubled = 205; // drawn over it as well when redoubled
constexpr int kIconMarker = 206;         // trump king-and-queen marker over a card

// Bitmaps.
constexpr int kBitmapCallImages = 142; // nine 18-pixel images of calls, white = transparent
constexpr int kBitmapScoreSheet = 199; // the score sheet, black where the mask lets through
constexpr int kBitmapScoreSheetMask =
    200; // its mask: white where the table shows, black under the sheet

constexpr int kCallImageWidth = 18;
constexpr int kCallImageCount = 9;

} // namespace resid
