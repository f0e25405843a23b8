#!/usr/bin/env bash
# Builds the libFuzzer targets and runs every stored corpus input through its
# fuzzer once. Corpus folders are tests/fuzz/<area>/corpus/<target>/, the
# folder named after the fuzz target that reads it.
#   tests/fuzz/replay.sh            (build dir: build-fuzz, or $VESK_FUZZ_BUILD)
# Exits non-zero when a target is missing or an input makes a fuzzer fail.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${VESK_FUZZ_BUILD:-$root/build-fuzz}
jobs=${JOBS:-2}

shopt -s nullglob
corpora=("$root"/tests/fuzz/*/corpus/*/)
if [ ${#corpora[@]} -eq 0 ]; then
    echo "no corpus folders under tests/fuzz/*/corpus/" >&2
    exit 1
fi

CC=${CC:-clang} CXX=${CXX:-clang++} cmake -S "$root" -B "$build" \
    -DVESK_FUZZ=ON -DVESK_WITH_QT=OFF -DVESK_TESTS=OFF -DVESK_BENCH=OFF >/dev/null

targets=()
for dir in "${corpora[@]}"; do
    targets+=("$(basename "$dir")")
done
cmake --build "$build" -j"$jobs" --target "${targets[@]}"

# Quarantine off: the fuzzers allocate per input and run far faster without it.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=0:detect_leaks=1}
status=0
for dir in "${corpora[@]}"; do
    name=$(basename "$dir")
    area=$(basename "$(dirname "$(dirname "$dir")")")
    bin="$build/tests/fuzz/$area/$name"
    if [ ! -x "$bin" ]; then
        echo "FAIL $area/$name: no fuzzer binary at $bin" >&2
        status=1
        continue
    fi
    count=$(find "$dir" -type f | wc -l)
    # Files given one by one are run once each; nothing is written to the corpus.
    if find "$dir" -type f -print0 | xargs -0 -r -n 500 "$bin" -runs=1 >"$build/replay-$name.log" 2>&1; then
        echo "ok   $area/$name ($count inputs)"
    else
        echo "FAIL $area/$name: see $build/replay-$name.log" >&2
        tail -20 "$build/replay-$name.log" >&2
        status=1
    fi
done
exit $status
