#!/usr/bin/env bash
# Builds the fuzz harnesses (build/fuzz: clang, libFuzzer with the address and
# undefined-behaviour sanitizers) and fuzzes each for SECONDS (default 600) on
# its corpus fuzz/corpus/NAME, as many at a time as there are processors. At
# the end the inputs found are merged into fuzz/corpus/NAME, keeping only those
# that reach edges it did not; crash, leak, timeout (60 s) and out-of-memory
# (2 GB) inputs go to build/fuzz/artifacts/NAME/. Prints one line per harness:
# its runs, its coverage (edges, features) at the start and the end, the inputs
# added to the corpus and the crashes, and its runs per second; exits non-zero
# when a harness crashed. Names after SECONDS fuzz only those harnesses.
#   scripts/fuzz-long.sh [SECONDS [NAME...]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-600}
case "$seconds" in '' | *[!0-9]*) echo "usage: $0 [SECONDS [NAME...]]" >&2; exit 2 ;; esac
shift $(($# > 0 ? 1 : 0))

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWLK_FUZZ=ON >/dev/null
if ! cmake --build build/fuzz >build/fuzz/build.log 2>&1; then
    grep -E 'error|FAILED' build/fuzz/build.log || tail -20 build/fuzz/build.log
    echo "building the harnesses failed"
    exit 1
fi

# fuzz NAME: one harness, its summary line into build/fuzz/long/NAME/summary.
fuzz() {
    local name=$1 program="build/fuzz/$1_fuzz" corpus="fuzz/corpus/$1"
    local work="build/fuzz/long/$1" artifacts="build/fuzz/artifacts/$1"
    rm -rf "$work"
    mkdir -p "$work/found" "$artifacts" "$corpus"
    touch "$work/started"
    # libFuzzer writes what it finds into the first folder, so the corpus
    # itself changes only by the merge.
    "$program" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=60 \
        -artifact_prefix="$artifacts/" "$work/found" "$corpus" >"$work/log" 2>&1 || true
    local before after
    before=$(find "$corpus" -type f | wc -l)
    # Without counters an input counts only for the edges it reaches, not for
    # how often: a tenth as many inputs, and the same edges.
    "$program" -merge=1 -use_counters=0 -rss_limit_mb=2048 -timeout=60 \
        -artifact_prefix="$artifacts/" "$corpus" "$work/found" >"$work/merge.log" 2>&1 || true
    after=$(find "$corpus" -type f | wc -l)

    local runs start end crashes
    runs=$(grep -oE '^Done [0-9]+' "$work/log" | grep -oE '[0-9]+' || true)
    [ -n "$runs" ] || runs=$(grep -oE '^#[0-9]+' "$work/log" | tail -1 | tr -d '#' || true)
    start=$(grep -m1 -oE 'INITED cov: [0-9]+ ft: [0-9]+' "$work/log" | cut -d' ' -f3,5 || true)
    end=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$work/log" | tail -1 | cut -d' ' -f2,4 || true)
    start=${start:-- -} end=${end:-- -}  # a crash on the corpus comes before any
    crashes=$(find "$artifacts" -type f -newer "$work/started" \
        \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    printf '%-18s runs %9s (%5d/s)   cov %5s -> %-5s  ft %6s -> %-6s  new inputs %4d   crashes %d\n' \
        "$name" "${runs:-0}" $((${runs:-0} / seconds)) "${start% *}" "${end% *}" "${start#* }" \
        "${end#* }" $((after - before)) "$crashes" >"$work/summary"
}

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
    for program in build/fuzz/*_fuzz; do harnesses+=("$(basename "$program" _fuzz)"); done
fi
for name in "${harnesses[@]}"; do
    [ -x "build/fuzz/${name}_fuzz" ] || { echo "no harness $name" >&2; exit 2; }
done
parallel=$(nproc)
echo "fuzzing ${#harnesses[@]} harnesses for ${seconds}s each, $parallel at a time"
for name in "${harnesses[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
    fuzz "$name" &
done
wait

crashed=0
for name in "${harnesses[@]}"; do
    summary="build/fuzz/long/$name/summary"
    cat "$summary" 2>/dev/null || echo "$name: no summary, see build/fuzz/long/$name/log"
    grep -qs 'crashes 0$' "$summary" || crashed=1
done
[ "$crashed" -eq 0 ]
