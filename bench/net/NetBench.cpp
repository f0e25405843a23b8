// One dealer with its clients on loopback: broadcast frames relayed to all.
// Measures delivered frames per second and the time until a broadcast has
// reached every client (p50, p99), for 60 clients and for the 4 of a table,
// beside a bare relay loop over the same kind of sockets as the limit.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "net/DealerServer.h"
#include "net/Frame.h"
#include "platform/ManualResetEvent.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kWaitMs = 5000; // bound on any single wait

int ConnectLoopback(uint16_t port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool ReadExact(int fd, uint8_t* out, size_t len) {
    size_t have = 0;
    while (have < len) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, kWaitMs) <= 0) return false;
        ssize_t n = recv(fd, out + have, len - have, 0);
        if (n <= 0) return false;
        have += static_cast<size_t>(n);
    }
    return true;
}

// A relay under test: the dealer's server, or the bare loop.
class Relay {
public:
    virtual ~Relay() = default;
    virtual uint16_t Port() const = 0;
    virtual bool NeedsLogin() const = 0;
};

class DealerRelay : public Relay {
public:
    DealerRelay() : m_server(m_stop) {
        // The relay itself is measured: one client sends far beyond a player's budget.
        CDealerServer::s_budgets = false;
        std::string error;
        if (m_server.Open(0, 0, error)) m_thread = std::thread([this] { m_server.Run(); });
    }
    ~DealerRelay() override {
        m_stop.Set();
        if (m_thread.joinable()) m_thread.join();
    }
    uint16_t Port() const override { return m_server.TcpPort(); }
    bool NeedsLogin() const override { return true; }

private:
    ManualResetEvent m_stop;
    CDealerServer m_server;
    std::thread m_thread;
};

// The least a relay can do: read each frame whole and send it to everybody.
class BareRelay : public Relay {
public:
    explicit BareRelay(size_t clients) : m_clients(clients) {
        m_listen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(m_listen, 128);
        socklen_t len = sizeof a;
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
        m_port = ntohs(a.sin_port);
        m_thread = std::thread([this] { Loop(); });
    }
    ~BareRelay() override {
        m_stop.Set();
        if (m_thread.joinable()) m_thread.join();
        for (int fd : m_fds)
            close(fd);
        close(m_listen);
    }
    uint16_t Port() const override { return m_port; }
    bool NeedsLogin() const override { return false; }
    // The bare loop has no login: wait until it has taken every connection.
    bool WaitAccepted() const {
        const auto end = Clock::now() + std::chrono::milliseconds(kWaitMs);
        while (m_accepted.load() < m_clients && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return m_accepted.load() == m_clients;
    }

private:
    void Loop() {
        std::vector<std::vector<uint8_t>> bufs;
        std::vector<pollfd> fds;
        for (;;) {
            fds.clear();
            fds.push_back({m_stop.Fd(), POLLIN, 0});
            fds.push_back({m_listen, POLLIN, 0});
            for (int fd : m_fds)
                fds.push_back({fd, POLLIN, 0});
            if (poll(fds.data(), fds.size(), 1000) < 0) return;
            if (fds[0].revents) return;
            if (fds[1].revents) {
                int fd = accept(m_listen, nullptr, nullptr);
                int on = 1;
                setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                m_fds.push_back(fd);
                bufs.emplace_back();
                ++m_accepted;
            }
            for (size_t i = 0; i + 2 < fds.size(); ++i) {
                if (!(fds[i + 2].revents & POLLIN)) continue;
                uint8_t tmp[8192];
                ssize_t n = recv(m_fds[i], tmp, sizeof tmp, MSG_DONTWAIT);
                if (n <= 0) continue;
                auto& b = bufs[i];
                b.insert(b.end(), tmp, tmp + n);
                size_t off = 0;
                while (b.size() - off >= kHeaderSize) {
                    const uint32_t len = GetU32(b.data() + off + 12);
                    if (b.size() - off < len) break;
                    for (int fd : m_fds)
                        send(fd, b.data() + off, len, MSG_NOSIGNAL);
                    off += len;
                }
                b.erase(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(off));
            }
        }
    }
    size_t m_clients;
    int m_listen = -1;
    uint16_t m_port = 0;
    std::vector<int> m_fds;
    std::atomic<size_t> m_accepted{0};
    ManualResetEvent m_stop;
    std::thread m_thread;
};

// The clients of a table: one thread reads every socket and counts, per
// broadcast number, how many clients have received it.
class Table {
public:
    Table(Relay& relay, size_t clients) : m_count(clients) {
        for (size_t i = 0; i < clients; ++i) {
            int fd = ConnectLoopback(relay.Port());
            if (fd < 0) return;
            if (relay.NeedsLogin()) {
                uint8_t login[kLoginRequestSize] = {};
                uint8_t name[kLoginNameField] = {'B', 'e', 'n', 'c', 'h'};
                FrameHeader h;
                h.from = kNoUser;
                h.to = kEverybody;
                h.command = NET_LOGIN;
                EncodeFrame(login, h, name, sizeof name);
                std::vector<uint8_t> reply(kLoginReplySize);
                if (send(fd, login, sizeof login, 0) != sizeof login ||
                    !ReadExact(fd, reply.data(), reply.size())) {
                    close(fd);
                    return;
                }
            }
            m_fds.push_back(fd);
        }
        m_ok = m_fds.size() == clients;
        if (auto* bare = dynamic_cast<BareRelay*>(&relay)) m_ok = m_ok && bare->WaitAccepted();
        m_bufs.resize(clients);
        m_reader = std::thread([this] { ReadLoop(); });
    }
    ~Table() {
        m_stopFlag = true;
        if (m_reader.joinable()) m_reader.join();
        for (int fd : m_fds)
            close(fd);
    }
    bool Ok() const { return m_ok; }

