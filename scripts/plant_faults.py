#!/usr/bin/env python3
"""Planted faults for scripts/plant-faults.sh: the table, and the patching.

Each row is one small fault that a player or a peer would meet: the file, a
snippet that must occur exactly once in it, its replacement, and a short
description. Subcommands (all paths relative to the source tree):

  list [SELECT...]          id, file and description of the selected rows
  check [SELECT...]         report stale rows (snippet missing or not unique)
  apply ID STATE            plant fault ID, keeping the original file in STATE
  restore STATE             put back the file kept in STATE (no-op if none)
  e2e-regex BUILD           ctest -E regex matching the long tests (tests/e2e, packaging)
  targets BUILD             the test programs of the other tests (build targets)

SELECT is an exact id or a regular expression searched in the ids; the faults
come in the order selected (a regular expression's in table order).
"""
import json
import os
import re
import subprocess
import sys

# (id, file, snippet, replacement, description)
FAULTS = [
    # ---- rules/: scoring, declarations, legal play ----
    ("score-round-5", "rules/Declarations.cpp",
     "total % 10 > 5 ? 1 : 0", "total % 10 >= 5 ? 1 : 0",
     "deal total with remainder exactly 5 rounds up"),
    ("score-last-trick", "rules/CTrickPileScore.cpp",
     "cardPoints[lastWinner] += 10;", "cardPoints[lastWinner] += 20;",
     "last trick worth 20 instead of 10"),
    ("score-made-exactly", "rules/CTrickPileScore.cpp",
     "if (V * 10 > total[D]) {", "if (V * 10 >= total[D]) {",
     "contract reached exactly counts as failed"),
    ("score-sweep-88", "rules/CTrickPileScore.cpp",
     "if (!took[1 - D]) total[D] -= 250 - 162;", "",
     "failed declarers who took every trick keep the 88 sweep points"),
    ("score-redouble", "rules/CTrickPileScore.cpp",
     "m = g_contract.redoubledBy != -1 ? 4 : 2;", "m = g_contract.redoubledBy != -1 ? 2 : 2;",
     "redoubled contract premium multiplied by 2, not 4"),
    ("score-double-reset", "rules/CTrickPileScore.cpp",
     "R[0] += R[1];\n            R[1] = 0;", "R[0] += R[1];",
     "doublers of a made contract keep their own points too"),
    ("score-premium-side", "rules/CTrickPileScore.cpp",
     "R[failed[D] ? 1 - D : D] += V * m;", "R[D] += V * m;",
     "contract premium goes to declarers even when they failed"),
    ("card-points-nt-ace", "rules/Cards.cpp",
     "{0, 0, 0, 10, 2, 3, 4, 19};", "{0, 0, 0, 10, 2, 3, 4, 11};",
     "ace worth 11 instead of 19 in no trumps"),
    ("decl-four-jacks", "rules/Declarations.cpp",
     "Combination{200, 42, \"4*X\"}", "Combination{150, 42, \"4*X\"}",
     "four jacks worth 150 in a suit contract"),
    ("decl-run-rank", "rules/Declarations.cpp",
     "return {50, 22 - 2 * d - s, \"50\"};", "return {50, 22 - d - s, \"50\"};",
     "rank code of a four-card run ignores half its top-card distance"),
    ("decl-run-twice", "rules/Declarations.cpp",
     "                w &= ~set;\n", "",
     "cards of a run found also count in shorter runs"),
    ("decl-partner-best", "rules/Declarations.cpp",
     "partner.announced && partner.value > best", "partner.announced && partner.value < best",
     "partner's better declaration not used for the partnership"),
    ("decl-tie-shown", "rules/Declarations.cpp",
     "return prev.shown ? 0 : 1;", "return 1;",
     "equal declaration beats an opponent who has already shown"),
    ("trump-pair-king", "rules/Declarations.cpp",
     "int other = code >= 48 ? code - 4 : code + 4;", "int other = code > 48 ? code - 4 : code + 4;",
     "king of clubs as trump never earns the king-queen bonus"),
    ("legal-overtrump", "rules/CTrickPile.cpp",
     "first = HigherTrumps(win);", "first = WholeSuit(trump);",
     "trump lead need not be overtrumped"),
    ("legal-partner-wins", "rules/CTrickPile.cpp",
     "PartnershipOf(m_tricks[m_nCurTrick].winner) != PartnershipOf(hand->m_nPlace)",
     "PartnershipOf(m_tricks[m_nCurTrick].winner) == PartnershipOf(hand->m_nPlace)",
     "must trump when the partner wins, need not when an opponent wins"),
    ("trick-winner-plain", "rules/CTrickPile.cpp",
     "PlainBit(code) > PlainBit(win)", "PlainBit(code) < PlainBit(win)",
     "lower card of the winning suit takes the trick"),
    ("higher-trumps-gap", "rules/Cards.cpp",
     "for (int i = 1; i <= 8; ++i)", "for (int i = 2; i <= 8; ++i)",
     "the next higher trump does not count as higher"),
    ("played-by-place", "rules/CTrickPile.cpp",
     "const int i = ((place - m_tricks[t].leader) % 4 + 4) % 4;",
     "const int i = ((m_tricks[t].leader - place) % 4 + 4) % 4;",
     "cards played by a place read from the wrong trick position"),
    # ---- record/: game record encoding and reading ----
    ("ber-length-overrun", "record/CBerWalker.cpp",
     "    if (length > avail - header) return -1;\n", "",
     "element length beyond the record accepted"),
    ("ber-depth", "record/CBerWalker.cpp",
     "if (depth >= kMaxRecordDepth) return -1;", "if (depth >= 1000000) return -1;",
     "nesting depth of a record unbounded"),
    ("ber-long-length", "record/CBerWalker.cpp",
     "        if (avail < 2) return 0;\n", "",
     "one-more-byte length read past the end"),
    ("ber-encode-128", "record/RecordWriter.cpp",
     "if (length < 128) {", "if (length <= 128) {",
     "length 128 written in the short form"),
    ("ber-integer-low-byte", "record/RecordWriter.cpp",
     "for (int shift = 24; shift >= 0; shift -= 8) {", "for (int shift = 24; shift > 0; shift -= 8) {",
     "integers written without their lowest byte"),
    ("escape-tail", "record/RecordEscape.cpp",
     "out += \"zz\";", "out += \"z\";",
     "escaped record without zero bytes loses its last byte"),
    ("reader-deals-bound", "record/CRecordReader.cpp",
     "Bounded(v, -1, kDealEntries - 1)", "Bounded(v, -1, kDealEntries)",
     "deal number from a record one past the deal record"),
    ("reader-table-duplicate", "record/CRecordReader.cpp",
     "if (IsGameCardByte(b) && !((inHands | taken) & CardBit(b))) {\n            taken",
     "if (IsGameCardByte(b)) {\n            taken",
     "card both in a hand and on the table kept twice"),
    ("reader-card-byte", "record/CRecordReader.cpp",
     "(b >= 25 && b <= 52)", "(b >= 24 && b <= 52)",
     "a six accepted as a game card"),
    ("reader-odd-seat", "record/CRecordReader.cpp",
     "(m_bScoresRead || m_bDealRecordRead) && OwnSeatIsOdd()",
     "(m_bScoresRead || m_bDealRecordRead) && !OwnSeatIsOdd()",
     "partnership totals swapped for the wrong seats"),
    # ---- storage/: saved game files ----
    ("save-short-write", "storage/SavedGameFile.cpp",
     "            error = n < 0 ? errno : ENOSPC;\n            break;", "            break;",
     "a save that wrote too little reports success"),
    ("read-too-large", "storage/SavedGameFile.cpp",
     "    if (static_cast<unsigned long>(size) > kMaxSavedGameBytes) return FileResult::TooLarge;\n", "",
     "oversized saved game read whole"),
    ("read-empty", "storage/SavedGameFile.cpp",
     "    if (size == 0) return FileResult::Empty;\n", "",
     "empty file read as a saved game"),
    # ---- net/: frames, dealer, client, discovery ----
    ("frame-length-smaller", "net/Frame.cpp",
     "return h.length == bytesRead &&", "return h.length <= bytesRead &&",
     "frame whose length field is smaller than the bytes read accepted"),
    ("frame-version", "net/Frame.cpp",
     "static_cast<int16_t>(h.version) <= static_cast<int16_t>(kFrameVersion)",
     "static_cast<int16_t>(h.version) < static_cast<int16_t>(kFrameVersion)",
     "frames of the current version refused"),
    ("frame-length-floor", "net/Frame.h",
     "return length >= kHeaderSize && length <= kBufferSize;", "return length <= kBufferSize;",
     "length field below the header size accepted by the reader"),
    ("dealer-stale-ahead", "net/DealerServer.cpp",
     "if (h.seq != c.m_countedFrames) return;", "if (h.seq < c.m_countedFrames) return;",
     "dealer relays a counted frame numbered ahead of the count"),
    ("dealer-placestate-short", "net/DealerServer.cpp",
     "        if (plen < 2) return;\n        m_users.SetState", "        m_users.SetState",
     "dealer takes a place-state payload that is too short"),
    ("dealer-last-id", "net/DealerUsers.cpp",
     "for (int i = 0; i < kMaxUsers; ++i) {\n        if (!IsTaken(i)) {",
     "for (int i = 0; i < kMaxUsers - 1; ++i) {\n        if (!IsTaken(i)) {",
     "dealer never gives out the last free user id"),
    ("dealer-unique-name", "net/DealerUsers.cpp",
     "        candidate.back() = static_cast<char>(candidate.back() + 1);\n", "",
     "two users admitted under the same name"),
    ("dealer-detach-state", "net/DealerUsers.cpp",
     "    m_list[id].state = 0;\n", "",
     "a leaving user's place state stays in the dealer's list"),
    ("dealer-counted-relay", "net/DealerServer.cpp",
     "if (counted) ++target.m_countedFrames;", "if (counted && to == kEverybody) ++target.m_countedFrames;",
     "counted frames sent to one user not counted for it"),
    ("discovery-running", "net/Discovery.cpp",
     "started > 3 ? 1 : 0", "started > 4 ? 1 : 0",
     "a table of four started players announced as waiting"),
    ("discovery-count-cap", "net/Discovery.cpp",
     "    if (count > kAnswerUsers) count = kAnswerUsers;\n", "",
     "user count of a discovery answer not capped"),
    ("client-stray-reply", "net/ClientLink.cpp",
     "if (plen < 2 || ep.m_awaitedReplies == 0) return;", "if (plen < 2) return;",
     "a sync reply nobody awaits is counted"),
    ("client-from-bound", "net/ClientLink.cpp",
     "if (h.from >= kMaxUsers) return;", "if (h.from > kMaxUsers) return;",
     "frame from user id 255 written past the user list"),
    ("auto-entry-bound", "net/UsersList.cpp",
     "index < 0 || index >= kMaxUsers", "index < 0 || index > kMaxUsers",
     "computer partner number that lands past the user list accepted"),
    # ---- ai/: computer card play and bidding ----
    ("prune-threshold", "ai/SearchRules.h",
     "if (n < 3) return legal;", "if (n < 2) return legal;",
     "a hand of two cards is pruned"),
    ("prune-second-five", "ai/SearchRules.h",
     "if (n >= 5 && CannotBeat(s, legal)) {", "if (n >= 4 && CannotBeat(s, legal)) {",
     "second hand plays low already with four cards"),
    ("lead-score-void", "ai/CardPruning.cpp",
     "int score = (l == 0 && r == 0) ? 25 : 10;", "int score = (l == 0 && r == 0) ? 10 : 10;",
     "plain lead does not prefer a suit both opponents lack"),
    ("lead-score-length", "ai/CardPruning.cpp",
     "score += 10 + Count8(m);", "score += 10;",
     "plain lead ignores the length of a suit that stays on top"),
    ("lead-score-tie", "ai/CardPruning.cpp",
     "if (score > bestScore) {", "if (score >= bestScore) {",
     "plain lead tie goes to the last suit, not the first"),
    ("search-tie-points", "ai/CCardSearch.cpp",
     "keep = points < bestPoints ? !winnerMine : winnerMine;",
     "keep = points <= bestPoints ? !winnerMine : winnerMine;",
     "equal-score tie by card points favours the wrong card"),
    ("search-trump-beats", "ai/SearchRules.h",
     "    if (trump < 4 && suit == trump) return true;\n", "",
     "the search does not let a trump beat a plain card"),
    ("search-partner-free", "ai/SearchRules.h",
     "if (SameSide(winner, place)) return hand;", "if (!SameSide(winner, place)) return hand;",
     "the search frees the wrong side from trumping"),
    ("runs-trump-seven", "ai/CardPruning.cpp",
     "if ((b & 3) == 3) b = static_cast<uint8_t>(b & ~1u);",
     "if ((b & 3) == 3) b = static_cast<uint8_t>(b & ~2u);",
     "run reduction keeps the trump seven and drops the eight"),
    ("feed-partner-trumps", "ai/CardPruning.cpp",
     "trumpsL + trumpsR >= trumpsP", "trumpsL + trumpsR > trumpsP",
     "feeding a void partner when the opponents hold as many trumps"),
    ("bidder-estimate", "ai/CComputerBidder.cpp",
     "if (m_eval.OwnEstimate[me][suit] < value) return false;",
     "if (m_eval.OwnEstimate[me][suit] <= value) return false;",
     "computer does not bid the value it estimates"),
    ("bidding-passes", "ai/CBiddingModel.cpp",
     "if (m_nPasses > m_host.BidRule()) return false;", "if (m_nPasses >= m_host.BidRule()) return false;",
     "bidding closes one pass early"),
    ("bidding-double-own", "ai/CBiddingModel.cpp",
     "(m_nContractBidder & 1) == 1) c.dbl = true;", "(m_nContractBidder & 1) == 0) c.dbl = true;",
     "double offered against the own side's contract"),
    ("bidding-restore-max", "ai/CBiddingModel.cpp",
     " || length > static_cast<size_t>(kBiddingSaveMax))", ")",
     "saved bidding longer than the log restored"),
    # ---- app/: game flow and command handling ----
    ("game-end-300", "app/CGameFlowPlay.cpp",
     "if (g_score[0] > 300 || g_score[1] > 300) {", "if (g_score[0] >= 300 || g_score[1] >= 300) {",
     "game ends at a total of exactly 300"),
    ("deal-end-count", "app/CGameFlowPlay.cpp",
     "if (g_pTable->Count() >= 32) {", "if (g_pTable->Count() >= 31) {",
     "deal scored before the last card is played"),
    ("gameover-autoplay", "app/CCommandHandlers.cpp",
     "        g_bGameRunning = 0;\n        g_bAutoPlay = 0;\n", "        g_bGameRunning = 0;\n",
     "AutoPlay stays on after the game is over"),
    ("state-reply-unasked", "app/CCommandHandlers.cpp",
     "if (!g_bStateAsked || g_bStateDone) return;", "if (g_bStateDone) return;",
     "a state reply nobody asked for replaces the game"),
    ("asked-user-left", "app/CCommandHandlers.cpp",
     "        g_bStateDone = 1;\n        m_held.clear();", "        m_held.clear();",
     "waiting for the state of a program that left goes on forever"),
    ("actor-unnamed", "app/CCommandHandlers.cpp",
     "return user >= 0 && user < kMaxUsers && g_UsersList[user].name[0] != 0;",
     "return user >= 0 && user < kMaxUsers;",
     "a command from an unknown user acts for place 0"),
    ("answer-calls-unchecked", "app/CCommandHandlers.cpp",
     "if (!CallsFitMark(begin, end, mark, newDeal >= 0)) return false;", "",
     "an answer is taken for a later question than the calls it shows"),
    ("answer-deal-unchecked", "app/CCommandHandlers.cpp",
     "    if (newDeal >= 0) {\n", "    if (newDeal >= 0) {\n        return true;\n",
     "an answer from before a new deal is taken for a question after it"),
    ("partner-number", "app/CCommandHandlers.cpp",
     "return k >= 1 && k <= 4;", "return k >= 1 && k <= 5;",
     "computer partner number 5 accepted from a peer"),
]

