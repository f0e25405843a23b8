// Several programs at one table, each in its own process: this process is
// the dealer, the others run the NetPeer helper.
#include <gtest/gtest.h>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "net/Conn.h"
#include "net/NetLibrary.h"
#include "tests/net/NetTestSupport.h"

extern char** environ;
using namespace nettest;

namespace {
// Waits (bounded) for a helper to end; kills it when it does not.
bool Reap(pid_t pid) {
    int status = 0;
    if (WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }))
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return false;
}

// Calls Synchro the way the game does, until it reports all idle; bounded.
short SynchroUntilIdle(CConn& conn) {
    short s = -1;
    for (int i = 0; i < 100 && s != 0; ++i) {
        s = conn.Synchro();
        if (s != 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return s;
}

void RunTable(int peers) {
    isBusy = 0;
    const uint16_t port = FreePortPair();
    CConn::SetPort(port);
    QueueSink sink;
    CConn conn;
    ConnChoices c;
    c.name = "Host";
    c.connType = 1;
    conn.SetChoices(c);
    ASSERT_EQ(conn.Init(&sink), 1);
    std::vector<pid_t> pids;
    std::string portText = std::to_string(port);
    char* argv[] = {const_cast<char*>(VESK_NET_PEER), portText.data(), const_cast<char*>("Peer"),
                    nullptr};
    for (int i = 0; i < peers; ++i) {
        pid_t pid = -1;
        ASSERT_EQ(posix_spawn(&pid, VESK_NET_PEER, nullptr, nullptr, argv, environ), 0);
        pids.push_back(pid);
    }
    ASSERT_TRUE(WaitUntil([&] { // the peers may attach in either order
        int humans = 0;
        for (int i = 0; i < kMaxUsers; ++i)
            humans += g_UsersList[i].name[0] && g_UsersList[i].owner == i;
        return humans == peers + 1;
    }));
    EXPECT_EQ(SynchroUntilIdle(conn), 0);
    // Every peer keeps one notification unhandled: the probe sees them all.
    conn.BroadcastCmd(-1, kHold, "hold", -1);
    EXPECT_EQ(conn.Synchro(), peers);
    conn.BroadcastCmd(-1, kHold, "release", -1);
    EXPECT_EQ(SynchroUntilIdle(conn), 0);
    conn.Done();
    for (pid_t pid : pids)
        EXPECT_TRUE(Reap(pid));
    CConn::SetPort(0);
}
} // namespace

TEST(MultiProgram, SynchroWithThreePrograms) {
    RunTable(2);
}
