// Where the saved-game dialogs open: the folder used last, kept in the settings
// as "GameFolder", or else a "Vesk" folder in the user's documents folder,
// which is made when it is missing.
#pragma once

#include <QString>

class CSettingsStore;

constexpr const char* kGameFolderValueName = "GameFolder";

class CGameFolder {
public:
    // `documents` is the user's documents folder (DocumentsFolder() by default).
    explicit CGameFolder(CSettingsStore& store, QString documents = DocumentsFolder());

    // The remembered folder when it still exists, else <documents>/Vesk (made
    // when missing; when it cannot be made, the documents folder itself).
    QString StartFolder() const;
    // Remembers the folder of a file chosen in a dialog.
    void Remember(const QString& chosenFile);

    // The desktop's documents folder, or the home folder when it has none.
    static QString DocumentsFolder();

private:
    CSettingsStore& m_store;
    QString m_documents;
};