ROWS = {row[0]: row for row in FAULTS}


def select(patterns):
    if not patterns:
        return [row[0] for row in FAULTS]
    chosen = []
    for pattern in patterns:
        if pattern in ROWS:
            hits = [pattern]
        else:
            try:
                rx = re.compile(pattern)
            except re.error as e:
                sys.exit(f"plant-faults: bad selection {pattern!r}: {e}")
            hits = [fid for fid, *_ in FAULTS if rx.search(fid)]
        if not hits:
            sys.exit(f"plant-faults: no fault matches {pattern!r}")
        chosen += [h for h in hits if h not in chosen]
    return chosen  # in the order asked for


def stale_reason(fid):
    _, path, snippet, _, _ = ROWS[fid]
    if not os.path.isfile(path):
        return f"file {path} is missing"
    with open(path, encoding="utf-8") as f:
        n = f.read().count(snippet)
    if n == 1:
        return None
    return f"snippet found {n} times in {path}" if n else f"snippet not found in {path}"


def cmd_list(args):
    for fid in select(args):
        print(f"{fid}\t{ROWS[fid][1]}\t{ROWS[fid][4]}")


def cmd_check(args):
    bad = 0
    for fid in select(args):
        reason = stale_reason(fid)
        if reason:
            print(f"{fid}\t{reason}")
            bad += 1
    return 1 if bad else 0


