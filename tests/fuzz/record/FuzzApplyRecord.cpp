// Arbitrary bytes as a game record applied to a table of four (own seat 3):
// every card stays in one pile at most, the deal count in range, and the state
// written again as a record applies again.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "record/CRecordReader.h"
#include "record/GameRecord.h"
#include "rules/CCardPile.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/GameState.h"
#include "tests/record/CRecordTable.h"

namespace {

void CheckCardsOnce() {
    int seen[52] = {};
    auto count = [&](const uint8_t* bytes) {
        for (int i = 0; i < 52; ++i)
            if (bytes[i] >= 1 && bytes[i] <= 52 && ++seen[bytes[i] - 1] > 1) std::abort();
    };
    for (CPlayerHand* hand : g_pHand)
        count(hand->m_cardBytes);
    count(g_pTable->m_cardBytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CRecordTable* table = [] {
        auto* t = new CRecordTable(3);
        t->Deal(1);
        return t;
    }();
    table->ResetForApply();
    const int taken = ApplyRecord(std::span<const uint8_t>(data, size));
    if (taken > static_cast<int>(size)) std::abort();
    CheckCardsOnce();
    if (g_nDeals < -1 || g_nDeals >= kDealEntries) std::abort();

    if ((size & 7) != 0) return 0; // the rewrite on every eighth length only, for speed
    RecordPtr again = BuildGameRecord();
    if (again) {
        table->ResetForApply();
        if (ApplyRecord(again->Bytes()) != again->Length()) std::abort();
        CheckCardsOnce();
    }
    return 0;
}
