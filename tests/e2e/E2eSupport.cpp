#include "tests/e2e/E2eSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <thread>

namespace e2e {

namespace {

// Binds a socket of `type` to 127.0.0.1:`port` (0 = any); returns the port or 0.
int BindLoopback(int type, int port) {
    const int fd = socket(AF_INET, type, 0);
    if (fd < 0) return 0;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t len = sizeof a;
    int bound = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        bound = ntohs(a.sin_port);
    close(fd);
    return bound;
}

// Something listens on TCP `port`, by the kernel's table of sockets.
bool Listening(int port) {
    char pattern[48];
    std::snprintf(pattern, sizeof pattern, ":%04X [0-9A-F]+:[0-9A-F]+ 0A ", port);
    std::ifstream in("/proc/net/tcp");
    const std::string sockets((std::istreambuf_iterator<char>(in)), {});
    return std::regex_search(sockets, std::regex(pattern));
}

bool StartsWith(const std::string& text, const std::string& word) {
    return text.rfind(word, 0) == 0;
}

// Until something listens on TCP `port` (by /proc/net/tcp, so that the listener
// sees no stray connection); false at the limit or once `owner` ended.
bool WaitForListener(int port, Ms timeout, const AppProcess& owner) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline && owner.Running()) {
        if (Listening(port)) return true;
        std::this_thread::sleep_for(Ms(20));
    }
    return false;
}

} // namespace

int FreePort() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int port = BindLoopback(SOCK_STREAM, 0);
        if (port > 0 && port < 65535 && BindLoopback(SOCK_DGRAM, port + 1) == port + 1) return port;
    }
    return 0;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

AppProcess::~AppProcess() {
    Kill();
    for (int fd : {m_outFd, m_errFd})
        if (fd >= 0) close(fd);
}

