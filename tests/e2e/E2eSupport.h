// Running the built program as child processes on the loopback interface, with
// a time limit on every wait, and reading their score sheets.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

using Ms = std::chrono::milliseconds;
using EnvList = std::vector<std::pair<std::string, std::string>>;

// A free TCP port on 127.0.0.1 whose successor (the discovery port) is free too; 0 if none.
int FreePort();
std::vector<std::string> Lines(const std::string& text);

// One trace line "vesk-trace: <ms> <event...>" on standard error.
struct TraceLine {
    long ms = -1;
    std::string event;
};

// A child process whose output the test reads while it waits; killed with the object.
class AppProcess {
public:
    explicit AppProcess(std::string label) : m_label(std::move(label)) {}
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    // Sets `env` in this process for the child; the child dies with this process.
    bool Start(const std::string& program, const std::vector<std::string>& args,
               const EnvList& env);
    // Until `count` trace events starting with the word(s) `event` were written;
    // false at the time limit or once the program ended short of them.
    bool WaitForTrace(const std::string& event, int count, Ms timeout);
    bool WaitForExit(Ms timeout);
    // The exit code once ended normally; -1 when killed, crashed or running.
    int ExitCode() const;
    bool Running() const;
    pid_t Pid() const { return m_pid; }
    // Peak resident set in kilobytes once ended; 0 before.
    long PeakRssKb() const { return m_peakRssKb; }
    void Kill();

    std::string Out() const;
    std::string Err() const;
    std::vector<TraceLine> Traces() const;
    int CountTrace(const std::string& event) const;
    // The label, the state and the tail of the output, for failure messages.
    std::string Describe() const;

private:
    bool WaitUntil(const std::function<bool()>& done, Ms timeout);
    void Reap(bool block) const;
    void Drain() const;

    std::string m_label;
    pid_t m_pid = -1;
    int m_outFd = -1, m_errFd = -1;
    mutable int m_status = -1;
    mutable long m_peakRssKb = 0;
    mutable bool m_exited = false;
    mutable std::string m_out, m_err;
};

// Programs at one table on a fresh port, headless at pace 0 with traces, ending
// after the game; killed when the table goes away.
struct Table {
    AppProcess& Launch(const std::string& label, std::vector<std::string> args);
    // "--name <name> --deal" and `args`; waits until the dealer listens.
    AppProcess& Dealer(const std::string& name, std::vector<std::string> args);
    AppProcess& Joiner(const std::string& name, std::vector<std::string> args);
    // Ann, Bob, Cid and Dee at seats 1 to 4, each started with AutoPlay; Ann deals.
    bool SeatFour();
    AppProcess& operator[](size_t i) { return *apps[i]; }

    int port = FreePort();
    std::vector<std::unique_ptr<AppProcess>> apps;
};

// The score sheet, one row per deal (number, contract, both partnerships' figures
// with "1 and 3" first), then the totals; fails the test for any other line, a deal
// out of order, or figures that do not add up. The declarer only when asked for:
// a deal played before the game was kept or saved names no seat.
std::vector<std::string> SheetRows(const std::string& out, bool names = false);
// "--seat <seat> --start --autoplay".
std::vector<std::string> OwnSeat(int seat);
// A lone program at `seat` with computer partners on the other seats, then `more`.
std::vector<std::string> LoneSeat(int seat, const std::vector<std::string>& more = {});
// Two deal rows at least, then totals of which one passed 300.
bool FinishedGame(const std::vector<std::string>& rows);
// Each program ends by itself with status 0 and the same finished game's sheet.
void ExpectAgreeingSheets(const std::vector<AppProcess*>& apps, Ms limit, bool names = false);
// Card events between the first trace event starting with `from` and the next `to`.
int CardsBetween(const AppProcess& app, const std::string& from, const std::string& to);

} // namespace e2e
