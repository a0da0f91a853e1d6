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
# Windows below the top level (the clipboard handler's) need Wine's display
# driver: without a DISPLAY the tests get a private Xvfb.
xvfb=""
stop() {
    wlk_wine_stop
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
}
trap stop EXIT
if [ -z "${DISPLAY:-}" ]; then
    exec {display_fd}<> <(:)
    Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    read -r -t 10 -u "$display_fd" number || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$number"
fi
status=0
(cd "$build" && wine ./wlk_wine_tests.exe --gtest_brief=1 "$@") || status=$?
exit "$status"
