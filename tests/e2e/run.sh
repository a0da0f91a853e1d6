#!/usr/bin/env bash
# Runs the end-to-end tests against the already built dist/Wordlark.exe under
# Wine on a private Xvfb. Builds nothing. Ends with the line
# "N passed, N failed, N skipped" and exits non-zero when a test failed.
#   tests/e2e/run.sh                       the whole suite
#   tests/e2e/run.sh test_tray.TrayTest.test_icon_off_icon_and_the_balloon_of_a_second_start
#   WLK_E2E_DIST=/other/dist tests/e2e/run.sh   against another build's output
#   WLK_E2E_PREFIX=/other/prefix tests/e2e/run.sh   in another Wine prefix
# Runs on one prefix take turns (a lock beside the prefix).
# A failing test leaves a screenshot and its log in build/e2e-artifacts/.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

dist=${WLK_E2E_DIST:-$root/dist}
if [ ! -f "$dist/Wordlark.exe" ]; then
    echo "$dist/Wordlark.exe is missing: build the Wordlark target first" >&2
    echo "0 passed, 1 failed, 0 skipped"
    exit 1
fi
missing=()
for tool in Xvfb wine wineserver wineboot xdotool import xwd convert flock; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "missing tools: ${missing[*]} (scripts/install-deps.sh installs them)" >&2
    echo "0 passed, 1 failed, 0 skipped"
    exit 1
fi

# Should Python die before its own clean-up, still end our prefix's server,
# but not while another run holds the session lock: the server is its own then.
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
export WINEPREFIX=${WLK_E2E_PREFIX:-$WINEPREFIX}
stop_our_server() {
    flock -n "$WINEPREFIX.e2e-lock" wineserver -k >/dev/null 2>&1 || true
}
trap stop_our_server EXIT

cd "$here" && python3 - "$@" <<'PY'
import sys
import unittest

names = sys.argv[1:]
loader = unittest.TestLoader()
if names:
    suite = loader.loadTestsFromNames(names)
else:
    suite = loader.discover(".", pattern="test_*.py", top_level_dir=".")
result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
# A failed module set-up or tear-down is reported as an error of no test case.
broken = [test for test, _ in result.failures + result.errors]
in_cases = [t for t in broken if not isinstance(t, unittest.suite._ErrorHolder)]
skipped = len(result.skipped)
passed = result.testsRun - len(in_cases) - len(result.unexpectedSuccesses) - skipped
failed = len(broken) + len(result.unexpectedSuccesses)
print(f"{passed} passed, {failed} failed, {skipped} skipped")
sys.exit(1 if failed or result.testsRun == 0 else 0)
PY
