#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "app/CFeedbackMail.h"
#include "app/qt/CAboutDialog.h"

namespace {

struct Launch {
    std::string program;
    std::vector<std::string> arguments;
};

// Records what would be started instead of starting it.
CFeedbackMail::Launcher Recorder(std::vector<Launch>& launches, bool result = true) {
    return [&launches, result](const std::string& program, const std::vector<std::string>& args) {
        launches.push_back({program, args});
        return result;
    };
}

void MakeFile(const QString& path, bool executable) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nexit 1\n");
    file.close();
    QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
    if (executable) p |= QFile::ExeOwner;
    ASSERT_TRUE(file.setPermissions(p));
}

} // namespace

TEST(FeedbackMail, FindsOnlyAnExecutableComposerOnThePath) {
    QTemporaryDir a, b;
    ASSERT_TRUE(a.isValid() && b.isValid());
    const std::string dirA = a.path().toStdString(), dirB = b.path().toStdString();
    const std::string path = "/nonexistent-vesk::" + dirA + ":" + dirB + "/";
    std::vector<Launch> launches;

    EXPECT_FALSE(CFeedbackMail(path, Recorder(launches)).Available());
    MakeFile(a.path() + "/xdg-email", false); // not executable: skipped
    EXPECT_FALSE(CFeedbackMail(path, Recorder(launches)).Available());
    MakeFile(b.path() + "/xdg-email", true);
    CFeedbackMail found(path, Recorder(launches));
    EXPECT_EQ(found.Program(), dirB + "/xdg-email");
    MakeFile(a.path() + "/xdg-email", true); // the earlier folder wins
    EXPECT_EQ(CFeedbackMail(path, Recorder(launches)).Program(), dirA + "/xdg-email");
    EXPECT_TRUE(launches.empty());
}

TEST(FeedbackMail, ComposesTheMessageAndNeverLaunchesWithoutAClient) {
    std::vector<Launch> launches;
    const auto none = [](const std::string&) { return false; };
    const auto any = [](const std::string&) { return true; };

    EXPECT_FALSE(CFeedbackMail("/usr/bin", Recorder(launches), none).Send());
    EXPECT_TRUE(launches.empty());

    CFeedbackMail mail("/opt/mail:/usr/bin", Recorder(launches), any);
    ASSERT_TRUE(mail.Send());
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].program, "/opt/mail/xdg-email");
    const std::vector<std::string> expected = {
        "--subject", "Sent From VeskApp.exe sernum(1009)", "--body", "Dear Medra,\n",
        "Vesk feedback <vesk-feedback@users.noreply.github.com>"};
    EXPECT_EQ(launches[0].arguments, expected);

    EXPECT_FALSE(CFeedbackMail("/usr/bin", Recorder(launches, false), any).Send());
}

TEST(FeedbackMail, AskMeButtonFollowsAvailability) {
    std::vector<Launch> launches;
    const CFeedbackMail missing("/usr/bin", Recorder(launches),
                                [](const std::string&) { return false; });
    CAboutDialog without(missing);
    EXPECT_EQ(without.windowTitle(), "Write Me");
    EXPECT_EQ(without.AskButton()->text(), "&Ask me");
    EXPECT_FALSE(without.AskButton()->isEnabled());

    const CFeedbackMail present("/usr/bin", Recorder(launches),
                                [](const std::string&) { return true; });
    CAboutDialog with(present);
    ASSERT_TRUE(with.AskButton()->isEnabled());
    with.AskButton()->click();
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].arguments.back(), CFeedbackMail::Recipient());
}
