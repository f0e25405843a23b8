// The per-user settings: typed values that round-trip, and malformed or
// mistyped ones that read like missing ones.
#include <gtest/gtest.h>

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
    ASSERT_TRUE(store.WriteDword("ConnType", 1));
    EXPECT_TRUE(QFileInfo::exists(store.FileName()));
    CSettingsStore again;
    std::string name;
    uint32_t type = 7;
    EXPECT_TRUE(again.ReadDword("ConnType", type));
    EXPECT_EQ(type, 1u);
    EXPECT_FALSE(again.ReadDword("conntype", type)) << "names are case-sensitive";
    for (const std::string value : {"Ingrid", "dword:1", "a, b; c=d", "@Variant(x)", "  Åsa  "}) {
        ASSERT_TRUE(store.WriteString("LastPlayerName", value));
        EXPECT_TRUE(CSettingsStore().ReadString("LastPlayerName", name));
        EXPECT_EQ(name, value) << "a text that looks like a typed value stays a text";
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
