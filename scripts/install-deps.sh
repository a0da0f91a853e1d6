#!/usr/bin/env bash
# Installs what the build, the tests and the program need on Debian 12, and
# fetches the Debian sources that the Windows build compiles (TinyXML, Google
# Benchmark). Idempotent: a second run installs nothing. Never enables a
# foreign architecture.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev python3 dpkg-dev
    g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
    libtinyxml-dev zlib1g-dev libgtest-dev libgmock-dev googletest
    wine wine64 xvfb xauth xdotool x11-apps imagemagick sox
    nsis
)

src_list=/etc/apt/sources.list.d/wordlark-src.sources
need_update=0
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    cat > "$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    need_update=1
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
    apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Sources for the cross build, from Debian's source packages with their patches
# applied: TinyXML (with its security fixes) and Google Benchmark.
# fetch_source PACKAGE DIR MARKER-FILE
fetch_source() {
    local package=$1 dir=$2 marker=$3 tmp
    [ -f "$dir/$marker" ] && return 0
    tmp=$(mktemp -d)
    (cd "$tmp" && apt-get source -qq "$package" >/dev/null 2>&1) ||
        { apt-get update -qq; (cd "$tmp" && apt-get source -qq "$package" >/dev/null); }
    mkdir -p "$(dirname "$dir")"
    rm -rf "$dir"
    mv "$tmp/$package"-*/ "$dir"
    rm -rf "$tmp"
}
fetch_source tinyxml "$root/build/third_party/tinyxml" tinyxml.cpp
fetch_source benchmark "$root/build/third_party/benchmark" CMakeLists.txt
