#include "platform/qt/DeckSetting.h"

#include "platform/qt/SettingsStore.h"

bool ReadDeckSetting(const CSettingsStore& store, int32_t& back) {
    uint32_t value = 0;
    if (!store.ReadDword(kDeckValueName, value)) return false;
    if (value < static_cast<uint32_t>(kFirstCardBack) ||
        value > static_cast<uint32_t>(kLastCardBack))
        return false;
    back = static_cast<int32_t>(value);
    return true;
}

bool WriteDeckSetting(CSettingsStore& store, int32_t back) {
    return store.WriteDword(kDeckValueName, static_cast<uint32_t>(back));
}

bool ReadFacesSetting(const CSettingsStore& store, std::string& file) {
    return store.ReadString(kFacesValueName, file);
}

bool WriteFacesSetting(CSettingsStore& store, const std::string& file) {
    return store.WriteString(kFacesValueName, file);
}
