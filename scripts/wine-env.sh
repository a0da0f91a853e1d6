# shellcheck shell=bash
# Sourced by the scripts that run Windows programs under Wine. Gives them the
# project's own prefix under build/, so that nothing touches the user's ~/.wine
# and `wineserver -k` ends only our server; no debug chatter; and no offer to
# install Mono or Gecko, which would wait for a click that never comes.
wlk_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$wlk_root/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Creates the prefix on first use. `wineboot -i` takes seconds, so a prefix is
# made once and kept; the marker tells a finished prefix from an interrupted one.
wlk_wine_prefix() {
    if [ -f "$WINEPREFIX/.wlk-ready" ]; then
        return 0
    fi
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.wlk-ready"
}

# Ends the wineserver of our prefix, and with it anything still running in it.
wlk_wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
}
