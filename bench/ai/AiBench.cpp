// The computer player's benchmark over a fixed set of seeded deals:
//   (a) every card choice while the computer plays each deal out for all four places,
//   (b) the whole bid evaluation (five play-outs) of each deal.
// It prints the median, p99 and maximum time of a card choice and of an
// evaluation, the nodes per second, and a signature of the node counts of the
// whole run, which changes only when the search changes. Times are the
// processor time of the benchmark's thread, so that a busy machine does not
// inflate them; the wall time of the whole run is printed as well.
//
//   AiBench [--deals N] [--seed S] [--check-signature FILE] [--write-signature FILE]
//   AiBench --simulate N [--seed S]     plays N deals with computer bidding and play
//   AiBench --match N [--seed S] [--one-sample] [--no-weighting]
//       a duplicate match: each of N deals is played twice with the seats swapped,
//       the fair pair against the classic pair (with --one-sample against a fair
//       pair that samples one deal per decision), every call and card by the
//       computer. Its last line:
//       match: deals=N fair=F classic=C ratio=R fair_ms_p50=P fair_ms_max=M
//       F and C are each pair's average points per deal (in tens, as the score
//       sheet counts them), R = F / C, P and M the fair card choice's processor
//       time per decision. The ratio's standard error is printed above it.
//       With --play-only no bidding: each deal is played in a contract of its
//       own (trump deal % 5) and the pairs' card points are compared.
//       --caution K: the fair estimates' margin in standard deviations (1);
//       --opponent-caution K the margin of the opponents' estimate alone.
//       --per-deal FILE: each deal's points of the two pairs, one line per deal
//       ("fair other", then per seating the declaring pair F, O or - and
//       value/trump/doubling/fair card points:fair score:other score), so that
//       two runs over the same deals can be compared deal by deal.
//
// A signature file holds lines "deals=N seed=S signature=HEX"; the check compares
// the line that matches the run's deals and seed.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <cmath>

#include "ai/CBidEvaluator.h"
#include "ai/CDealSimulator.h"
#include "ai/CFairBidEstimate.h"
#include "ai/CFairPlayer.h"

