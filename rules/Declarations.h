// Declarations: four of a kind and sequences, their values, rank codes and
// texts; the partnership comparison; the trump king-and-queen bonus; deal totals.
#pragma once

#include <cstdint>
#include <string>

class CPlayerHand;

struct DeclarationResult {
    int points = 0;    // sum of the combinations' values
    int bestRank = 0;  // rank code of the best combination; 0 = none
    uint32_t rest = 0; // natural set of the cards left after taking the combinations out
    std::string text;  // "--> " + combination words + " <--"
};

// Finds the combinations in a natural card set for the given trump value (4 = no trumps).
DeclarationResult FindDeclarations(uint32_t cards, int trump);

// 1 when the place's partnership holds the better announced declaration (g_declare).
int PartnershipWinsDeclarations(int place);
// Clears g_declare and, with a contract, fills value and text of every place from its hand.
void EvaluateDeclarations();
// True when `code` is the trump king or queen and the hand still holds the other one.
bool EarnsTrumpPairBonus(const CPlayerHand& hand, int code, int trump);

// A partnership total rounded to tens: remainder 6..9 rounds up, 0..5 down.
int RoundTotal(int total);
