#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <tuple>
#include <unistd.h>

#include "app/qt/CRunningCopy.h"
#include "platform/qt/DeckSetting.h"
#include "platform/qt/FairPartnersSetting.h"
#include "platform/qt/SettingsStore.h"

namespace {

// A settings file in a fresh folder; the store is made afresh for each read, as one
// kept open would not see a rewrite within the same second.
class SettingsFile : public testing::Test {
protected:
    QTemporaryDir dir;
    const QString file = dir.path() + "/Vesk.conf";
    void WriteRaw(const QByteArray& line) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[General]\n" + line + "\n");
    }
};

} // namespace

// The deck, the faces and the fair partners round-trip side by side; a missing or
// malformed value is not read.
TEST_F(SettingsFile, ValuesRoundTripAndMalformedOnesAreIgnored) {
    ASSERT_TRUE(dir.isValid());
    CSettingsStore store(file);
    int32_t back = 54;
    bool on = false;
    EXPECT_FALSE(ReadDeckSetting(store, back) || ReadFairPartnersSetting(store, on));
    EXPECT_EQ(std::tuple(back, on), std::tuple(54, false));
    ASSERT_TRUE(WriteFairPartnersSetting(store, true));
    ASSERT_TRUE(WriteDeckSetting(store, 61));
    // The faces live beside the back and leave it alone.
    std::string faces;
    ASSERT_TRUE(WriteFacesSetting(store, "/tmp/faces.svgz"));
    EXPECT_TRUE(ReadFacesSetting(CSettingsStore(file), faces) &&
                ReadDeckSetting(CSettingsStore(file), back) &&
                ReadFairPartnersSetting(CSettingsStore(file), on));
    EXPECT_EQ(std::tuple(faces, back, on), std::tuple("/tmp/faces.svgz", 61, true));
    for (const char* raw : {"Deck=dword:70", "Deck=dword:53", "Deck=dword:6x", "Deck=sz:60",
                            "FairPartners=dword:2"}) {
        WriteRaw(raw);
        int32_t kept = 58;
        bool fair = false;
        EXPECT_FALSE(ReadDeckSetting(CSettingsStore(file), kept) ||
                     ReadFairPartnersSetting(CSettingsStore(file), fair))
            << raw;
        EXPECT_EQ(std::tuple(kept, fair), std::tuple(58, false)) << raw;
    }
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
