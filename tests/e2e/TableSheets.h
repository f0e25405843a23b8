// Small helpers for the tests of kept, saved and resumed games: waiting for a
// dealer's listening socket, and a score sheet reduced to what every program of
// a table must agree on.
#pragma once

#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace tablesheets {

// True once something listens on `port`, read from /proc/net/tcp so that the
// dealer never sees a stray connection.
inline bool Listening(int port) {
    std::ifstream in("/proc/net/tcp");
    char local[16];
    std::snprintf(local, sizeof local, ":%04X", port);
    for (std::string line; std::getline(in, line);) {
        std::istringstream s(line);
        std::string slot, address, remote, state;
        s >> slot >> address >> remote >> state;
        if (state == "0A" && address.size() > 5 &&
            address.compare(address.size() - 5, 5, local) == 0)
            return true;
    }
    return false;
}

inline bool WaitForListener(const e2e::AppProcess& dealer, int port, e2e::Ms limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline && dealer.Running()) {
        if (Listening(port)) return true;
        std::this_thread::sleep_for(e2e::Ms(20));
    }
    return false;
}

// One line per deal: number, contract and both partnerships' figures in seat
// order ("1 and 3" first), without the declarer's name, which depends on who
// sits where at the moment of printing. Then the totals in the same order.
inline std::vector<std::string> SheetRows(const std::string& out) {
    static const std::regex deal(
        R"(^Deal (\d+): contract (.+?) by .* \| hand points (\d and \d): (\d+), (\d and \d): (\d+) \| result (\d and \d): (.+), (\d and \d): (.+)$)");
    static const std::regex total(R"(^Total: (\d and \d): (\d+), (\d and \d): (\d+)$)");
    std::vector<std::string> rows;
    for (const std::string& line : e2e::Lines(out)) {
        std::smatch m;
        if (std::regex_match(line, m, deal)) {
            const bool own13 = m[3] == "1 and 3";
            const std::string p13 = own13 ? m[4] : m[6], p24 = own13 ? m[6] : m[4];
            const std::string r13 = own13 ? m[8] : m[10], r24 = own13 ? m[10] : m[8];
            rows.push_back(m[1].str() + " " + m[2].str() + " | " + p13 + " " + p24 + " | " + r13 +
                           " " + r24);
        } else if (std::regex_match(line, m, total)) {
            const bool own13 = m[1] == "1 and 3";
            rows.push_back("Total " + (own13 ? m[2].str() : m[4].str()) + " " +
                           (own13 ? m[4].str() : m[2].str()));
        }
    }
    return rows;
}

// A finished game: deal rows, then totals of which one passed 300.
inline bool FinishedGame(const std::vector<std::string>& rows) {
    static const std::regex total(R"(^Total (\d+) (\d+)$)");
    std::smatch m;
    return rows.size() >= 2 && std::regex_match(rows.back(), m, total) &&
           (std::stoi(m[1]) > 300 || std::stoi(m[2]) > 300);
}

// Card events between the first trace event starting with `from` and the next
// one starting with `to` (or the end).
inline int CardsBetween(const e2e::AppProcess& app, const std::string& from,
                        const std::string& to) {
    int cards = 0;
    bool counting = false;
    for (const e2e::TraceLine& t : app.Traces()) {
        if (!counting) {
            counting = t.event.rfind(from, 0) == 0;
            continue;
        }
        if (t.event.rfind(to, 0) == 0) break;
        if (t.event.rfind("card ", 0) == 0) ++cards;
    }
    return cards;
}

} // namespace tablesheets
