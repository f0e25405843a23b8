// The generator that chooses the cards of a deal. Seeded once from the system's
// entropy source, or from the environment variable VESK_SEED when it is set, so
// that nobody can rebuild the hands from the time of the deal.
#pragma once

#include <cstdint>

// Reseeds the generator (tests use it for reproducible deals).
void SeedDealRandom(uint64_t seed);
// Seeds again as at start: from VESK_SEED when set, else from the entropy source.
void ReseedDealRandomFromEnvironment();
// A uniform value in 0..bound-1; 0 when bound < 1.
uint64_t DealRandom(uint64_t bound);
