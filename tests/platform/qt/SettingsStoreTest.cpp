#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/qt/SettingsStore.h"

namespace {

// Writes `text` as a whole settings file and returns its name.
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
    return path;
}

} // namespace

TEST(SettingsStore, UserFileLivesInTheConfigDirectoryOfTheTests) {
    CSettingsStore store;
    const QString configHome = QString::fromLocal8Bit(getenv("XDG_CONFIG_HOME"));
    ASSERT_FALSE(configHome.isEmpty());
    EXPECT_EQ(store.FileName(), configHome + "/Nuv/Vesk.conf");
    EXPECT_FALSE(store.FileName().startsWith(QDir::homePath() + "/.config/"));
}

TEST(SettingsStore, RoundTripsInTheUserFile) {
    CSettingsStore store;
    ASSERT_TRUE(store.WriteString("LastPlayerName", "Ingrid"));
    ASSERT_TRUE(store.WriteDword("ConnType", 1));
    ASSERT_TRUE(store.WriteDword("Deck", 61));
    EXPECT_TRUE(QFileInfo::exists(store.FileName()));

    CSettingsStore again;
    std::string name;
    uint32_t type = 7, deck = 0;
    EXPECT_TRUE(again.ReadString("LastPlayerName", name));
    EXPECT_EQ(name, "Ingrid");
    EXPECT_TRUE(again.ReadDword("ConnType", type));
    EXPECT_EQ(type, 1u);
    EXPECT_TRUE(again.ReadDword("Deck", deck));
    EXPECT_EQ(deck, 61u);
}

TEST(SettingsStore, MissingValuesFailAndLeaveTheOutputAlone) {
    QTemporaryDir dir;
    CSettingsStore store(dir.filePath("none.conf"));
    std::string s = "keep";
    uint32_t d = 42;
    EXPECT_FALSE(store.ReadString("LastPlayerName", s));
    EXPECT_FALSE(store.ReadDword("ConnType", d));
    EXPECT_EQ(s, "keep");
    EXPECT_EQ(d, 42u);
}

TEST(SettingsStore, ValuesOfTheOtherTypeFail) {
    QTemporaryDir dir;
    CSettingsStore store(dir.filePath("types.conf"));
    ASSERT_TRUE(store.WriteString("ConnType", "1"));
    ASSERT_TRUE(store.WriteDword("LastPlayerName", 5));
    std::string s = "keep";
    uint32_t d = 42;
    EXPECT_FALSE(store.ReadDword("ConnType", d));
    EXPECT_FALSE(store.ReadString("LastPlayerName", s));
    EXPECT_EQ(s, "keep");
    EXPECT_EQ(d, 42u);
    // Rewriting a value with the other type replaces the type as well.
    ASSERT_TRUE(store.WriteDword("ConnType", 0));
    EXPECT_TRUE(store.ReadDword("ConnType", d));
    EXPECT_EQ(d, 0u);
    EXPECT_FALSE(store.ReadString("ConnType", s));
}

TEST(SettingsStore, StringsKeepEmptinessAndAwkwardCharacters) {
    QTemporaryDir dir;
    CSettingsStore store(dir.filePath("strings.conf"));
    for (const std::string& value :
         {std::string(), std::string("dword:1"), std::string("a, b; c=d"),
          std::string("  spaced  "), std::string("Åsa Øberg ß"), std::string("@Variant(x)")}) {
        ASSERT_TRUE(store.WriteString("LastPlayerName", value));
        std::string back = "sentinel";
        EXPECT_TRUE(CSettingsStore(store.FileName()).ReadString("LastPlayerName", back)) << value;
        EXPECT_EQ(back, value);
    }
}

TEST(SettingsStore, DwordsCoverTheWholeRange) {
    QTemporaryDir dir;
    CSettingsStore store(dir.filePath("dwords.conf"));
    for (uint32_t value : {0u, 1u, 54u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        ASSERT_TRUE(store.WriteDword("Deck", value));
        uint32_t back = 12345;
        EXPECT_TRUE(store.ReadDword("Deck", back));
        EXPECT_EQ(back, value);
    }
}

TEST(SettingsStore, MalformedValuesReadLikeMissingOnes) {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "bad.conf",
                                   "[General]\n"
                                   "Untyped=Alice\n"
                                   "Negative=dword:-1\n"
                                   "TooBig=dword:4294967296\n"
                                   "Hex=dword:0x10\n"
                                   "Empty=dword:\n"
                                   "Spaces=dword: 7\n"
                                   "List=sz:a, b\n"
                                   "Good=dword:0009\n");
    CSettingsStore store(path);
    std::string s;
    uint32_t d = 99;
    EXPECT_FALSE(store.ReadString("Untyped", s));
    EXPECT_FALSE(store.ReadDword("Untyped", d));
    EXPECT_FALSE(store.ReadDword("Negative", d));
    EXPECT_FALSE(store.ReadDword("TooBig", d));
    EXPECT_FALSE(store.ReadDword("Hex", d));
    EXPECT_FALSE(store.ReadDword("Empty", d));
    EXPECT_FALSE(store.ReadDword("Spaces", d));
    EXPECT_FALSE(store.ReadString("List", s));
    EXPECT_EQ(d, 99u);
    EXPECT_TRUE(store.ReadDword("Good", d));
    EXPECT_EQ(d, 9u);
}

TEST(SettingsStore, NamesAreCaseSensitiveAndIndependent) {
    QTemporaryDir dir;
    CSettingsStore store(dir.filePath("names.conf"));
    ASSERT_TRUE(store.WriteDword("ConnType", 1));
    ASSERT_TRUE(store.WriteDword("Deck", 60));
    uint32_t d = 0;
    EXPECT_FALSE(store.ReadDword("conntype", d));
    EXPECT_TRUE(store.ReadDword("ConnType", d));
    EXPECT_EQ(d, 1u);
    EXPECT_TRUE(store.ReadDword("Deck", d));
    EXPECT_EQ(d, 60u);
}

TEST(SettingsStore, WritingToAnUnwritablePlaceFails) {
    QTemporaryDir dir;
    // A directory where the file should be: nothing can be written there.
    ASSERT_TRUE(QDir(dir.path()).mkpath("blocked.conf"));
    CSettingsStore store(dir.filePath("blocked.conf"));
    EXPECT_FALSE(store.WriteDword("ConnType", 1));
    uint32_t d = 3;
    EXPECT_FALSE(store.ReadDword("ConnType", d));
    EXPECT_EQ(d, 3u);
}
