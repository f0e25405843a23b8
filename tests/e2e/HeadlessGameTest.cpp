// VeskApp as the dealer with three computer partners and AutoPlay plays one
// game on the loopback interface, prints the score sheet and exits.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

// A TCP port the system just handed out on 127.0.0.1 (and its successor is the
// discovery port, which the dealer binds as well).
int FreePort() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        if (fd < 0) return 0;
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        int port = 0;
        if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
            getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
            port = ntohs(a.sin_port);
        close(fd);
        if (port > 0 && port < 65534) return port;
    }
    return 0;
}

struct RunResult {
    bool finished = false; // exited on its own before the time limit
    int exitCode = -1;
    std::string out;
};

// Runs the program with `args`, collecting its standard output; killed after `limit`.
RunResult RunApp(const std::vector<std::string>& args, int port, std::chrono::seconds limit) {
    RunResult r;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return r;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);

    std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen",
                                    "VESK_PORT=" + std::to_string(port)};
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("VESK_PORT=", 0) != 0)
            env.push_back(entry);
    }
    std::vector<std::string> argv = {VESK_APP_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argp, envp;
    for (auto& a : argv)
        argp.push_back(a.data());
    argp.push_back(nullptr);
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, VESK_APP_PATH, &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return r;
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{pipeFds[0], POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break; // the program closed its output: it is ending
        r.out.append(buffer, static_cast<size_t>(n));
    }
    close(pipeFds[0]);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            r.finished = std::chrono::steady_clock::now() < deadline;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return r;
        }
        usleep(20000);
    }
    if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    return r;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(E2eHeadlessGame, DealerWithThreeComputerPartnersPlaysAGameAndPrintsTheSheet) {
    const int port = FreePort();
    ASSERT_GT(port, 0);
    const RunResult run =
        RunApp({"--name", "P", "--deal", "--seat", "1", "--partner", "2", "--partner", "3",
                "--partner", "4", "--start", "--autoplay", "--pace", "0", "--exit-after-game"},
               port, std::chrono::seconds(120));
    ASSERT_TRUE(run.finished) << "still running at the time limit; output so far:\n" << run.out;
    ASSERT_EQ(run.exitCode, 0) << run.out;

    const std::regex dealLine(
        R"(^Deal (\d+): contract (\d+) (clubs|diamonds|hearts|spades|no trump)( doubled| redoubled)? by (.+) \(seat ([1-4])\) \| hand points 1 and 3: (\d+), 2 and 4: (\d+) \| result 1 and 3: (\d+) \((\S+)\), 2 and 4: (\d+) \((\S+)\)$)");
    const std::regex totalLine(R"(^Total: 1 and 3: (\d+), 2 and 4: (\d+)$)");
    int deals = 0;
    int sum[2] = {0, 0};
    bool sawTotal = false;
    int total[2] = {0, 0};
    for (const std::string& line : Lines(run.out)) {
        std::smatch m;
        if (std::regex_match(line, m, dealLine)) {
            ASSERT_FALSE(sawTotal) << "a deal after the totals: " << line;
            ++deals;
            EXPECT_EQ(std::stoi(m[1]), deals) << line;
            EXPECT_GT(std::stoi(m[2]), 0) << line;
            // The sheet's column: the running total after a deal that scored, else a marker.
            for (int side = 0; side < 2; ++side) {
                const int gained = std::stoi(m[side == 0 ? 9 : 11]);
                const std::string shown = m[side == 0 ? 10 : 12];
                EXPECT_GE(gained, 0) << line;
                sum[side] += gained;
                if (gained > 0)
                    EXPECT_EQ(shown, std::to_string(sum[side])) << line;
                else
                    EXPECT_TRUE(shown.find_first_not_of("0123456789") != std::string::npos ||
                                shown == std::to_string(sum[side]))
                        << line;
            }
            // A deal always scores for one side at least (the contract's value goes somewhere).
            EXPECT_GT(std::stoi(m[9]) + std::stoi(m[11]), 0) << line;
        } else if (std::regex_match(line, m, totalLine)) {
            sawTotal = true;
            total[0] = std::stoi(m[1]);
            total[1] = std::stoi(m[2]);
        } else {
            ADD_FAILURE() << "unexpected output line: " << line;
        }
    }
    ASSERT_TRUE(sawTotal) << run.out;
    EXPECT_GE(deals, 2);
    EXPECT_TRUE(total[0] > 300 || total[1] > 300) << run.out;
    EXPECT_EQ(total[0], sum[0]) << run.out;
    EXPECT_EQ(total[1], sum[1]) << run.out;
}
