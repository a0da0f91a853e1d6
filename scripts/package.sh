#!/usr/bin/env bash
# Makes the two things a Windows user downloads, from the release build in dist/
# (built first when dist/Wordlark.exe is missing):
#   build/package/Wordlark-VERSION-setup.exe     the per-user installer (NSIS)
#   build/package/Wordlark-VERSION-portable.zip  dist/ as the user unpacks it
# VERSION is the file version Wordlark.exe carries in its version resource.
# Prints both paths with their sizes; exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist="$root/dist"
out="$root/build/package"
build="$root/build/windows"

if [ ! -f "$dist/Wordlark.exe" ]; then
    "$root/scripts/install-deps.sh"
    options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake")
    [ "${CI:-}" = true ] && options+=(-DWLK_WERROR=ON)
    cmake -S "$root" -B "$build" -G Ninja "${options[@]}" >/dev/null
    cmake --build "$build" --target Wordlark
fi
command -v makensis >/dev/null || { echo "makensis is missing (scripts/install-deps.sh installs nsis)" >&2; exit 1; }

# The fixed part of VS_VERSION_INFO starts with the signature 0xFEEF04BD,
# followed by the structure version and the file version's two halves.
version=$(python3 - "$dist/Wordlark.exe" <<'PY'
import struct
import sys

data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD))
if at < 0:
    sys.exit("no version resource in " + sys.argv[1])
high, low = struct.unpack_from("<II", data, at + 8)
print(f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}")
PY
)

mkdir -p "$out"
setup="$out/Wordlark-$version-setup.exe"
portable="$out/Wordlark-$version-portable.zip"
rm -f "$setup" "$portable"

defines=(-DVERSION="$version" -DDIST="$dist" -DOUTFILE="$setup")
[ -f "$build/res/wordlark.ico" ] && defines+=(-DICON="$build/res/wordlark.ico")
log="$out/makensis.log"
if ! makensis -V3 -WX "${defines[@]}" "$root/package/wordlark.nsi" >"$log" 2>&1; then
    tail -30 "$log" >&2
    echo "makensis failed, see $log" >&2
    exit 1
fi

# Only what the program ships with: a settings file, a log or a history left
# by a run in dist/ stays out.
python3 - "$dist" "$portable" <<'PY'
import fnmatch
import sys
import zipfile
from pathlib import Path

dist, target = Path(sys.argv[1]), Path(sys.argv[2])
programs = {"wordlark.exe", "wordlark.dll", "wordlarkeditor.exe"}
paths = [p for p in dist.iterdir() if p.is_file() and (
    p.name.lower() in programs or fnmatch.fnmatch(p.name.lower(), "*.lng")
    or fnmatch.fnmatch(p.name.lower(), "*.wav"))]
library = dist / "UserPhrases"
paths += [library, *library.rglob("*")]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    for path in sorted(paths):
        archive.write(path, path.relative_to(dist).as_posix())
PY

for file in "$setup" "$portable"; do
    printf '%s  %d bytes\n' "$file" "$(stat -c %s "$file")"
done
