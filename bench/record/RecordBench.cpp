// Writing a mid-deal game record and applying it again, the work of one state
// reply or one replay snapshot.
#include <benchmark/benchmark.h>

#include <string>

#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/GameState.h"
#include "record/CRecordReader.h"
#include "record/GameRecord.h"
#include "record/RecordEscape.h"
#include "tests/record/CRecordTable.h"

namespace {

// A deal in play: contract, five cards on the table, three deals in the record,
// the bidding panel still open.
void SetUpMidDeal(CRecordTable& table) {
    table.Deal(17);
    g_nDealer = 1;
    table.OpenBidding();
    table.Call(2, 8, kHeart);
    table.Call(3, 0, 7);
    table.SetContract(9, kHeart, 2);
    table.PlayLegalCards(5);
    g_nDeals = 3;
    g_score[0] = 88;
    g_score[1] = 131;
    for (int n = 0; n <= 3; ++n) {
        SetDealText(n, kDealResult0, kDealResultLen, "88");
        SetDealText(n, kDealResult1, kDealResultLen, "131");
        SetDealInt(n, kDealPoints0, 20 * n);
        SetDealText(n, kDealDeclarer, kDealNameLen, "Cleo");
    }
}

void BM_RecordRoundTrip(benchmark::State& state) {
    CRecordTable table(3);
    SetUpMidDeal(table);
    size_t bytes = 0;
    for (auto _ : state) {
        RecordPtr record = BuildGameRecord();
        bytes = record->Length();
        const int taken = ApplyRecord(record->Bytes());
        benchmark::DoNotOptimize(taken);
    }
    state.counters["record_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RecordRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_RecordWrite(benchmark::State& state) {
    CRecordTable table(3);
    SetUpMidDeal(table);
    for (auto _ : state) {
        RecordPtr record = BuildGameRecord();
        benchmark::DoNotOptimize(record->Data());
    }
}
BENCHMARK(BM_RecordWrite)->Unit(benchmark::kMicrosecond);

void BM_RecordApply(benchmark::State& state) {
    CRecordTable table(3);
    SetUpMidDeal(table);
    const RecordPtr record = BuildGameRecord();
    for (auto _ : state)
        benchmark::DoNotOptimize(ApplyRecord(record->Bytes()));
}
BENCHMARK(BM_RecordApply)->Unit(benchmark::kMicrosecond);

void BM_RecordEscapeRoundTrip(benchmark::State& state) {
    CRecordTable table(3);
    SetUpMidDeal(table);
    const RecordPtr record = BuildGameRecord();
    std::string text;
    for (auto _ : state) {
        EscapeRecord(record->Bytes(), text);
        benchmark::DoNotOptimize(
            UnescapeRecord(reinterpret_cast<uint8_t*>(text.data()), text.size()));
    }
}
BENCHMARK(BM_RecordEscapeRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