def cmd_apply(args):
    fid, state = args
    reason = stale_reason(fid)
    if reason:
        print(f"stale: {reason}", file=sys.stderr)
        return 3
    _, path, snippet, replacement, _ = ROWS[fid]
    with open(path, encoding="utf-8") as f:
        original = f.read()
    os.makedirs(os.path.dirname(os.path.abspath(state)) or ".", exist_ok=True)
    # The original first, so that an interrupted run can always put it back.
    with open(state + ".tmp", "w", encoding="utf-8") as f:
        json.dump({"path": os.path.abspath(path), "text": original}, f)
    os.replace(state + ".tmp", state)
    with open(path, "w", encoding="utf-8") as f:
        f.write(original.replace(snippet, replacement, 1))
    return 0


def cmd_restore(args):
    (state,) = args
    if not os.path.exists(state):
        return 0
    with open(state, encoding="utf-8") as f:
        saved = json.load(f)
    # Written anew (fresh time stamp), so the next build recompiles the file.
    with open(saved["path"], "w", encoding="utf-8") as f:
        f.write(saved["text"])
    os.remove(state)
    return 0


def registered_tests(build):
    out = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"],
                         check=True, capture_output=True, text=True).stdout
    built = os.path.abspath(build) + os.sep
    for test in json.loads(out).get("tests", []):
        command = test.get("command") or [""]
        # Long: the end-to-end tests, and the packaging checks (scripts, not test programs).
        long = "/tests/e2e/" in command[0] or not command[0].startswith(built)
        yield test["name"], command[0], long


