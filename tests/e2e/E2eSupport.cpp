#include "tests/e2e/E2eSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

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

// True while something listens on TCP `port` of any IPv4 address.
bool Listening(int port) {
    std::ifstream in("/proc/net/tcp");
    char local[16];
    std::snprintf(local, sizeof local, ":%04X", port);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string slot, address, remote, state;
        words >> slot >> address >> remote >> state;
        if (state == "0A" && address.size() > 5 &&
            address.compare(address.size() - 5, 5, local) == 0)
            return true;
    }
    return false;
}

} // namespace

int FreePort() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int port = BindLoopback(SOCK_STREAM, 0);
        if (port <= 0 || port >= 65535) continue;
        if (BindLoopback(SOCK_DGRAM, port + 1) == port + 1) return port;
    }
    return 0;
}

bool WaitForListener(int port, Ms timeout, const AppProcess* owner) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline && (!owner || owner->Running())) {
        if (Listening(port)) return true;
        std::this_thread::sleep_for(Ms(20));
    }
    return false;
}

EnvList HeadlessEnv(int port) {
    return {{"QT_QPA_PLATFORM", "offscreen"},
            {"VESK_PORT", std::to_string(port)},
            {"VESK_BROADCAST", "127.255.255.255"},
            {"VESK_SEED", "12345"}};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool ParseTraceLine(const std::string& line, TraceLine& out) {
    static const std::string prefix = "vesk-trace: ";
    if (line.rfind(prefix, 0) != 0) return false;
    const size_t msEnd = line.find(' ', prefix.size());
    if (msEnd == std::string::npos || msEnd == prefix.size()) return false;
    const std::string ms = line.substr(prefix.size(), msEnd - prefix.size());
    if (ms.find_first_not_of("0123456789") != std::string::npos) return false;
    out.ms = std::stol(ms);
    out.event = line.substr(msEnd + 1);
    return true;
}

AppProcess::AppProcess(std::string label) : m_label(std::move(label)) {}

AppProcess::~AppProcess() {
    Kill();
}

bool AppProcess::Start(const std::string& program, const std::vector<std::string>& args,
                       const EnvList& env) {
    if (m_pid > 0) return false;
    std::vector<std::string> envStrings;
    for (const auto& [name, value] : env)
        envStrings.push_back(name + "=" + value);
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const auto& kv : env)
            replaced = replaced || entry.rfind(kv.first + "=", 0) == 0;
        if (!replaced) envStrings.push_back(entry);
    }
    std::vector<std::string> argStrings = {program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv, envp;
    for (auto& a : argStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : envStrings)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    // Close-on-exec, so that later children do not hold this child's pipes open.
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) return false;
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return false;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (pid < 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        return false;
    }
    m_pid = pid;
    m_openStreams = 2;
    m_readers[0] = std::thread(&AppProcess::ReadLoop, this, outPipe[0], &m_out);
    m_readers[1] = std::thread(&AppProcess::ReadLoop, this, errPipe[0], &m_err);
    return true;
}

void AppProcess::ReadLoop(int fd, std::string* sink) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (n <= 0) {
            --m_openStreams;
            m_changed.notify_all();
            break;
        }
        sink->append(buffer, static_cast<size_t>(n));
        m_changed.notify_all();
    }
    close(fd);
}

void AppProcess::Reap(bool block) {
    if (m_pid <= 0) return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_exited) return;
    }
    int status = 0;
    rusage usage{};
    const pid_t done = wait4(m_pid, &status, block ? 0 : WNOHANG, &usage);
    if (done == m_pid) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_exited = true;
        m_status = status;
        m_peakRssKb = usage.ru_maxrss;
        m_changed.notify_all();
    }
}

bool AppProcess::WaitUntil(const std::function<bool()>& done, Ms timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        m_changed.wait_for(lock, Ms(20));
        lock.unlock();
        Reap(false);
        lock.lock();
    }
}

bool AppProcess::WaitForTrace(const std::string& event, int count, Ms timeout) {
    if (m_pid <= 0) return false;
    bool reached = false;
    WaitUntil(
        [&] {
            reached = CountTraceLocked(event) >= count;
            return reached || (m_exited && m_openStreams == 0);
        },
        timeout);
    return reached;
}

bool AppProcess::WaitForExit(Ms timeout) {
    if (m_pid <= 0) return false;
    return WaitUntil([&] { return m_exited && m_openStreams == 0; }, timeout);
}

int AppProcess::ExitCode() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_exited && WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
}

long AppProcess::PeakRssKb() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_exited ? m_peakRssKb : 0;
}

bool AppProcess::Running() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pid > 0 && !m_exited;
}

void AppProcess::Kill() {
    if (m_pid <= 0) return;
    Reap(false);
    if (Running()) {
        kill(m_pid, SIGKILL);
        Reap(true);
    }
    for (std::thread& t : m_readers)
        if (t.joinable()) t.join();
}

std::string AppProcess::Out() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_out;
}

std::string AppProcess::Err() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_err;
}

std::vector<TraceLine> AppProcess::Traces() const {
    std::vector<TraceLine> traces;
    for (const std::string& line : Lines(Err())) {
        TraceLine t;
        if (ParseTraceLine(line, t)) traces.push_back(t);
    }
    return traces;
}

int AppProcess::CountTrace(const std::string& event) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return CountTraceLocked(event);
}

int AppProcess::CountTraceLocked(const std::string& event) const {
    int count = 0;
    std::istringstream in(m_err);
    for (std::string line; std::getline(in, line);) {
        TraceLine t;
        if (!ParseTraceLine(line, t) || t.event.rfind(event, 0) != 0) continue;
        if (t.event.size() == event.size() || t.event[event.size()] == ' ') ++count;
    }
    return count;
}

std::string AppProcess::Describe() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto tail = [](const std::string& s) {
        return s.size() > 1500 ? "..." + s.substr(s.size() - 1500) : s;
    };
    std::string state =
        m_exited ? (WIFEXITED(m_status) ? "exited " + std::to_string(WEXITSTATUS(m_status))
                                        : "killed by signal " + std::to_string(WTERMSIG(m_status)))
                 : "running";
    return m_label + " (" + state + ")\n--- stdout:\n" + tail(m_out) + "\n--- stderr:\n" +
           tail(m_err) + "\n";
}

} // namespace e2e
