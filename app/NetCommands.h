// What the dispatcher adds to the library's commands (net/NetCommands.h).
// The game commands proper (CMD_...) and the step numbers are in ai/GameCommands.h.
#pragma once

#include <cstdint>

#include "net/NetCommands.h"

// Highest command code the dispatcher handles.
constexpr int kLastCommand = 19;

// Place state bits: the seat in the low three bits, the started flag in bit 15.
constexpr int kSeatMask = 7;
constexpr uint16_t kStartedBit = 0x8000;
// The place state a seated program announces when its game is over.
constexpr uint16_t kGameOverState = 0x8000;
