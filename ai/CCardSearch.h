// The card-play search: a depth-first minimax over the four hands as they
// really lie, trick by trick, scoring each completed trick for the partnership
// of a fixed perspective place. Each search object keeps its own depth,
// perspective and counters, so that the play of a card and a bid evaluation on
// another thread never share them.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "ai/SearchState.h"

struct SearchNode;
namespace search_rules {
struct RunTables;
}

// Called now and then while a search runs on the user-interface thread, so that
// the window stays responsive. Installed by the program; none in tests.
using SearchPumpHook = void (*)(void* context);

class CCardSearch {
public:
    static constexpr int kShortcut = 999;

    CCardSearch();

    // Whole-deal form: all four hands (natural coding), no trick under way.
    // Trump and place to play are left at -1 for the caller. Returns the depth limit 9.
    int InitSearch(SearchState& s, const uint32_t hands[4], bool forBidding);
    // Play form: the four hands and the cards already on the current trick.
    // Returns the depth limit: 9 while fewer than 12 cards of the deal have been
    // played, else 13 in no trumps and 45 in a suit contract.
    int InitSearch(SearchState& s, const uint32_t hands[4], const TrickStart& trick);

    // Best score for the place to play (higher is better for the perspective
    // partnership). With `result` it receives the position after the current trick
    // on the best line, chosenCard = the root's card. Returns kShortcut, with the
    // candidate set in result->chosenCard, when the root has no real choice.
    int SearchTrick(SearchState& s, SearchState* result, int limit);

    // The value of playing `card` (one-card set, trump coding) for the place to
    // play: the rest searched as by SearchTrick, with the full window and no shortcut.
    int ValueOfCard(SearchState& s, uint32_t card, int limit);

    // The transposition table: values of the positions at trick boundaries, kept
    // with their bounds and reused when the same hands and leader come again at
    // the same depth. On by default; it changes the node count, never a value
    // or a choice.
    void SetTable(bool on) { m_bTable = on; }

    // Cut-offs: a line whose value is already strictly worse than one its
    // ancestors can have is not searched further. Every value that can be kept
    // or tie is still exact, so the choices are those of the full search; only
    // the node count differs. On by default.
    void SetCutoffs(bool on) { m_bCutoffs = on; }

    void SetPerspective(int place) { m_nPerspective = place & 3; }
    int Perspective() const { return m_nPerspective; }
    int Depth() const { return m_nDepth; }
    void SetShortcut(bool allowed) { m_bShortcut = allowed; }
    bool Shortcut() const { return m_bShortcut; }

    // The search goes on into later tricks while either flag is set (the program
    // passes g_bComputerSearch and g_bAutoPlay; the defaults are those) and the
    // cancel flag, when given, is clear.
    void SetContinueFlags(const std::atomic<int>* a, const std::atomic<int>* b) {
        m_pGoA = a;
        m_pGoB = b;
        m_bAlways = false;
    }
    void SetCancelFlag(const std::atomic<bool>* cancel) { m_pCancel = cancel; }
    // Always go on (benchmarks, tests): no flags consulted.
    void SetAlwaysContinue() {
        m_pGoA = m_pGoB = nullptr;
        m_pCancel = nullptr;
        m_bAlways = true;
    }

    void SetPumpHook(SearchPumpHook hook, void* context, uint32_t intervalMs = 10) {
        m_pump = hook;
        m_pumpContext = context;
        m_nPumpInterval = intervalMs;
    }

    uint64_t Nodes() const { return m_nNodes; }
    void ResetNodes() { m_nNodes = 0; }

private:
    bool GoesOn() const {
        if (m_pCancel && m_pCancel->load(std::memory_order_relaxed)) return false;
        if (m_bAlways) return true;
        const bool a = m_pGoA && m_pGoA->load(std::memory_order_relaxed) != 0;
        const bool b = m_pGoB && m_pGoB->load(std::memory_order_relaxed) != 0;
        return a || b;
    }
    void MaybePump();
    int Search(SearchNode& s, SearchState* result, int limit, int alpha, int beta);
    int ScoreTrick(SearchNode& s, SearchState* result, int limit, int alpha, int beta);
    int SearchAfterTrick(SearchNode& after, int limit, int alpha, int beta);

    struct TableEntry {
        uint32_t hands[4];
        uint32_t context; // leader, depth, limit, perspective, trump, early, generation
        int32_t value;
        int32_t bound; // 0 empty, 1 exact, 2 at least, 3 at most
    };
    static constexpr int kTableBits = 12;

    int m_nPerspective = 0;
    int m_nDepth = 0;
    bool m_bShortcut = true;
    bool m_bAlways = false;
    bool m_bCutoffs = true;
    bool m_bTable = true;
    uint32_t m_nGeneration = 1;
    std::unique_ptr<TableEntry[]> m_table;
    const search_rules::RunTables* m_runs;
    const std::atomic<int>* m_pGoA = nullptr;
    const std::atomic<int>* m_pGoB = nullptr;
    const std::atomic<bool>* m_pCancel = nullptr;
    SearchPumpHook m_pump = nullptr;
    void* m_pumpContext = nullptr;
    uint32_t m_nPumpInterval = 10;
    uint32_t m_nLastPump = 0;
    uint64_t m_nNodes = 0;
};
