// The per-user settings of Vesk: a few named values, each a string or a
// 32-bit number ("dword"), kept in the XDG config directory as
// $XDG_CONFIG_HOME/Nuv/Vesk.conf (normally ~/.config/Nuv/Vesk.conf).
//
// The file is a plain INI file; each value carries its type as a prefix so
// that a reader can tell a number from a string that looks like one:
//     LastPlayerName=sz:Alice
//     ConnType=dword:1
// A value without a known prefix, or a dword that is not a decimal number in
// 0..4294967295, counts as malformed and reads like a missing one.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

class CSettingsStore {
public:
    // The per-user file.
    CSettingsStore();
    // Any other INI file (used by tools and tests).
    explicit CSettingsStore(const QString& fileName);

    // False when the value is missing, malformed or of the other type; the
    // output is then left unchanged. Strings are UTF-8.
    bool ReadString(const std::string& name, std::string& value) const;
    bool ReadDword(const std::string& name, uint32_t& value) const;

    // Create or overwrite the value; false when the file cannot be written.
    bool WriteString(const std::string& name, const std::string& value);
    bool WriteDword(const std::string& name, uint32_t value);

    // The file behind the store.
    QString FileName() const { return m_fileName; }

private:
    bool ReadRaw(const std::string& name, QString& raw) const;
    bool WriteRaw(const std::string& name, const QString& raw);

    QString m_fileName;
};