bool AppProcess::Start(const std::string& program, const std::vector<std::string>& args,
                       const EnvList& env) {
    if (m_pid > 0) return false;
    for (const auto& [name, value] : env)
        setenv(name.c_str(), value.c_str(), 1);
    std::vector<std::string> argStrings = {program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // Close-on-exec, so that later children do not hold this child's pipes open;
    // room for a whole game's output between two looks at it.
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return false;
    for (int fd : {m_outFd = out[0], m_errFd = err[0]}) {
        fcntl(fd, F_SETPIPE_SZ, 1 << 20);
        fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        dup2(out[1], 1);
        dup2(err[1], 2);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    m_pid = pid;
    return pid > 0;
}

// Takes what the child wrote so far out of its pipes.
void AppProcess::Drain() const {
    char buffer[65536];
    for (auto [fd, sink] : {std::pair{m_outFd, &m_out}, std::pair{m_errFd, &m_err}})
        for (ssize_t n; fd >= 0 && (n = read(fd, buffer, sizeof buffer)) > 0;)
            sink->append(buffer, static_cast<size_t>(n));
}

void AppProcess::Reap(bool block) const {
    rusage usage{};
    if (m_pid > 0 && !m_exited && wait4(m_pid, &m_status, block ? 0 : WNOHANG, &usage) == m_pid) {
        m_exited = true;
        m_peakRssKb = usage.ru_maxrss;
    }
}

bool AppProcess::WaitUntil(const std::function<bool()>& done, Ms timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (Reap(false), Drain(); !done(); Reap(false), Drain()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(Ms(20));
    }
    return true;
}

bool AppProcess::WaitForTrace(const std::string& event, int count, Ms timeout) {
    if (m_pid <= 0) return false;
    WaitUntil([&] { return m_exited || CountTrace(event) >= count; }, timeout);
    return CountTrace(event) >= count;
}

bool AppProcess::WaitForExit(Ms timeout) {
    return m_pid > 0 && WaitUntil([&] { return m_exited; }, timeout);
}

int AppProcess::ExitCode() const {
    Reap(false);
    return m_exited && WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
}

bool AppProcess::Running() const {
    Reap(false);
    return m_pid > 0 && !m_exited;
}

// Until reaped, the child's process id cannot go to another process.
void AppProcess::Kill() {
    if (Running()) kill(m_pid, SIGKILL);
    Reap(true);
}

std::string AppProcess::Out() const {
    Drain();
    return m_out;
}

std::string AppProcess::Err() const {
    Drain();
    return m_err;
}

std::vector<TraceLine> AppProcess::Traces() const {
    static const std::regex trace(R"(^vesk-trace: (\d+) (.*)$)");
    std::vector<TraceLine> traces;
    for (const std::string& line : Lines(Err()))
        if (std::smatch m; std::regex_match(line, m, trace))
            traces.push_back({std::stol(m[1]), m[2]});
    return traces;
}

int AppProcess::CountTrace(const std::string& event) const {
    const auto traces = Traces();
    return static_cast<int>(std::count_if(traces.begin(), traces.end(), [&](const TraceLine& t) {
        return StartsWith(t.event, event) &&
               (t.event.size() == event.size() || t.event[event.size()] == ' ');
    }));
}

std::string AppProcess::Describe() const {
    // VESK_E2E_FULL_LOG=1 keeps whole outputs, for chasing a rare failure.
    static const bool full = std::getenv("VESK_E2E_FULL_LOG") != nullptr;
    const auto tail = [](const std::string& s) {
        return s.size() > 1500 && !full ? "..." + s.substr(s.size() - 1500) : s;
    };
    const std::string state = Running() ? "running" : "wait status " + std::to_string(m_status);
    return m_label + " (" + state + ")\n--- stdout:\n" + tail(Out()) + "\n--- stderr:\n" +
           tail(Err()) + "\n";
}

AppProcess& Table::Launch(const std::string& label, std::vector<std::string> args) {
    args.insert(args.end(), {"--pace", "0", "--trace", "--exit-after-game"});
    apps.push_back(std::make_unique<AppProcess>(label));
    const EnvList env = {{"QT_QPA_PLATFORM", "offscreen"},
                         {"VESK_PORT", std::to_string(port)},
                         {"VESK_BROADCAST", "127.255.255.255"},
                         {"VESK_SEED", "12345"}};
    EXPECT_TRUE(apps.back()->Start(VESK_APP_PATH, args, env)) << label;
    return *apps.back();
}

AppProcess& Table::Dealer(const std::string& name, std::vector<std::string> args) {
    args.insert(args.begin(), {"--name", name, "--deal"});
    AppProcess& dealer = Launch(name, std::move(args));
    EXPECT_TRUE(WaitForListener(port, Ms(30000), dealer)) << dealer.Describe();
    return dealer;
}

AppProcess& Table::Joiner(const std::string& name, std::vector<std::string> args) {
    args.insert(args.begin(), {"--name", name, "--join", "127.0.0.1"});
    return Launch(name, std::move(args));
}

bool Table::SeatFour() {
    const char* const names[4] = {"Ann", "Bob", "Cid", "Dee"};
    for (int seat = 1; seat <= 4; ++seat) {
        AppProcess& app =
            seat == 1 ? Dealer(names[0], OwnSeat(1)) : Joiner(names[seat - 1], OwnSeat(seat));
        if (!app.Running()) return false;
    }
    return port > 0 && Listening(port);
}

std::vector<std::string> SheetRows(const std::string& out, bool names) {
    static const std::regex deal(
        R"(^Deal (\d+): contract ([1-9]\d* (?:clubs|diamonds|hearts|spades|no trump)(?: doubled| redoubled)?) by (.+) \| hand points (\d and \d): (\d+), \d and \d: (\d+) \| result (\d and \d): (\d+) \((\S+)\), \d and \d: (\d+) \((\S+)\)$)");
    static const std::regex total(R"(^Total: (\d and \d): (\d+), \d and \d: (\d+)$)");
    // Both partnerships' figures, "1 and 3" first.
    const auto inSeatOrder = [](const std::string& first, const std::string& a,
                                const std::string& b) {
        return first == "1 and 3" ? a + " " + b : b + " " + a;
    };
    std::vector<std::string> rows;
    int sum[2] = {0, 0};
    for (const std::string& line : Lines(out)) {
        std::smatch m;
        if (std::regex_match(line, m, deal)) {
            EXPECT_EQ(m[1].str(), std::to_string(rows.size() + 1)) << line;
            // A deal scores for one side at least; a side's column shows its running
            // total after a deal it scored, else that or a marker.
            EXPECT_GT(std::stoi(m[8]) + std::stoi(m[10]), 0) << line;
            for (int side = 0; side < 2; ++side) {
                const int gained = std::stoi(m[8 + 2 * side]);
                const std::string shown = m[9 + 2 * side],
                                  sofar = std::to_string(sum[side] += gained);
                const bool marker = shown.find_first_not_of("0123456789") != std::string::npos;
                EXPECT_TRUE(shown == sofar || (gained == 0 && marker)) << line;
            }
            rows.push_back(m[1].str() + " " + m[2].str() + (names ? " by " + m[3].str() : "") +
                           " | " + inSeatOrder(m[4], m[5], m[6]) + " | " +
                           inSeatOrder(m[7], m[8].str() + " (" + m[9].str() + ")",
                                       m[10].str() + " (" + m[11].str() + ")"));
        } else if (std::regex_match(line, m, total)) {
            EXPECT_EQ(m[2].str() + " " + m[3].str(),
                      std::to_string(sum[0]) + " " + std::to_string(sum[1]));
            rows.push_back("Total " + inSeatOrder(m[1], m[2], m[3]));
        } else {
            ADD_FAILURE() << "not a line of the score sheet: " << line;
        }
    }
    return rows;
}

std::vector<std::string> OwnSeat(int seat) {
    return {"--seat", std::to_string(seat), "--start", "--autoplay"};
}

std::vector<std::string> LoneSeat(int seat, const std::vector<std::string>& more) {
    std::vector<std::string> args = OwnSeat(seat);
    for (int k = 1; k <= 4; ++k)
        if (k != seat) args.insert(args.end(), {"--partner", std::to_string(k)});
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

bool FinishedGame(const std::vector<std::string>& rows) {
    static const std::regex total(R"(^Total (\d+) (\d+)$)");
    std::smatch m;
    return rows.size() >= 3 && std::regex_match(rows.back(), m, total) &&
           (std::stoi(m[1]) > 300 || std::stoi(m[2]) > 300);
}

void ExpectAgreeingSheets(const std::vector<AppProcess*>& apps, Ms limit, bool names) {
    for (AppProcess* app : apps) {
        ASSERT_TRUE(app->WaitForExit(limit)) << "time limit\n" << app->Describe();
        ASSERT_EQ(app->ExitCode(), 0) << app->Describe();
    }
    const std::vector<std::string> rows = SheetRows(apps.front()->Out(), names);
    EXPECT_TRUE(FinishedGame(rows)) << apps.front()->Describe();
    for (AppProcess* app : apps)
        EXPECT_EQ(SheetRows(app->Out(), names), rows) << app->Describe();
}

int CardsBetween(const AppProcess& app, const std::string& from, const std::string& to) {
    const std::vector<TraceLine> traces = app.Traces();
    auto t = std::find_if(traces.begin(), traces.end(),
                          [&](const TraceLine& l) { return StartsWith(l.event, from); });
    int cards = 0;
    for (t = t == traces.end() ? t : t + 1; t != traces.end() && !StartsWith(t->event, to); ++t)
        cards += StartsWith(t->event, "card ") ? 1 : 0;
    return cards;
}

} // namespace e2e
