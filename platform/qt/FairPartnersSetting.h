// The stored choice of the fair computer player: the value "FairPartners" (a
// dword, 1 on, 0 off) of the settings store.
#pragma once

class CSettingsStore;

constexpr const char* kFairPartnersValueName = "FairPartners";

// Sets `on` from the stored value; a missing value or one other than 0 or 1
// leaves it unchanged and gives false.
bool ReadFairPartnersSetting(const CSettingsStore& store, bool& on);
// Stores the choice; false when the store cannot be written.
bool WriteFairPartnersSetting(CSettingsStore& store, bool on);
