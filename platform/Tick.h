// A monotonic millisecond tick, wrapping like a 32-bit tick count.
#pragma once

#include <cstdint>

uint32_t GetTickCount();
