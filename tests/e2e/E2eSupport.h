// Helpers for tests that run the built program as separate processes on the
// loopback interface: a free port, the environment a headless program needs,
// and a child process whose standard output and standard error are collected
// line by line while the test waits for what it expects, each wait with a time
// limit. A child still running when its object goes away is killed.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace e2e {

using Ms = std::chrono::milliseconds;
using EnvList = std::vector<std::pair<std::string, std::string>>;

// A TCP port on 127.0.0.1 the system just handed out, with its successor (the
// discovery port) free as well; 0 when none was found.
int FreePort();

// What a headless program at a table on `port` needs: the offscreen platform,
// the port, discovery on the loopback broadcast address and a fixed seed.
EnvList HeadlessEnv(int port);

class AppProcess;

// Waits until something listens on TCP `port` (read from /proc/net/tcp, so that
// the listener never sees a stray connection); false at the time limit or, with
// an `owner`, once the owner has ended.
bool WaitForListener(int port, Ms timeout, const AppProcess* owner = nullptr);

// Splits text into lines (without their line ends).
std::vector<std::string> Lines(const std::string& text);

// One trace line "vesk-trace: <ms> <event...>": its time and event text.
struct TraceLine {
    long ms = -1;
    std::string event;
};
// False for any other line.
bool ParseTraceLine(const std::string& line, TraceLine& out);

class AppProcess {
public:
    // `label` names the process in failure messages.
    explicit AppProcess(std::string label = "VeskApp");
    ~AppProcess(); // kills a child still running
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    // Starts `program` with `args`; `env` is added to this process's environment,
    // replacing variables of the same names. The child is killed should this test
    // process die first.
    bool Start(const std::string& program, const std::vector<std::string>& args,
               const EnvList& env);

    // Waits until `count` trace events starting with `event` (a word boundary
    // follows it) have been written, or the program ended, or `timeout` passed.
    bool WaitForTrace(const std::string& event, int count, Ms timeout);
    // Waits for the program to end by itself; false at the time limit.
    bool WaitForExit(Ms timeout);
    // The exit code once ended normally; -1 when killed, crashed or still running.
    int ExitCode() const;
    bool Running() const;
    pid_t Pid() const { return m_pid; }
    // The child's peak resident set in kilobytes, once it has ended; 0 before.
    long PeakRssKb() const;
    // Kills the child (SIGKILL) and waits for it and its output.
    void Kill();

    // All output so far.
    std::string Out() const;
    std::string Err() const;
    // The trace events so far (in order), and how many start with `event`.
    std::vector<TraceLine> Traces() const;
    int CountTrace(const std::string& event) const;
    // The label with the tail of the output, for failure messages.
    std::string Describe() const;

private:
    void ReadLoop(int fd, std::string* sink);
    bool WaitUntil(const std::function<bool()>& done, Ms timeout);
    void Reap(bool block);
    int CountTraceLocked(const std::string& event) const;

    std::string m_label;
    pid_t m_pid = -1;
    int m_status = -1;
    long m_peakRssKb = 0;
    bool m_exited = false;
    int m_openStreams = 0;
    std::string m_out, m_err;
    std::thread m_readers[2];
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
};

} // namespace e2e
