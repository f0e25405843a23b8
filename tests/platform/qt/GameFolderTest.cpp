// The saved-game dialogs' folder: "Vesk" in the documents folder at first,
// made when missing, then the folder of the last file chosen, as long as it
// still exists.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/qt/GameFolder.h"
#include "platform/qt/SettingsStore.h"

TEST(GameFolder, StartsInDocumentsVeskThenRemembersTheLastFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString documents = dir.path() + "/Documents"; // not there yet
    const QString settings = dir.path() + "/Vesk.conf";
    CSettingsStore store(settings);
    CGameFolder folder(store, documents);

    EXPECT_EQ(folder.StartFolder(), documents + "/Vesk");
    EXPECT_TRUE(QFileInfo(documents + "/Vesk").isDir());

    const QString games = dir.path() + "/tables/old games";
    ASSERT_TRUE(QDir().mkpath(games));
    folder.Remember(games + "/sunday.vsk");
    // Read back through a fresh store, as the next start of the program does.
    CSettingsStore again(settings);
    EXPECT_EQ(CGameFolder(again, documents).StartFolder(), games);

    // A remembered folder that is gone, or a stored value that is no absolute
    // folder, falls back to Documents/Vesk.
    ASSERT_TRUE(QDir(games).removeRecursively());
    for (const QString& stored : {games, QString(), QStringLiteral("relative/folder")}) {
        SCOPED_TRACE(stored.toStdString());
        ASSERT_TRUE(store.WriteString(kGameFolderValueName, stored.toStdString()));
        CSettingsStore fresh(settings);
        EXPECT_EQ(CGameFolder(fresh, documents).StartFolder(), documents + "/Vesk");
    }
}
