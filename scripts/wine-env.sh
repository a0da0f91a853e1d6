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

# Ends the wineserver of our prefix, and with it anything still running in it,
# and the private Xvfb when there is one.
wlk_xvfb=""
wlk_wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$wlk_xvfb" ]; then kill "$wlk_xvfb" 2>/dev/null || true; fi
}

# Windows below the top level need Wine's display driver: without a DISPLAY
# this starts a private Xvfb, which wlk_wine_stop ends.
wlk_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local display_fd number
    exec {display_fd}<> <(:)
    Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    wlk_xvfb=$!
    read -r -t 30 -u "$display_fd" number || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$number"
}
