#!/usr/bin/env bash
# Installs what the build, the tests and the program need on Debian 12, and
# fetches Debian's patched TinyXML source for the Windows build. Idempotent:
# a second run installs nothing. Never enables a foreign architecture.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev python3 dpkg-dev
    g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
    libtinyxml-dev zlib1g-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
    wine wine64 xvfb xauth xdotool x11-apps imagemagick sox
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

# TinyXML for the cross build: Debian's source package with its security patches applied.
tx="$root/build/third_party/tinyxml"
if [ ! -f "$tx/tinyxml.cpp" ]; then
    tmp=$(mktemp -d)
    (cd "$tmp" && apt-get source -qq tinyxml >/dev/null 2>&1) || { apt-get update -qq; (cd "$tmp" && apt-get source -qq tinyxml >/dev/null); }
    mkdir -p "$(dirname "$tx")"
    rm -rf "$tx"
    mv "$tmp"/tinyxml-*/ "$tx"
    rm -rf "$tmp"
fi
