#!/usr/bin/env bash
# Builds the Wine tests (a Debug build of their own in build/windows-debug) and
# runs the tests that need the real platform under Wine, in the project's own
# prefix, on the current DISPLAY or a private Xvfb. Exits with the tests' exit code.
# Arguments go to the test program, e.g. --gtest_filter='*Clipboard*'.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"

build="$root/build/windows-debug"
options=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake")
if [ "${CI:-}" = true ]; then
    options+=(-DWLK_WERROR=ON)
fi
cmake -S "$root" -B "$build" -G Ninja "${options[@]}"
cmake --build "$build" --target wlk_wine_tests

wlk_wine_prefix
# The clipboard handler's and the hook tests' windows.
trap wlk_wine_stop EXIT
wlk_display || exit 1
status=0
(cd "$build" && wine ./wlk_wine_tests.exe "$@") || status=$?
exit "$status"
