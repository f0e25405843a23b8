#include "platform/Trace.h"

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const auto g_start = std::chrono::steady_clock::now();

bool EnvWantsTrace() {
    const char* value = std::getenv("VESK_TRACE");
    return value && *value && std::strcmp(value, "0") != 0;
}

std::atomic<bool> g_on{EnvWantsTrace()};

} // namespace

void SetTraceEnabled(bool on) {
    g_on = on || EnvWantsTrace();
}

bool TraceEnabled() {
    // The environment is read again: the network library holds its own copy of
    // this switch, and the program hands --trace on through VESK_TRACE.
    return g_on || EnvWantsTrace();
}

void Trace(const char* format, ...) {
    if (!TraceEnabled()) return;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - g_start)
                        .count();
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    // One write per line so lines of several threads do not mix.
    std::fprintf(stderr, "vesk-trace: %lld %s\n", static_cast<long long>(ms), line);
}
