// The per-user settings: typed values that round-trip, and malformed or
// mistyped ones that read like missing ones.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/qt/SettingsStore.h"

TEST(SettingsStore, UserFileLivesInTheConfigDirectoryAndRoundTrips) {
    CSettingsStore store;
    const QString configHome = QString::fromLocal8Bit(getenv("XDG_CONFIG_HOME"));
    ASSERT_FALSE(configHome.isEmpty());
    EXPECT_EQ(store.FileName(), configHome + "/Nuv/Vesk.conf");
    ASSERT_TRUE(store.WriteString("LastPlayerName", "Ingrid"));
    ASSERT_TRUE(store.WriteDword("ConnType", 1));
    EXPECT_TRUE(QFileInfo::exists(store.FileName()));
    CSettingsStore again;
    std::string name;
    uint32_t type = 7;
    EXPECT_TRUE(again.ReadString("LastPlayerName", name));
    EXPECT_EQ(name, "Ingrid");
    EXPECT_TRUE(again.ReadDword("ConnType", type));
    EXPECT_EQ(type, 1u);
    EXPECT_FALSE(again.ReadDword("conntype", type)) << "names are case-sensitive";
}

TEST(SettingsStore, ValuesRoundTripWhateverTheyHold) {
    QTemporaryDir dir;
    CSettingsStore store(dir.filePath("values.conf"));
    for (const std::string& value :
         {std::string(), std::string("dword:1"), std::string("a, b; c=d"),
          std::string("  spaced  "), std::string("Åsa Øberg ß"), std::string("@Variant(x)")}) {
        ASSERT_TRUE(store.WriteString("LastPlayerName", value));
        std::string back = "sentinel";
        EXPECT_TRUE(CSettingsStore(store.FileName()).ReadString("LastPlayerName", back)) << value;
        EXPECT_EQ(back, value);
    }
    for (uint32_t value : {0u, 54u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        ASSERT_TRUE(store.WriteDword("Deck", value));
        uint32_t back = 12345;
        EXPECT_TRUE(store.ReadDword("Deck", back));
        EXPECT_EQ(back, value);
    }
}

TEST(SettingsStore, MissingMistypedOrMalformedValuesFailAndLeaveTheOutputAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.conf");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[General]\nUntyped=Alice\nNegative=dword:-1\nTooBig=dword:4294967296\n"
            "Hex=dword:0x10\nEmpty=dword:\nSpaces=dword: 7\nList=sz:a, b\nGood=dword:0009\n");
    f.close();
    CSettingsStore store(path);
    ASSERT_TRUE(store.WriteString("Text", "1"));
    ASSERT_TRUE(store.WriteDword("Number", 5));
    std::string s = "keep";
    uint32_t d = 99;
    for (const char* name :
         {"Missing", "Untyped", "Negative", "TooBig", "Hex", "Empty", "Spaces", "Text"})
        EXPECT_FALSE(store.ReadDword(name, d)) << name;
    for (const char* name : {"Missing", "Untyped", "List", "Number"})
        EXPECT_FALSE(store.ReadString(name, s)) << name;
    EXPECT_EQ(s, "keep");
    EXPECT_EQ(d, 99u);
    EXPECT_TRUE(store.ReadDword("Good", d));
    EXPECT_EQ(d, 9u);
    ASSERT_TRUE(store.WriteDword("Text", 0)); // rewriting with the other type replaces the type
    EXPECT_TRUE(store.ReadDword("Text", d));
    EXPECT_FALSE(store.ReadString("Text", s));
}

TEST(SettingsStore, WritingToAnUnwritablePlaceFails) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("blocked.conf")); // a directory where the file should be
    CSettingsStore store(dir.filePath("blocked.conf"));
    EXPECT_FALSE(store.WriteDword("ConnType", 1));
    uint32_t d = 3;
    EXPECT_FALSE(store.ReadDword("ConnType", d));
    EXPECT_EQ(d, 3u);
}
