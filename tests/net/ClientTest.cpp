// The connection object as the program uses it: Init, the notifications,
// sending, Synchro, a lost dealer and Done. One CConn per process, against an
// in-process dealer server or a fake dealer speaking raw frames.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "net/ClientLink.h"
#include "net/Conn.h"
#include "net/NetLibrary.h"
#include "tests/net/FakeNetUi.h"
#include "tests/net/NetTestSupport.h"

using namespace nettest;

namespace {
std::string Name(int i) {
    return std::string(g_UsersList[i].name, strnlen(g_UsersList[i].name, 20));
}

int Humans() {
    int n = 0;
    for (int i = 0; i < kMaxUsers; ++i)
        if (g_UsersList[i].name[0] && g_UsersList[i].owner == i) ++n;
    return n;
}

bool IsDetachOf(const Notice& n, uint16_t user) {
    return n.command == NET_DETACH && n.user == user;
}

// A dealer that speaks raw frames: accepts one connection, keeps its login
// request and, when asked, answers it with a list of "Dealer" and "Me" (id 1).
class FakeDealer {
public:
    FakeDealer() {
        listenFd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listenFd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(listenFd, 4);
        socklen_t len = sizeof a;
        getsockname(listenFd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~FakeDealer() {
        if (server.joinable()) server.join();
        if (fd >= 0) close(fd);
        close(listenFd);
    }
    void Serve(bool answer) {
        server = std::thread([this, answer] {
            pollfd p{listenFd, POLLIN, 0};
            if (poll(&p, 1, kWaitMs) <= 0) return;
            fd = accept(listenFd, nullptr, nullptr);
            uint8_t request[56];
            size_t have = 0;
            while (have < sizeof request) {
                ssize_t n = recv(fd, request + have, sizeof request - have, 0);
                if (n <= 0) return;
                have += static_cast<size_t>(n);
            }
            loginRequest.assign(request, request + 56);
            if (!answer) return;
            std::vector<uint8_t> reply(6686, 0);
            std::memcpy(reply.data(), request, 56);
            PutU16(reply.data() + 16, 1);
            PutU32(reply.data() + 12, 6686);
            USERINFO list[kMaxUsers] = {};
            std::strcpy(list[0].name, "Dealer");
            std::strcpy(list[1].name, "Me");
            list[1].owner = 1;
            list[1].aux = 0xFFFF;
            std::memcpy(reply.data() + 56, list, sizeof list);
            send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
        });
    }
    void Send(const std::vector<uint8_t>& bytes) {
        send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    int listenFd = -1;
    int fd = -1;
    uint16_t port = 0;
    std::thread server;
    std::vector<uint8_t> loginRequest;
};

// Every test leaves the library as it found it.
class ClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        isBusy = 0;
        std::memset(g_UsersList, 0, sizeof g_UsersList);
    }
    void TearDown() override {
        conn.Done();
        EXPECT_EQ(CNetLibrary::Instance().m_running.load(), 0);
        CConn::SetPort(0);
        isBusy = 0;
    }
    // Joins the dealer on `port` at 127.0.0.1 as `name`.
    int Join(uint16_t port, const std::string& name, HWND window, int connType = 0,
             const char* host = "127.0.0.1") {
        CConn::SetPort(port);
        ConnChoices c;
        c.name = name;
        c.connType = connType;
        c.dealerHost = host;
        conn.SetChoices(c);
        return conn.Init(window);
    }
    int JoinFake(FakeDealer& fake) {
        const int r = Join(fake.port, "Me", &sink);
        if (fake.server.joinable()) fake.server.join();
        return r;
    }
    // A raw client "Ann" (id 0) at the dealer, and this program joined as "Bob" (id 1).
    void AnnAndBob(TestDealer& d, RawClient& ann, QueueSink& window) {
        ASSERT_TRUE(d.Start());
        ASSERT_TRUE(ann.Connect(d.Port()));
        ASSERT_EQ(ann.Login("Ann"), 0);
        ASSERT_EQ(Join(d.Port(), "Bob", &window), 1);
        ASSERT_EQ(conn.m_nUserId, 1);
    }
    // The program's window outlives Done, as in the program.
    QueueSink sink;
    QueueSink heldSink{false};
    CConn conn;
};
} // namespace

TEST_F(ClientTest, InitWithoutDialogsOrChoicesIsCancelled) {
    EXPECT_EQ(conn.Init(&sink), 0);
    EXPECT_EQ(CNetLibrary::Instance().m_running.load(), 0);
    EXPECT_EQ(sink.Count(), 0u);
}

TEST_F(ClientTest, DealerInitConnectsToItselfAndAnnouncesItself) {
    ASSERT_EQ(Join(FreePortPair(), "", &sink, 1), 1); // empty name: plays as Player
    EXPECT_EQ(conn.m_nUserId, 0);
    EXPECT_STREQ(conn.m_szName, "Player");
    EXPECT_NE(conn.IcantExit(), 0);
    auto first = sink.WaitFor([](const Notice&) { return true; });
    ASSERT_TRUE(first);
    EXPECT_EQ(first->command, NET_ATTACH);
    EXPECT_EQ(first->user, 0);
    EXPECT_EQ(first->text, "Player");
    EXPECT_EQ(g_UsersList[0].owner, 0);
    RawClient other;
    ASSERT_TRUE(other.Connect(CNetLibrary::Instance().TcpPort()));
    ASSERT_EQ(other.Login("Player"), 1);
    ASSERT_TRUE(other.Send(MakeFrame(1, 0xFFFF, NET_ATTACH, 0, "Player_1")));
    auto attach = sink.WaitForCommand(NET_ATTACH);
    ASSERT_TRUE(attach);
    EXPECT_EQ(attach->user, 1);
    EXPECT_EQ(Name(1), "Player_1");
    conn.Done();
    auto detach = other.ReadCommand(NET_DETACH);
    ASSERT_TRUE(detach) << "our leave notice went out before the dealer closed";
    EXPECT_EQ(TextOf(*detach), "Player");
    EXPECT_TRUE(other.WaitClosed());
    EXPECT_EQ(Name(0), "");
}

TEST_F(ClientTest, UsersAtTheTableAreAnnouncedInOrderBeforeAnythingElse) {
    TestDealer d;
    ASSERT_TRUE(d.Start());
    RawClient a;
    ASSERT_TRUE(a.Connect(d.Port()));
    ASSERT_EQ(a.Login("Ann"), 0);
    ASSERT_TRUE(a.Send(MakeU16Frame(0, 0xFFFF, NET_PLACESTATE, 0x8002)));
    ASSERT_TRUE(a.ReadCommand(NET_PLACESTATE));
    ASSERT_EQ(Join(d.Port(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ", &sink), 1);
    EXPECT_STREQ(conn.m_szName, "ABCDEFGHIJKLMNOPQR") << "a long name is cut to eighteen";
    ASSERT_TRUE(WaitUntil([&] { return sink.Count() >= 3; }));
    auto n = sink.Snapshot();
    EXPECT_EQ(n[0].command, NET_ATTACH);
    EXPECT_EQ(n[0].user, 0);
    EXPECT_EQ(n[0].text, "Ann");
    EXPECT_EQ(n[1].command, NET_PLACESTATE);
    EXPECT_EQ(n[1].value, static_cast<intptr_t>(static_cast<int16_t>(0x8002)));
    EXPECT_EQ(n[2].command, NET_ATTACH);
    EXPECT_EQ(n[2].user, 1);
    EXPECT_EQ(n[2].text, "ABCDEFGHIJKLMNOPQR");
    auto attach = a.ReadCommand(NET_ATTACH);
    ASSERT_TRUE(attach) << "Ann hears our attach";
    EXPECT_EQ(HeaderOf(*attach).from, 1);
}

TEST_F(ClientTest, SendingCountsAndEchoes) {
    TestDealer d;
    RawClient a;
    AnnAndBob(d, a, sink);
    conn.BroadcastCmd(-1, 9, "card", -1);
    auto echo = sink.WaitForCommand(9, 0);
    ASSERT_TRUE(echo) << "the echo was waited for: it is already in the queue";
    EXPECT_EQ(echo->text, "card");
    EXPECT_EQ(echo->user, 1);
    auto atA = a.ReadCommand(9);
    ASSERT_TRUE(atA);
    EXPECT_EQ(HeaderOf(*atA).seq, 0u);
    // Ann sends with her count (1); we then send with seq 2.
    ASSERT_TRUE(a.Send(MakeFrame(0, 0xFFFF, 10, a.counted, "from ann")));
    ASSERT_TRUE(sink.WaitForCommand(10));
    conn.BroadcastCmd(-1, 11, "again", 105);
    atA = a.ReadCommand(11);
    ASSERT_TRUE(atA);
    EXPECT_EQ(HeaderOf(*atA).seq, 2u);
    EXPECT_EQ(HeaderOf(*atA).from, 105);
    conn.BroadcastCmd(-1, 1, "chat", -1); // not counted
    conn.BroadcastCmd(-1, 12, "after chat", -1);
    atA = a.ReadCommand(12);
    ASSERT_TRUE(atA);
    EXPECT_EQ(HeaderOf(*atA).seq, 3u);
    // To one user: no echo is waited for.
    conn.BroadcastCmd(0, 13, "only ann", -1);
    atA = a.ReadCommand(13);
    ASSERT_TRUE(atA);
    EXPECT_EQ(HeaderOf(*atA).to, 0);
    EXPECT_FALSE(sink.WaitForCommand(13, 100));
    conn.SetPlaceState(static_cast<short>(0x8001), -1);
    auto state = sink.WaitForCommand(NET_PLACESTATE);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->value, -32767) << "sign-extended";
    EXPECT_FALSE(state->hadString);
}

TEST_F(ClientTest, BusyProbeIsAnsweredWithOwnCount) {
    TestDealer d;
    RawClient a;
    AnnAndBob(d, a, heldSink); // the program has handled nothing yet
    ASSERT_TRUE(WaitUntil([&] { return heldSink.Count() == 2; }));
    ASSERT_TRUE(a.Send(MakeFrame(0, 0xFFFF, NET_ATTACH, 0, "")));
    auto reply = a.ReadCommand(NET_SYNCREPLY);
    ASSERT_TRUE(reply);
    EXPECT_EQ(HeaderOf(*reply).to, 0);
    EXPECT_EQ(HeaderOf(*reply).from, 1);
    EXPECT_EQ(GetU16(reply->data() + 16), 2);
    EXPECT_EQ(heldSink.Count(), 2u) << "the probe itself is not posted";
}

TEST_F(ClientTest, SynchroWithTwoPrograms) {
    TestDealer d;
    RawClient a;
    AnnAndBob(d, a, sink);
    ASSERT_TRUE(a.ReadCommand(NET_ATTACH));
    ASSERT_EQ(Humans(), 2);
    std::thread answerer([&] { // Ann answers each probe: first busy 3, then 0
        for (uint16_t busy : {3, 0}) {
            auto probe = a.ReadCommand(NET_ATTACH);
            if (!probe) return;
            a.Send(MakeU16Frame(0, HeaderOf(*probe).from, NET_SYNCREPLY, busy));
        }
    });
    EXPECT_EQ(conn.Synchro(), 3);
    EXPECT_EQ(conn.Synchro(), 0);
    answerer.join();
    isBusy = 2; // a notice unhandled here: Synchro answers at once
    EXPECT_EQ(conn.Synchro(), 2);
    EXPECT_TRUE(a.Quiet(100)) << "no probe went out";
    isBusy = 0;
}

TEST_F(ClientTest, SynchroAloneSendsNothing) {
    TestDealer d;
    ASSERT_TRUE(d.Start());
    ASSERT_EQ(Join(d.Port(), "Solo", &sink), 1);
    RawClient spy; // logged in but not a user in our list yet
    ASSERT_TRUE(spy.Connect(d.Port()));
    ASSERT_GE(spy.Login("Spy"), 0);
    EXPECT_EQ(Humans(), 1);
    EXPECT_EQ(conn.Synchro(), 0);
    EXPECT_TRUE(spy.Quiet(100));
}

TEST_F(ClientTest, LostDealerPostsDetachForEveryNamedUser) {
    TestDealer d;
    ASSERT_TRUE(d.Start());
    RawClient a;
    ASSERT_TRUE(a.Connect(d.Port()));
    ASSERT_EQ(a.Login("Ann"), 0);
    ASSERT_TRUE(a.Send(MakeFrame(0, 0xFFFF, NET_ADDAUTO, 0, "\x01", false)));
    ASSERT_TRUE(a.ReadCommand(NET_ADDAUTO));
    ASSERT_EQ(Join(d.Port(), "Bob", &sink), 1);
    ASSERT_TRUE(
        sink.WaitFor([](const Notice& n) { return n.command == NET_ATTACH && n.user == 1; }));
    d.Stop();
    std::vector<uint16_t> gone;
    for (int i = 0; i < 3; ++i) {
        auto n = sink.WaitForCommand(NET_DETACH);
        ASSERT_TRUE(n) << i;
        gone.push_back(n->user);
    }
    EXPECT_EQ(gone, (std::vector<uint16_t>{0, 1, 101}));
    ASSERT_TRUE(WaitUntil([] { return !CNetLibrary::Instance().m_client; }));
    EXPECT_EQ(Name(0), "Ann") << "the list is left as it was";
    const size_t before = sink.Count();
    conn.BroadcastCmd(-1, 9, "nobody hears", -1);
    conn.SetPlaceState(1, -1);
    EXPECT_EQ(conn.Synchro(), 0);
    EXPECT_EQ(sink.Count(), before);
}

TEST_F(ClientTest, FailedJoinsSayWhyAndLeaveNothingRunning) {
    FakeNetUi ui;
    UiScope scope(&ui);
    const int saved = CNetLibrary::s_loginWaitMs;
    CNetLibrary::s_loginWaitMs = 300;
    {
        TestDealer full; // a full list: the login is never answered
        for (int i = 0; i < kMaxUsers; ++i)
            full.Server().Users().Admit("U");
        ASSERT_TRUE(full.Start());
        EXPECT_EQ(Join(full.Port(), "Late", &sink), 0);
        EXPECT_EQ(ui.welcomeCalls, 1u) << "asked again, and cancelled";
        EXPECT_FALSE(CNetLibrary::Instance().m_client);
    }
    {
        TestDealer d; // listening here: an address that did not resolve must not reach it
        ASSERT_TRUE(d.Start());
        EXPECT_EQ(Join(d.Port(), "Me", &sink, 0, "0.0.0.0"), 0);
        EXPECT_FALSE(d.Server().Users().IsTaken(0));
    }
    CNetLibrary::s_loginWaitMs = saved;
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>(2, "Connection to Vesk Server Failed.")));
    EXPECT_EQ(Join(FreePortPair(), "Me", &sink), 0) << "nobody listening";
    EXPECT_EQ(CNetLibrary::Instance().m_running.load(), 0);
}

TEST_F(ClientTest, DealerThatNeverAnswersTheLoginFails) {
    FakeDealer fake;
    fake.Serve(false);
    const int saved = CNetLibrary::s_loginWaitMs;
    CNetLibrary::s_loginWaitMs = 300;
    EXPECT_EQ(JoinFake(fake), 0);
    CNetLibrary::s_loginWaitMs = saved;
    ASSERT_EQ(fake.loginRequest.size(), 56u);
    // From and to 0xFFFF, command 16, version 1008, seq 0, length 56, the name.
    const uint8_t head[16] = {0xFF, 0xFF, 0xFF, 0xFF, 16, 0, 0xF0, 0x03, 0, 0, 0, 0, 56, 0, 0, 0};
    EXPECT_EQ(std::memcmp(fake.loginRequest.data(), head, 16), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(fake.loginRequest.data() + 16), "Me");
    for (size_t i = 19; i < 56; ++i)
        EXPECT_EQ(fake.loginRequest[i], 0) << i;
}

TEST_F(ClientTest, DealerPortInUseIsReportedAndTheWelcomeDialogComesBack) {
    TestDealer other;
    const uint16_t port = FreePortPair();
    ASSERT_TRUE(other.Start(port, static_cast<uint16_t>(port + 1)));
    FakeNetUi ui;
    ui.welcomes = {{"Dan", 1}};
    UiScope scope(&ui);
    CConn::SetPort(port);
    EXPECT_EQ(conn.Init(&sink), 0);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Vesk dealer already started on this PC."});
    EXPECT_EQ(ui.welcomeCalls, 2u);
}

TEST(DealerPorts, PrivilegedPortWithoutTheRightSaysHowToChooseAnother) {
    // Run as an unprivileged user in a child process, so that binding a port
    // below 1024 is refused with EACCES.
    int pipeFd[2];
    ASSERT_EQ(pipe(pipeFd), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        close(pipeFd[0]);
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        ManualResetEvent stop;
        CDealerServer server(stop);
        std::string error;
        if (server.Open(250, 251, error)) error = "opened";
        (void)!write(pipeFd[1], error.data(), error.size());
        _exit(0);
    }
    close(pipeFd[1]);
    std::string text;
    char buf[512];
    ssize_t n;
    while ((n = read(pipeFd[0], buf, sizeof buf)) > 0)
        text.append(buf, static_cast<size_t>(n));
    close(pipeFd[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot drop privileges";
    if (text == "opened") GTEST_SKIP() << "this system lets everybody bind low ports";
    EXPECT_NE(text.find("VESK_PORT"), std::string::npos) << text;
    EXPECT_NE(text.find("--port"), std::string::npos) << text;
    EXPECT_EQ(text.find("already started"), std::string::npos) << text;
}

TEST_F(ClientTest, OversizedFrameFromTheDealerEndsTheConnection) {
    FakeDealer fake;
    fake.Serve(true);
    ASSERT_EQ(JoinFake(fake), 1);
    auto f = MakeFrame(0, 0xFFFF, 9, 0, "x");
    PutU32(f.data() + 12, 9000);
    fake.Send(f);
    auto a = sink.WaitFor([](const Notice& n) { return IsDetachOf(n, 0); });
    auto b = sink.WaitFor([](const Notice& n) { return IsDetachOf(n, 1); });
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->text, "Dealer");
    EXPECT_EQ(b->text, "Me");
    EXPECT_TRUE(WaitUntil([] { return !CNetLibrary::Instance().m_client; }));
}

TEST_F(ClientTest, UnterminatedPayloadAndStrangeSendersFromTheDealer) {
    FakeDealer fake;
    fake.Serve(true);
    ASSERT_EQ(JoinFake(fake), 1);
    fake.Send(MakeFrame(300, 0xFFFF, 9, 0, "from nowhere"));
    fake.Send(MakeFrame(0, 0xFFFF, NET_PLACESTATE, 0, "", false)); // no state bytes
    fake.Send(MakeFrame(0, 0xFFFF, 1, 0, "abc", false));
    auto n = sink.WaitForCommand(1);
    ASSERT_TRUE(n);
    EXPECT_EQ(n->text, "abc");
    for (const Notice& x : sink.Snapshot())
        EXPECT_NE(x.command, 9);
    fake.Send(MakeFrame(7, 0xFFFF, NET_ATTACH, 0, std::string(30, 'q')));
    auto at = sink.WaitFor([](const Notice& x) { return x.command == NET_ATTACH && x.user == 7; });
    ASSERT_TRUE(at);
    EXPECT_EQ(at->text, std::string(19, 'q')) << "a long attach name is cut to the list entry";
    EXPECT_EQ(g_UsersList[7].name[19], 0);
}

TEST_F(ClientTest, LoginReplyOfTheWrongSizeVersionCommandOrIdFails) {
    std::vector<uint8_t> reply(6686, 0);
    FrameHeader h;
    h.command = NET_LOGIN;
    const std::vector<uint8_t> payload(6670, 0);
    EncodeFrame(reply.data(), h, payload.data(), payload.size());
    EXPECT_EQ(CClientLink::TakeLoginReply(reply.data(), reply.size()), 0);
    EXPECT_EQ(CClientLink::TakeLoginReply(reply.data(), 6685), -1);
    const std::pair<int, uint16_t> changes[] = {{6, 1009}, {4, 9}, {16, 255}};
    for (const auto& [offset, value] : changes) {
        std::vector<uint8_t> bad = reply;
        PutU16(bad.data() + offset, value);
        EXPECT_EQ(CClientLink::TakeLoginReply(bad.data(), bad.size()), -1) << offset;
    }
}

TEST_F(ClientTest, SendersRacingALostConnectionStaySafe) {
    TestDealer d;
    ASSERT_TRUE(d.Start());
    ASSERT_EQ(Join(d.Port(), "Bob", &sink), 1);
    std::atomic<bool> stop{false};
    std::thread sender([&] {
        for (int i = 0; i < 2000 && !stop; ++i) {
            conn.BroadcastCmd(5, 9, "to nobody", -1); // single target: no waiting
            conn.SetPlaceState(static_cast<short>(i), -1);
        }
    });
    d.Stop();
    ASSERT_TRUE(sink.WaitFor([](const Notice& n) { return IsDetachOf(n, 0); }));
    stop = true;
    sender.join();
    EXPECT_TRUE(WaitUntil([] { return !CNetLibrary::Instance().m_client; }));
}

TEST_F(ClientTest, DoneEndsEveryThreadWithinItsBound) {
    const uint16_t port = FreePortPair();
    ASSERT_EQ(Join(port, "Dealer", &sink, 1), 1);
    RawClient half;
    ASSERT_TRUE(half.Connect(CNetLibrary::Instance().TcpPort()));
    ASSERT_TRUE(half.SendRaw("\x01\x02\x03", 3)); // a stalled half frame
    EXPECT_GT(CNetLibrary::Instance().m_running.load(), 0);
    const auto start = std::chrono::steady_clock::now();
    conn.Done();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(CNetLibrary::Instance().m_running.load(), 0);
    EXPECT_LT(took, std::chrono::milliseconds(CNetLibrary::s_shutdownWaitMs));
    EXPECT_TRUE(half.WaitClosed());
    ASSERT_EQ(Join(port, "Dealer", &sink, 1), 1) << "ready for another Init";
}
