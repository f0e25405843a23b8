#!/usr/bin/env bash
# Plants small faults in the code one at a time, rebuilds, runs the test suite
# and counts how many of them the suite catches. The faults are rows of the
# table in scripts/plant_faults.py.
set -u -o pipefail

usage() {
    cat <<'EOF'
Usage: scripts/plant-faults.sh [options] [FAULT...]

Plants each selected fault (all by default) in turn: patches the file, rebuilds
in its own build folder, runs the tests with ctest, and puts the file back. A
fault is caught when any test fails; when the build fails it counts as
"not built" (neither caught nor uncaught). The source file is always restored,
also on Ctrl-C or an error.

FAULT is a fault id or a regular expression searched in the ids
(e.g. 'dealer-' or '^score-round-5$'); faults are planted in the order named,
so '.' after some ids runs those first and then the rest.

Options:
  -B, --build DIR     build folder (default: build-faults)
  -j, --jobs N        parallel build jobs and tests (default: 2)
  -t, --timeout S     ctest timeout per test in seconds (default: 300)
      --e2e           include the long tests: end-to-end (tests/e2e) and the
                      packaging checks. By default they are left out, and only
                      the test programs are rebuilt, so that a run of some 60
                      faults stays within hours rather than a day (the rules,
                      record, network, computer-player, app, display and
                      storage tests still run).
      --no-baseline   skip the first run of the suite without any fault
      --budget MIN    plant no further fault after MIN minutes; the summary
                      then counts the faults planted so far and names the rest
  -l, --list          list the faults (id, file, description) and exit
  -c, --check         report stale faults (snippet missing or not unique) and exit
  -h, --help          this text

The table's rows are checked before anything is planted: a row whose snippet is
missing or not unique is reported as stale and not planted. On a shared machine
run it under nice, e.g.: nice -n 19 scripts/plant-faults.sh
Logs of each fault's build and test run go to DIR/plant-faults/.
EOF
}

here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/.." && pwd)
helper="$here/plant_faults.py"
build=build-faults
jobs=2
timeout=300
e2e=0
baseline=1
budget=0
select=()

while [ $# -gt 0 ]; do
    case "$1" in
    -B | --build) build=$2; shift 2 ;;
    -j | --jobs) jobs=$2; shift 2 ;;
    -j*) jobs=${1#-j}; shift ;;
    -t | --timeout) timeout=$2; shift 2 ;;
    --e2e) e2e=1; shift ;;
    --no-baseline) baseline=0; shift ;;
    --budget) budget=$2; shift 2 ;;
    -l | --list) cd "$src" && exec python3 "$helper" list ;;
    -c | --check) cd "$src" && exec python3 "$helper" check ;;
    -h | --help) usage; exit 0 ;;
    --) shift; select+=("$@"); break ;;
    -*) echo "plant-faults: unknown option $1" >&2; usage >&2; exit 2 ;;
    *) select+=("$1"); shift ;;
    esac
done

cd "$src" || exit 2
case "$build" in /*) ;; *) build="$src/$build" ;; esac
logs="$build/plant-faults"
state="$logs/planted.json"
mkdir -p "$logs"

restore() { python3 "$helper" restore "$state"; }
# A run stopped hard (kill -9, power) leaves its fault in place: put it back first.
restore || exit 2
trap 'restore' EXIT
trap 'restore; echo "plant-faults: interrupted" >&2; exit 130' INT TERM HUP

ids=$(python3 "$helper" list "${select[@]}" | cut -f1) || exit 2
stale=$(python3 "$helper" check "${select[@]}")
if [ -n "$stale" ]; then
    echo "plant-faults: stale faults (not planted):"
    echo "$stale" | sed 's/^/  /'
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/CMakeCache.txt" ]; then
    # Linked with gold: each fault relinks every test program, and that link is
    # most of a fault's time.
    cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_BENCH=OFF \
        -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=gold -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=gold \
        "${launcher[@]}" >"$logs/configure.log" 2>&1 ||
        { echo "plant-faults: configure failed, see $logs/configure.log" >&2; exit 2; }
fi

targets=()
build_tree() { cmake --build "$build" -j "$jobs" "${targets[@]}" >"$1" 2>&1; }

exclude=()
run_tests() {
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -j "$jobs" --timeout "$timeout" \
        --stop-on-failure "${exclude[@]}" >"$1" 2>&1
}

build_tree "$logs/baseline.build.log" ||
    { echo "plant-faults: the tree does not build without faults, see $logs/baseline.build.log" >&2; exit 2; }
if [ "$e2e" = 0 ]; then
    regex=$(python3 "$helper" e2e-regex "$build") || exit 2
    [ -n "$regex" ] && exclude=(-E "$regex")
    read -r -a programs <<<"$(python3 "$helper" targets "$build")" || exit 2
    [ ${#programs[@]} -gt 0 ] && targets=(--target "${programs[@]}")
    echo "plant-faults: end-to-end and packaging tests left out; --e2e includes them"
fi
if [ "$baseline" = 1 ]; then
    if ! run_tests "$logs/baseline.test.log"; then
        echo "plant-faults: the suite fails without any fault, see $logs/baseline.test.log" >&2
        grep -E '^\s*[0-9]+ - ' "$logs/baseline.test.log" >&2
        exit 2
    fi
fi

planted=0 caught=0 uncaught=0 notbuilt=0 stalecount=0
missed=() skipped=()
began=$SECONDS
total=$(echo "$ids" | grep -c .)
n=0
for id in $ids; do
    n=$((n + 1))
    if [ "$budget" -gt 0 ] && [ $((SECONDS - began)) -ge $((budget * 60)) ]; then
        skipped+=("$id")
        continue
    fi
    desc=$(python3 "$helper" list "$id" | cut -f3)
    start=$SECONDS
    if ! python3 "$helper" apply "$id" "$state" 2>/dev/null; then
        stalecount=$((stalecount + 1))
        printf '[%d/%d] %-26s STALE      %s\n' "$n" "$total" "$id" "$desc"
        continue
    fi
    if ! build_tree "$logs/$id.build.log"; then
        result="NOT-BUILT"
        notbuilt=$((notbuilt + 1))
    else
        planted=$((planted + 1))
        if run_tests "$logs/$id.test.log"; then
            result="UNCAUGHT"
            uncaught=$((uncaught + 1))
            missed+=("$id: $desc")
        else
            result="caught"
            caught=$((caught + 1))
        fi
    fi
    restore
    printf '[%d/%d] %-26s %-10s %s (%ds)\n' "$n" "$total" "$id" "$result" "$desc" $((SECONDS - start))
done

# Leave the build folder matching the restored sources.
build_tree "$logs/final.build.log" || echo "plant-faults: rebuild after the run failed" >&2

echo "plant-faults: planted=$planted caught=$caught uncaught=$uncaught not_built=$notbuilt stale=$stalecount"
if [ ${#skipped[@]} -gt 0 ]; then
    echo "plant-faults: not run (time budget spent): ${skipped[*]}"
fi
if [ ${#missed[@]} -gt 0 ]; then
    echo "plant-faults: uncaught faults:"
    printf '  %s\n' "${missed[@]}"
fi
