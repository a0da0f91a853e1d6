#!/usr/bin/env bash
# Builds the release Windows build (build/windows: Wordlark.exe into dist/ and
# the benchmarks) and runs every benchmark under Wine against the real
# platform, in the project's own prefix (on the current DISPLAY or a private
# Xvfb). Each benchmark prints its ratio to a plain baseline measured in the
# same run: file access, or for the hook query a plain posted message.
#   scripts/run-benchmarks.sh                full runs
#   scripts/run-benchmarks.sh --short        one iteration each on a tenth of
#                                            the data: shows that they work
#   scripts/run-benchmarks.sh -- ARGS        ARGS go to every benchmark,
#                                            e.g. --benchmark_min_time=5
# Ends with "benchmarks: N passed, N failed"; exits non-zero when one failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

args=()
while [ $# -gt 0 ]; do
    case "$1" in
        --short) args+=(--short); shift ;;
        --) shift; args+=("$@"); break ;;
        *) echo "unknown option: $1" >&2; exit 2 ;;
    esac
done

"$root/scripts/install-deps.sh" || exit 1
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"

build="$root/build/windows"
options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake")
[ "${CI:-}" = true ] && options+=(-DWLK_WERROR=ON)
if ! { cmake -S "$root" -B "$build" -G Ninja "${options[@]}" >/dev/null && cmake --build "$build"; }; then
    echo "benchmarks: 0 passed, 1 failed"
    exit 1
fi

wlk_wine_prefix
# The hook query benchmark makes windows.
trap wlk_wine_stop EXIT
wlk_display || exit 1
passed=0 failed=0
for program in "$build"/*_bench.exe; do
    echo "== $(basename "$program" .exe)"
    if (cd "$build" && wine "$program" "${args[@]}"); then
        passed=$((passed + 1))
    else
        echo "FAILED: $(basename "$program")"
        failed=$((failed + 1))
    fi
done
echo "benchmarks: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