    // Broadcasts number `id` from client 0.
    bool Send(uint32_t id) {
        uint8_t frame[kHeaderSize + 8];
        uint8_t payload[8] = {};
        PutU32(payload, id + 1); // no zero byte before the end
        payload[4] = 'x';
        FrameHeader h;
        h.from = 0;
        h.to = kEverybody;
        h.command = CMD_CHAT_CODE;
        const size_t len = EncodeFrame(frame, h, payload, sizeof payload);
        return send(m_fds[0], frame, len, MSG_NOSIGNAL) == static_cast<ssize_t>(len);
    }
    // Waits until broadcasts up to `id` have reached every client.
    bool WaitAll(uint32_t id) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, std::chrono::milliseconds(kWaitMs),
                             [&] { return m_completed > id; });
    }

private:
    void ReadLoop() {
        std::vector<pollfd> fds(m_fds.size());
        std::vector<uint32_t> perId; // how many clients have each id
        uint32_t completed = 0;
        while (!m_stopFlag) {
            for (size_t i = 0; i < m_fds.size(); ++i)
                fds[i] = {m_fds[i], POLLIN, 0};
            if (poll(fds.data(), fds.size(), 100) <= 0) continue;
            bool progress = false;
            for (size_t i = 0; i < fds.size(); ++i) {
                if (!(fds[i].revents & POLLIN)) continue;
                uint8_t tmp[16384];
                ssize_t n = recv(m_fds[i], tmp, sizeof tmp, MSG_DONTWAIT);
                if (n <= 0) continue;
                auto& b = m_bufs[i];
                b.insert(b.end(), tmp, tmp + n);
                size_t off = 0;
                while (b.size() - off >= kHeaderSize) {
                    const uint32_t len = GetU32(b.data() + off + 12);
                    if (len < kHeaderSize || b.size() - off < len) break;
                    if (len >= kHeaderSize + 4) {
                        const uint32_t id = GetU32(b.data() + off + kHeaderSize) - 1;
                        if (id >= perId.size()) perId.resize(id + 1, 0);
                        if (++perId[id] == m_count) progress = true;
                    }
                    off += len;
                }
                b.erase(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(off));
            }
            if (progress) {
                while (completed < perId.size() && perId[completed] == m_count)
                    ++completed;
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_completed = completed;
                }
                m_cv.notify_all();
            }
        }
    }

    size_t m_count;
    bool m_ok = false;
    std::vector<int> m_fds;
    std::vector<std::vector<uint8_t>> m_bufs;
    std::thread m_reader;
    std::atomic<bool> m_stopFlag{false};
    std::mutex m_mutex;
    std::condition_variable m_cv;
    uint32_t m_completed = 0;
};

std::unique_ptr<Relay> MakeRelay(bool bare, size_t clients) {
    if (bare) return std::make_unique<BareRelay>(clients);
    return std::make_unique<DealerRelay>();
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t i = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

// Broadcasts one at a time and measures until every client has it.
void Latency(benchmark::State& state, bool bare, size_t clients) {
    auto relay = MakeRelay(bare, clients);
    Table table(*relay, clients);
    if (!table.Ok()) {
        state.SkipWithError("clients could not join");
        return;
    }
    std::vector<double> us;
    uint32_t id = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (!table.Send(id) || !table.WaitAll(id)) {
            state.SkipWithError("broadcast did not arrive in time");
            break;
        }
        const double took = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(took);
        us.push_back(took * 1e6);
        ++id;
    }
    state.counters["p50_us"] = Percentile(us, 0.50);
    state.counters["p99_us"] = Percentile(us, 0.99);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * clients));
}

// Keeps a window of broadcasts in flight; counts delivered frames.
void Throughput(benchmark::State& state, bool bare, size_t clients) {
    auto relay = MakeRelay(bare, clients);
    Table table(*relay, clients);
    if (!table.Ok()) {
        state.SkipWithError("clients could not join");
        return;
    }
    constexpr uint32_t kBatch = 64;
    uint32_t id = 0;
    for (auto _ : state) {
        for (uint32_t i = 0; i < kBatch; ++i)
            if (!table.Send(id + i)) state.SkipWithError("send failed");
        if (!table.WaitAll(id + kBatch - 1)) {
            state.SkipWithError("broadcasts did not arrive in time");
            break;
        }
        id += kBatch;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch * clients));
}
} // namespace

BENCHMARK_CAPTURE(Latency, Dealer60, false, 60)
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Latency, Bare60, true, 60)
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Latency, Dealer4, false, 4)
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Latency, Bare4, true, 4)
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Throughput, Dealer60, false, 60)
    ->Iterations(300)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Throughput, Bare60, true, 60)
    ->Iterations(300)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
