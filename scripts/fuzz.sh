#!/usr/bin/env bash
# Runs every fuzz target for a given time, starting from its corpus in
# fuzz/corpus/<name without the fuzz_ prefix>/, then keeps what it found in that corpus. The
# corpus stays small: beside the hand-written seeds it holds the smallest set of inputs that
# reaches every branch the corpus and the new inputs reach (files named by their SHA-1).
# Crashes, leaks, timeouts and their logs land in build/fuzz/findings/; the script then fails.
# Usage: bash scripts/fuzz.sh [seconds per target, 600 by default] [targets at once, 1 by default]
#                             [target names, every target by default]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
at_once=${2:-1}
usage() {
    echo "usage: bash scripts/fuzz.sh [seconds per target] [targets at once] [targets...]" >&2
    exit 2
}
[[ $seconds =~ ^[1-9][0-9]*$ && $at_once =~ ^[1-9][0-9]*$ ]] || usage
targets=("${@:3}")
for name in "${targets[@]}"; do
    [[ -f fuzz/$name.cpp ]] || usage
done

bash scripts/install-deps.sh

# The same clang build as the test run's.
if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARVANE_FUZZ=ON -DTARVANE_WERROR=ON >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target tarvane_fuzzers

findings=$PWD/build/fuzz/findings
mkdir -p "$findings"
export QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp

# Names of merged inputs: the SHA-1 of their contents. Any other name is a hand-written seed.
is_merged_input() {
    [[ $(basename "$1") =~ ^[0-9a-f]{40}$ ]]
}

# keep_smallest_set <name> <corpus> <found>: replaces the corpus's merged inputs by the smallest
# set of inputs from the corpus and the found ones that reaches every branch they reach.
keep_smallest_set() {
    local name=$1 corpus=$2 found=$3
    local smallest=$findings/$name.smallest
    rm -rf "$smallest"
    mkdir -p "$smallest"
    # Branches only, not how often each is taken: one input per branch is enough to start from.
    if ! "build/fuzz/fuzz/$name" -merge=1 -use_counters=0 "$smallest" "$corpus" "$found" \
        >"$findings/$name.merge.log" 2>&1; then
        echo "$name: the merge failed, see $findings/$name.merge.log; corpus left as it was" >&2
        return
    fi
    local file
    for file in "$corpus"/*; do
        if is_merged_input "$file"; then
            rm -f "$file"
        else
            # A seed already in the corpus under its own name.
            rm -f "$smallest/$(sha1sum <"$file" | cut -d' ' -f1)"
        fi
    done
    cp "$smallest"/* "$corpus"/ 2>/dev/null || true
    rm -rf "$smallest"
}

# run_target <name>: fuzzes from the corpus into a folder of new inputs, keeps them in the
# corpus and writes a one-line summary to findings/<name>.summary; fails when the target did.
run_target() {
    local name=$1
    local corpus=fuzz/corpus/${name#fuzz_}
    local found=$findings/$name.found
    local log=$findings/$name.log
    rm -rf "$found" "$findings/$name"-*
    mkdir -p "$found" "$corpus"
    local before status=0 dictionary=()
    before=$(find "$corpus" -type f | wc -l)
    # The words of the target's input format, when it has a dictionary.
    [[ -f fuzz/$name.dict ]] && dictionary=(-dict="fuzz/$name.dict")
    # New inputs go to the first folder; the corpus is only read.
    "build/fuzz/fuzz/$name" -max_total_time="$seconds" -timeout=5 -print_final_stats=1 \
        "${dictionary[@]}" -artifact_prefix="$findings/$name-" "$found" "$corpus" >"$log" 2>&1 ||
        status=$?
    # Whatever the run ended with, what it found until then is worth keeping.
    keep_smallest_set "$name" "$corpus" "$found"
    rm -rf "$found"
    local runs after artifacts
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    after=$(find "$corpus" -type f | wc -l)
    artifacts=$(find "$findings" -maxdepth 1 -name "$name-*" -printf '%f ')
    if [[ $status -eq 0 ]]; then
        echo "$name: ${runs:-?} inputs in $seconds s, clean; corpus $before -> $after inputs" \
            >"$findings/$name.summary"
    else
        echo "$name: FAILED (status $status) after ${runs:-?} inputs: ${artifacts:-no artifact}," \
            "see $log; corpus $before -> $after inputs" >"$findings/$name.summary"
    fi
    return "$status"
}

if ((${#targets[@]} == 0)); then
    for source in fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi
echo "== Fuzzing ${targets[*]}: $seconds s each, $at_once at a time"

running=0
failed=0
for name in "${targets[@]}"; do
    if ((running >= at_once)); then
        wait -n || failed=1
        running=$((running - 1))
    fi
    run_target "$name" &
    running=$((running + 1))
done
while ((running > 0)); do
    wait -n || failed=1
    running=$((running - 1))
done

for name in "${targets[@]}"; do
    cat "$findings/$name.summary"
done
exit "$failed"
