#include "app/RefereeLine.h"

namespace {

struct Slot {
    int value = 0;
    std::string names;
};

} // namespace

std::string BuildRefereeOrderLine(const std::string names[4], const bool announced[4],
                                  const int values[4]) {
    Slot slots[4];
    int filled = 0;
    for (int p = 0; p < 4; ++p) {
        if (!announced[p] || values[p] == 0) continue;
        const int v = values[p];
        int i = 0;
        for (; i < filled; ++i) {
            if (slots[i].value == v) {
                slots[i].names += "," + names[p];
                break;
            }
            if (v > slots[i].value) {
                for (int j = (filled < 4 ? filled : 3); j > i; --j)
                    slots[j] = slots[j - 1];
                slots[i] = Slot{v, names[p]};
                if (filled < 4) ++filled;
                break;
            }
        }
        if (i == filled && filled < 4) slots[filled++] = Slot{v, names[p]};
    }
    std::string line = "Referee> Order - ";
    for (int i = 0; i < filled; ++i)
        line += "(" + slots[i].names + ") ";
    return line;
}
