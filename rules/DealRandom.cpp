#include "rules/DealRandom.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <random>

namespace {

std::mutex g_randomLock;
std::mt19937_64 g_generator;
bool g_seeded = false;

// VESK_SEED fixes the seed; otherwise the system's entropy source chooses it.
uint64_t InitialSeed() {
    if (const char* text = std::getenv("VESK_SEED"); text && *text) {
        errno = 0;
        char* end = nullptr;
        unsigned long long v = std::strtoull(text, &end, 0);
        if (errno == 0 && end && *end == '\0') return v;
    }
    std::random_device device;
    return (static_cast<uint64_t>(device()) << 32) ^ device();
}

} // namespace

void SeedDealRandom(uint64_t seed) {
    std::lock_guard<std::mutex> lock(g_randomLock);
    g_generator.seed(seed);
    g_seeded = true;
}

void ReseedDealRandomFromEnvironment() {
    SeedDealRandom(InitialSeed());
}

uint64_t DealRandom(uint64_t bound) {
    if (bound < 1) return 0;
    std::lock_guard<std::mutex> lock(g_randomLock);
    if (!g_seeded) {
        g_generator.seed(InitialSeed());
        g_seeded = true;
    }
    std::uniform_int_distribution<uint64_t> pick(0, bound - 1);
    return pick(g_generator);
}
