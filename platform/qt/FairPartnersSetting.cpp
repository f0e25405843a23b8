#include "platform/qt/FairPartnersSetting.h"

#include <cstdint>

#include "platform/qt/SettingsStore.h"

bool ReadFairPartnersSetting(const CSettingsStore& store, bool& on) {
    uint32_t value = 0;
    if (!store.ReadDword(kFairPartnersValueName, value) || value > 1) return false;
    on = value == 1;
    return true;
}

bool WriteFairPartnersSetting(CSettingsStore& store, bool on) {
    return store.WriteDword(kFairPartnersValueName, on ? 1u : 0u);
}
