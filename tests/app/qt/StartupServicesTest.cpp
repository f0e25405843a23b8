#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/qt/CRunningCopy.h"
#include "platform/qt/DeckSetting.h"
#include "platform/qt/FairPartnersSetting.h"
#include "platform/qt/SettingsStore.h"

TEST(DeckSetting, RoundTripAndMalformedValuesIgnored) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.path() + "/Vesk.conf";
    CSettingsStore store(file);
    int32_t back = 54;
    EXPECT_FALSE(ReadDeckSetting(store, back)); // missing
    EXPECT_EQ(back, 54);
    ASSERT_TRUE(WriteDeckSetting(store, 61));
    EXPECT_TRUE(ReadDeckSetting(CSettingsStore(file), back));
    EXPECT_EQ(back, 61);
    // The faces live beside the back and leave it alone.
    std::string faces = "kept";
    EXPECT_FALSE(ReadFacesSetting(CSettingsStore(file), faces));
    EXPECT_EQ(faces, "kept");
    ASSERT_TRUE(WriteFacesSetting(store, "/usr/share/aisleriot/cards/tango.svgz"));
    EXPECT_TRUE(ReadFacesSetting(CSettingsStore(file), faces));
    EXPECT_EQ(faces, "/usr/share/aisleriot/cards/tango.svgz");
    EXPECT_TRUE(ReadDeckSetting(CSettingsStore(file), back));
    EXPECT_EQ(back, 61);

    for (const char* raw : {"dword:70", "dword:53", "dword:6x", "sz:60"}) {
        SCOPED_TRACE(raw);
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QByteArray("[General]\nDeck=") + raw + "\n");
        }
        // A fresh store: one kept open would not see a rewrite within the same second.
        int32_t kept = 58;
        EXPECT_FALSE(ReadDeckSetting(CSettingsStore(file), kept));
        EXPECT_EQ(kept, 58);
    }
}

TEST(FairPartnersSetting, RoundTripAndOnlyZeroOrOneRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.path() + "/Vesk.conf";
    bool on = false;
    EXPECT_FALSE(ReadFairPartnersSetting(CSettingsStore(file), on)); // missing
    {
        CSettingsStore store(file);
        ASSERT_TRUE(WriteFairPartnersSetting(store, true));
    }
    EXPECT_TRUE(ReadFairPartnersSetting(CSettingsStore(file), on));
    EXPECT_TRUE(on);
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[General]\nFairPartners=dword:2\n");
    }
    on = false;
    EXPECT_FALSE(ReadFairPartnersSetting(CSettingsStore(file), on));
    EXPECT_FALSE(on);
}

TEST(RunningCopy, LaterCopyRaisesTheFirstAndTakesOverADeadOnesSocket) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.path() + "/copy";

    // A dead copy's socket: bound, never listening.
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray path = name.toLocal8Bit();
    ASSERT_LT(static_cast<size_t>(path.size()), sizeof addr.sun_path);
    std::memcpy(addr.sun_path, path.constData(), path.size());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    close(fd);

    CRunningCopy first(name);
    int raised = 0;
    first.onRaise = [&] { ++raised; };
    EXPECT_FALSE(first.Announce());
    ASSERT_TRUE(first.IsListening());

    CRunningCopy second(name);
    EXPECT_TRUE(second.Announce());
    EXPECT_FALSE(second.IsListening());
    ASSERT_TRUE(QTest::qWaitFor([&] { return raised == 1; }, 5000));
}
