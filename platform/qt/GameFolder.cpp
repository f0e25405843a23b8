#include "platform/qt/GameFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <string>

#include "platform/qt/SettingsStore.h"

CGameFolder::CGameFolder(CSettingsStore& store, QString documents)
    : m_store(store), m_documents(std::move(documents)) {}

QString CGameFolder::StartFolder() const {
    std::string last;
    if (m_store.ReadString(kGameFolderValueName, last) && !last.empty()) {
        const QFileInfo info(QString::fromStdString(last));
        if (info.isAbsolute() && info.isDir()) return info.absoluteFilePath();
    }
    const QString vesk = QDir(m_documents).filePath(QStringLiteral("Vesk"));
    if (QDir().mkpath(vesk)) return vesk;
    return m_documents;
}

void CGameFolder::Remember(const QString& chosenFile) {
    if (chosenFile.isEmpty()) return;
    const QString folder = QFileInfo(chosenFile).absolutePath();
    m_store.WriteString(kGameFolderValueName, folder.toStdString());
}

QString CGameFolder::DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}