namespace {

struct Options {
    int deals = 1000;
    uint64_t seed = 20261206;
    int simulate = 0;
    int match = 0;
    bool oneSample = false;
    bool noWeighting = false;
    bool playOnly = false;
    double caution = 1.0;
    double opponentCaution = -1; // as caution unless given
    std::string perDealFile;
    std::string checkFile;
    std::string writeFile;
};

// FNV-1a over 64-bit values.
struct Signature {
    uint64_t hash = 1469598103934665603ull;
    void Add(uint64_t v) {
        for (int i = 0; i < 8; ++i) {
            hash ^= (v >> (8 * i)) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
};

struct Stats {
    double median = 0, p99 = 0, max = 0, total = 0;
};

Stats Summarise(std::vector<double> v) {
    Stats s;
    if (v.empty()) return s;
    std::sort(v.begin(), v.end());
    s.median = v[v.size() / 2];
    s.p99 = v[std::min(v.size() - 1, static_cast<size_t>(v.size() * 0.99))];
    s.max = v.back();
    for (double x : v)
        s.total += x;
    return s;
}

std::string Hex(uint64_t v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%016" PRIx64, v);
    return buf;
}

std::string SignatureLine(const Options& o, uint64_t signature) {
    std::ostringstream line;
    line << "deals=" << o.deals << " seed=" << o.seed << " signature=" << Hex(signature);
    return line.str();
}

int Simulate(const Options& o) {
    std::mt19937_64 rng(o.seed);
    long long points[2] = {0, 0};
    int contracts = 0, made = 0, passedOut = 0, calls = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int d = 0; d < o.simulate; ++d) {
        uint32_t hands[4];
        CDealSimulator::DealHands(rng, hands);
        PlayedDeal deal = CDealSimulator::BidAndPlay(hands, d & 3);
        calls += deal.calls;
        if (deal.declarer < 0) {
            ++passedOut;
            continue;
        }
        ++contracts;
        made += deal.made ? 1 : 0;
        points[0] += deal.cardPoints[0];
        points[1] += deal.cardPoints[1];
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("simulated deals: %d in %.2f s, %.1f deals/s\n", o.simulate, seconds,
                o.simulate / seconds);
    std::printf("contracts: %d (made %d), passed out: %d, calls per deal: %.1f\n", contracts, made,
                passedOut, o.simulate ? static_cast<double>(calls) / o.simulate : 0.0);
    if (contracts)
        std::printf("average card points per played deal: places 0+2 %.1f, places 1+3 %.1f\n",
                    static_cast<double>(points[0]) / contracts,
                    static_cast<double>(points[1]) / contracts);
    return 0;
}

// The score of a played deal by partnership, in tens, as the deal scoring counts
// it without declarations: card points, the trump king and queen, the contract,
// doubling and the contract's premium.
void ScoreOf(const uint32_t hands[4], const PlayedDeal& deal, int score[2]) {
    score[0] = score[1] = 0;
    if (deal.declarer < 0) return;
    int total[2] = {deal.cardPoints[0], deal.cardPoints[1]};
    if (deal.trump >= 0 && deal.trump < 4) {
        const uint32_t pair = 0x60u << (8 * deal.trump);
        for (int p = 0; p < 4; ++p)
            if ((hands[p] & pair) == pair) total[p & 1] += 20;
    }
    const int d = deal.declarer & 1;
    bool failed[2] = {false, false};
    if (deal.value * 10 > total[d]) {
        if (deal.tricks[d] == 8) total[d] -= 88;
        total[1 - d] += total[d];
        total[d] = 0;
        failed[d] = true;
    }
    int r[2];
    for (int i = 0; i < 2; ++i)
        r[i] = total[i] / 10 + (total[i] % 10 > 5 ? 1 : 0);
    int m = 1;
    if (deal.doubleLevel > 0) {
        // The defenders doubled: a made contract takes everything.
        m = deal.doubleLevel > 1 ? 4 : 2;
        if (!failed[d]) {
            r[d] += r[1 - d];
            r[1 - d] = 0;
            failed[1 - d] = true;
        } else {
            r[1 - d] += r[d];
            r[d] = 0;
        }
    }
    r[failed[d] ? 1 - d : d] += deal.value * m;
    score[0] = r[0];
    score[1] = r[1];
}

void PrintMatch(const Options& o, const std::vector<double>& fairPerDeal,
                const std::vector<double>& otherPerDeal, const std::vector<double>& fairTimes,
                const std::vector<double>& bidTimes, const std::vector<double>& bidPerDeal,
                const int declared[2], const int made[2], const int doubled[2],
                const int doubledMade[2]);

int Match(const Options& o) {
    CFairBidEstimate::SetWeighting(!o.noWeighting);
    CFairBidEstimate::SetCaution(o.caution);
    if (o.opponentCaution >= 0) CFairBidEstimate::SetOpponentCaution(o.opponentCaution);
    std::mt19937_64 rng(o.seed);
    const int opponentSamples = o.oneSample ? 1 : 0;
    std::vector<double> fairTimes, bidTimes, bidPerDeal;
    std::vector<double> fairPerDeal, otherPerDeal;
    std::vector<std::string> details; // per deal and seating: who declared what, and how it went
    int declared[2] = {0, 0}, made[2] = {0, 0}, doubled[2] = {0, 0}; // fair pair, other pair
    int doubledMade[2] = {0, 0};
    const auto start = std::chrono::steady_clock::now();
    for (int d = 0; d < o.match; ++d) {
        uint32_t hands[4];
        CDealSimulator::DealHands(rng, hands);
        double fairSum = 0, otherSum = 0, bidUs = 0;
        std::string detail;
        for (int swap = 0; swap < 2; ++swap) {
            // swap 0: the fair pair at places 0 and 2; swap 1: at places 1 and 3.
            SeatPlayers players;
            players.seed = o.seed * 1000003ull + static_cast<uint64_t>(d) * 2 + swap;
            for (int p = 0; p < 4; ++p)
                players.samples[p] = (p & 1) == swap ? CFairPlayer::kSamples : opponentSamples;
            std::vector<double> bids;
            const auto observe = [&](int place, uint64_t, double us) {
                if ((place & 1) == swap) fairTimes.push_back(us);
            };
            if (o.playOnly) {
                const PlayedDeal deal =
                    CDealSimulator::PlayOut(hands, d % 5, d & 3, observe, players);
                fairSum += deal.cardPoints[swap];
                otherSum += deal.cardPoints[1 - swap];
                continue;
            }
            const PlayedDeal deal =
                CDealSimulator::BidAndPlay(hands, d & 3, observe, players, &bids);
            for (double us : bids) {
                bidTimes.push_back(us);
                bidUs += us;
            }
            if (deal.declarer >= 0) {
                const int side = (deal.declarer & 1) == swap ? 0 : 1;
                ++declared[side];
                made[side] += deal.made ? 1 : 0;
                doubled[side] += deal.doubleLevel > 0 ? 1 : 0;
                doubledMade[side] += deal.doubleLevel > 0 && deal.made ? 1 : 0;
            }
            int score[2];
            ScoreOf(hands, deal, score);
            char part[96];
            std::snprintf(part, sizeof part, " %s%d/%d/%d/%d:%d:%d",
                          deal.declarer < 0 ? "-" : ((deal.declarer & 1) == swap ? "F" : "O"),
                          deal.value, deal.trump, deal.doubleLevel, deal.cardPoints[swap],
                          score[swap], score[1 - swap]);
            detail += part;
            fairSum += score[swap];
            otherSum += score[1 - swap];
        }
        details.push_back(detail);
        fairPerDeal.push_back(fairSum / 2);
        otherPerDeal.push_back(otherSum / 2);
        bidPerDeal.push_back(bidUs / 2);
        if ((d + 1) % 50 == 0 && d + 1 < o.match) {
            // A long match can be stopped: the figures so far, in the same form.
            PrintMatch(o, fairPerDeal, otherPerDeal, fairTimes, bidTimes, bidPerDeal, declared,
                       made, doubled, doubledMade);
            std::printf(
                "(%.0f s)\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            std::fflush(stdout);
        }
    }
    PrintMatch(o, fairPerDeal, otherPerDeal, fairTimes, bidTimes, bidPerDeal, declared, made,
               doubled, doubledMade);
    if (!o.perDealFile.empty()) {
        std::ofstream out(o.perDealFile);
        for (size_t i = 0; i < fairPerDeal.size(); ++i)
            out << fairPerDeal[i] << ' ' << otherPerDeal[i] << details[i] << '\n';
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", o.perDealFile.c_str());
            return 1;
        }
    }
    return 0;
}

void PrintMatch(const Options& o, const std::vector<double>& fairPerDeal,
                const std::vector<double>& otherPerDeal, const std::vector<double>& fairTimes,
                const std::vector<double>& bidTimes, const std::vector<double>& bidPerDeal,
                const int declared[2], const int made[2], const int doubled[2],
                const int doubledMade[2]) {
    const double n = static_cast<double>(fairPerDeal.size());
    double f = 0, c = 0;
    for (size_t i = 0; i < fairPerDeal.size(); ++i) {
        f += fairPerDeal[i];
        c += otherPerDeal[i];
    }
    f /= n;
    c /= n;
    const double ratio = c > 0 ? f / c : 0.0;
    // Standard error of the ratio of means (delta method over the deals).
    double var = 0;
    for (size_t i = 0; i < fairPerDeal.size(); ++i) {
        const double e = fairPerDeal[i] - ratio * otherPerDeal[i];
        var += e * e;
    }
    const double se = n > 1 && c > 0 ? std::sqrt(var / (n - 1) / n) / c : 0.0;
    const Stats t = Summarise(fairTimes), b = Summarise(bidTimes), bd = Summarise(bidPerDeal);
    std::printf("opponents: %s, call weighting %s\n",
                o.oneSample ? "fair pair with one sample" : "classic pair",
                o.noWeighting ? "off" : "on");
    std::printf("fair card choices: %zu, p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", fairTimes.size(),
                t.median / 1000, t.p99 / 1000, t.max / 1000);
    // One evaluation samples for every fair place of the deal that is to call;
    // later calls only weigh the same samples again.
    std::printf("fair bid evaluations: %zu, p50 %.3f ms, max %.3f ms; per deal and fair pair: "
                "p50 %.3f ms, max %.3f ms\n",
                bidTimes.size(), b.median / 1000, b.max / 1000, bd.median / 1000, bd.max / 1000);
    std::printf("contracts: fair pair %d (made %d, doubled %d, made doubled %d), other pair %d "
                "(made %d, doubled %d, made doubled %d)\n",
                declared[0], made[0], doubled[0], doubledMade[0], declared[1], made[1], doubled[1],
                doubledMade[1]);
    std::printf("ratio standard error: %.4f\n", se);
    std::printf("match: deals=%d fair=%.3f %s=%.3f ratio=%.4f fair_ms_p50=%.3f fair_ms_max=%.3f\n",
                static_cast<int>(n), f, o.oneSample ? "one_sample" : "classic", c, ratio,
                t.median / 1000, t.max / 1000);
}

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&](const char* name) -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "%s needs a value\n", name);
                return nullptr;
            }
            return argv[++i];
        };
        const char* v = nullptr;
        if (a == "--deals" && (v = next("--deals")))
            o.deals = std::max(1, std::atoi(v));
        else if (a == "--seed" && (v = next("--seed")))
            o.seed = std::strtoull(v, nullptr, 10);
        else if (a == "--simulate" && (v = next("--simulate")))
            o.simulate = std::max(1, std::atoi(v));
        else if (a == "--match" && (v = next("--match")))
            o.match = std::max(1, std::atoi(v));
        else if (a == "--one-sample")
            o.oneSample = true;
        else if (a == "--no-weighting")
            o.noWeighting = true;
        else if (a == "--caution" && (v = next("--caution")))
            o.caution = std::atof(v);
        else if (a == "--opponent-caution" && (v = next("--opponent-caution")))
            o.opponentCaution = std::atof(v);
        else if (a == "--per-deal" && (v = next("--per-deal")))
            o.perDealFile = v;
        else if (a == "--play-only")
            o.playOnly = true;
        else if (a == "--check-signature" && (v = next("--check-signature")))
            o.checkFile = v;
        else if (a == "--write-signature" && (v = next("--write-signature")))
            o.writeFile = v;
        else {
            std::fprintf(stderr,
                         "usage: %s [--deals N] [--seed S] [--check-signature FILE] "
                         "[--write-signature FILE] | --simulate N [--seed S] | --match N "
                         "[--seed S] [--one-sample] [--no-weighting] [--play-only] "
                         "[--caution K] "
                         "[--opponent-caution K] [--per-deal FILE]\n",
                         argv[0]);
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseArgs(argc, argv, o)) return 2;
    if (o.simulate > 0) return Simulate(o);
    if (o.match > 0) return Match(o);

    std::mt19937_64 rng(o.seed);
    std::vector<double> choiceTimes, evalTimes;
    choiceTimes.reserve(static_cast<size_t>(o.deals) * 32);
    evalTimes.reserve(static_cast<size_t>(o.deals));
    uint64_t choiceNodes = 0, evalNodes = 0;
    Signature sig;

    const auto wallStart = std::chrono::steady_clock::now();
    for (int d = 0; d < o.deals; ++d) {
        uint32_t hands[4];
        CDealSimulator::DealHands(rng, hands);

        // (a) the card play of the deal, one trump per deal in turn.
        PlayedDeal deal =
            CDealSimulator::PlayOut(hands, d % 5, d & 3, [&](int, uint64_t nodes, double us) {
                choiceTimes.push_back(us);
                choiceNodes += nodes;
                sig.Add(nodes);
            });
        for (int code : deal.cards)
            sig.Add(static_cast<uint64_t>(code));

        // (b) the bid evaluation of the deal.
        std::atomic<int> searchFlag{0};
        CBidEvaluator eval(&CBidEvaluator::RulesDeclarations, searchFlag, nullptr, nullptr);
        const double start = CDealSimulator::ThreadCpuMicros();
        eval.StartEvaluation(hands, d & 3, false);
        evalTimes.push_back(CDealSimulator::ThreadCpuMicros() - start);
        evalNodes += eval.Nodes();
        sig.Add(eval.Nodes());
        for (int p = 0; p < 4; ++p)
            for (int t = 0; t < 5; ++t)
                sig.Add(static_cast<uint64_t>(eval.OwnEstimate[p][t] + 1000));
    }

    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const Stats c = Summarise(choiceTimes), e = Summarise(evalTimes);
    std::printf("deals: %d (seed %" PRIu64 "), wall time %.2f s, processor time %.2f s\n", o.deals,
                o.seed, wall, (c.total + e.total) / 1e6);
    std::printf("card choice: %zu choices, median %.3f ms, p99 %.3f ms, max %.3f ms, "
                "%.2f M nodes/s\n",
                choiceTimes.size(), c.median / 1000, c.p99 / 1000, c.max / 1000,
                c.total > 0 ? choiceNodes / c.total : 0.0);
    std::printf("bid evaluation: %zu evaluations, median %.3f ms, p99 %.3f ms, max %.3f ms, "
                "%.2f M nodes/s\n",
                evalTimes.size(), e.median / 1000, e.p99 / 1000, e.max / 1000,
                e.total > 0 ? evalNodes / e.total : 0.0);
    std::printf("nodes: card choice %" PRIu64 ", evaluation %" PRIu64 "\n", choiceNodes, evalNodes);
    const std::string line = SignatureLine(o, sig.hash);
    std::printf("%s\n", line.c_str());

    if (!o.writeFile.empty()) {
        std::ofstream out(o.writeFile, std::ios::app);
        out << line << "\n";
    }
    if (!o.checkFile.empty()) {
        std::ifstream in(o.checkFile);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", o.checkFile.c_str());
            return 2;
        }
        const std::string prefix =
            "deals=" + std::to_string(o.deals) + " seed=" + std::to_string(o.seed) + " ";
        std::string ref;
        for (std::string l; std::getline(in, l);)
            if (l.rfind(prefix, 0) == 0) ref = l;
        if (ref.empty()) {
            std::fprintf(stderr, "no reference for deals=%d seed=%" PRIu64 " in %s\n", o.deals,
                         o.seed, o.checkFile.c_str());
            return 1;
        }
        if (ref != line) {
            std::fprintf(stderr, "signature changed:\n  reference %s\n  this run  %s\n",
                         ref.c_str(), line.c_str());
            return 1;
        }
        std::printf("signature matches %s\n", o.checkFile.c_str());
    }
    return 0;
}
