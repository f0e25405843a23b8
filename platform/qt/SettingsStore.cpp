#include "platform/qt/SettingsStore.h"

#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kStringPrefix = QStringLiteral("sz:");
const QString kDwordPrefix = QStringLiteral("dword:");

QString UserFileName() {
    // The same path QSettings(IniFormat, UserScope, "Nuv", "Vesk") picks, made
    // explicit so that the store never depends on the QSettings defaults of
    // whoever created it first.
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return dir + QStringLiteral("/Nuv/Vesk.conf");
}

} // namespace

CSettingsStore::CSettingsStore() : m_fileName(UserFileName()) {}

CSettingsStore::CSettingsStore(const QString& fileName) : m_fileName(fileName) {}

bool CSettingsStore::ReadRaw(const std::string& name, QString& raw) const {
    QSettings settings(m_fileName, QSettings::IniFormat);
    const QVariant v = settings.value(QString::fromStdString(name));
    if (!v.isValid()) return false;
    // A list (an unquoted comma in a hand-edited file) is no value of ours.
    if (v.typeId() != QMetaType::QString) return false;
    raw = v.toString();
    return true;
}

bool CSettingsStore::WriteRaw(const std::string& name, const QString& raw) {
    QSettings settings(m_fileName, QSettings::IniFormat);
    settings.setValue(QString::fromStdString(name), raw);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool CSettingsStore::ReadString(const std::string& name, std::string& value) const {
    QString raw;
    if (!ReadRaw(name, raw) || !raw.startsWith(kStringPrefix)) return false;
    value = raw.mid(kStringPrefix.size()).toStdString();
    return true;
}

bool CSettingsStore::ReadDword(const std::string& name, uint32_t& value) const {
    QString raw;
    if (!ReadRaw(name, raw) || !raw.startsWith(kDwordPrefix)) return false;
    const QString digits = raw.mid(kDwordPrefix.size());
    // Only plain decimal digits: no sign, no blanks, no base prefix.
    if (digits.isEmpty() || digits.size() > 10) return false;
    for (QChar c : digits)
        if (c < u'0' || c > u'9') return false;
    bool ok = false;
    const qulonglong n = digits.toULongLong(&ok);
    if (!ok || n > 0xFFFFFFFFull) return false;
    value = static_cast<uint32_t>(n);
    return true;
}

bool CSettingsStore::WriteString(const std::string& name, const std::string& value) {
    return WriteRaw(name, kStringPrefix + QString::fromStdString(value));
}

bool CSettingsStore::WriteDword(const std::string& name, uint32_t value) {
    return WriteRaw(name, kDwordPrefix + QString::number(value));
}
