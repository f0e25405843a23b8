// The stored card back: the value "Deck" (a dword) of the settings store, one
// of the twelve back codes 54..65.
#pragma once

#include <cstdint>

class CSettingsStore;

constexpr const char* kDeckValueName = "Deck";
constexpr int32_t kFirstCardBack = 54;
constexpr int32_t kLastCardBack = 65;

// Sets `back` from the stored value; a missing, malformed or out-of-range
// value leaves it unchanged and gives false.
bool ReadDeckSetting(const CSettingsStore& store, int32_t& back);
// Stores `back`; false when the store cannot be written.
bool WriteDeckSetting(CSettingsStore& store, int32_t back);
