#include "display/DisplayPace.h"

#include <atomic>
#include <cmath>

namespace {
std::atomic<double> g_paceFactor{1.0};
} // namespace

void CDisplayPace::SetFactor(double factor) {
    g_paceFactor = (std::isfinite(factor) && factor > 0) ? factor : 0.0;
}

double CDisplayPace::Factor() {
    return g_paceFactor;
}

int CDisplayPace::Scaled(int ms) {
    if (ms <= 0) return 0;
    const double scaled = std::lround(ms * Factor());
    return scaled > 1e9 ? 1000000000 : static_cast<int>(scaled);
}
