// The stored card back: the value "Deck" (a dword) of the settings store, one
// of the twelve back codes 54..65; and beside it the stored card faces: the
// value "Faces" (a string), the SVG file of a desktop card deck, empty for the
// built-in faces.
#pragma once

#include <cstdint>
#include <string>

class CSettingsStore;

constexpr const char* kDeckValueName = "Deck";
constexpr const char* kFacesValueName = "Faces";
constexpr int32_t kFirstCardBack = 54;
constexpr int32_t kLastCardBack = 65;

// Sets `back` from the stored value; a missing, malformed or out-of-range
// value leaves it unchanged and gives false.
bool ReadDeckSetting(const CSettingsStore& store, int32_t& back);
// Stores `back`; false when the store cannot be written.
bool WriteDeckSetting(CSettingsStore& store, int32_t back);

// Sets `file` from the stored faces; a missing or malformed value leaves it
// unchanged and gives false.
bool ReadFacesSetting(const CSettingsStore& store, std::string& file);
// Stores the faces (empty: the built-in ones); false when the store cannot be written.
bool WriteFacesSetting(CSettingsStore& store, const std::string& file);