def cmd_targets(args):
    (build,) = args
    # Test executables are named after their targets.
    names = {os.path.basename(cmd) for _, cmd, is_e2e in registered_tests(build) if cmd and not is_e2e}
    print(" ".join(sorted(names)))
    return 0


def cmd_e2e_regex(args):
    (build,) = args
    e2e, other = set(), set()
    for name, _, is_e2e in registered_tests(build):
        (e2e if is_e2e else other).add(name)
    if not e2e:
        return 0
    # Whole test suites where they hold only end-to-end tests, else single names.
    suites = {n.split(".", 1)[0] for n in e2e}
    shared = {n.split(".", 1)[0] for n in other} & suites
    parts = sorted(re.escape(s) + r"\." for s in suites - shared)
    parts += sorted(re.escape(n) + "$" for n in e2e if n.split(".", 1)[0] in shared)
    print("^(" + "|".join(parts) + ")")
    return 0


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    command, args = sys.argv[1], sys.argv[2:]
    handlers = {"list": cmd_list, "check": cmd_check, "apply": cmd_apply,
                "restore": cmd_restore, "e2e-regex": cmd_e2e_regex,
                "targets": cmd_targets}
    if command not in handlers:
        sys.exit(__doc__)
    sys.exit(handlers[command](args) or 0)


if __name__ == "__main__":
    main()
