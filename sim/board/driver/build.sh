#!/bin/sh
# Builds the board's kernel module routerd_board.ko, the probe program and
# its self-test script into OUTDIR, against the board kernel's headers as
# fetch_packages.sh unpacks them (BOARD_PKGS, default build/board/pkgs).
# The headers expect the Debian layout under /usr; a private copy of that
# layout is kept in OUTDIR/kernel-tree. Idempotent: unchanged sources are
# not rebuilt.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
out=${1:?usage: build.sh OUTDIR}
mkdir -p "$out" && out=$(cd "$out" && pwd)
pkgs=${BOARD_PKGS:-$repo/build/board/pkgs}

"$here/../fetch_packages.sh" "$(dirname "$pkgs")"

flavour=$(ls -d "$pkgs"/linux-headers-*-4kc-malta 2>/dev/null | tail -n 1)
common=$(ls -d "$pkgs"/linux-headers-*-common 2>/dev/null | tail -n 1)
kbuild=$(ls -d "$pkgs"/linux-kbuild-* 2>/dev/null | tail -n 1)
release=${flavour##*/linux-headers-}
[ -d "$flavour" ] && [ -d "$common" ] && [ -d "$kbuild" ] || {
  echo "board driver: kernel headers or kbuild missing under $pkgs" >&2
  exit 1
}

# The headers' Makefile includes the common headers by absolute path: the
# private tree gets one naming its own copy.
tree=$out/kernel-tree
stamp="$release $(cat "$flavour/.version")"
if [ "$(cat "$tree/.stamp" 2>/dev/null)" != "$stamp" ]; then
  rm -rf "$tree"
  mkdir -p "$tree"
  for package in "$flavour" "$common" "$kbuild"; do cp -a "$package/usr" "$tree/"; done
  echo "include $tree/usr/src/${common##*/}/Makefile" > "$tree/usr/src/linux-headers-$release/Makefile"
  echo "$stamp" > "$tree/.stamp"
fi

# Kbuild writes its objects beside the sources: it works on a copy.
mkdir -p "$out/src"
for file in "$here"/Kbuild "$here"/*.c "$here"/*.h; do
  case "$file" in */probe.c) continue ;; esac
  cmp -s "$file" "$out/src/${file##*/}" || cp -p "$file" "$out/src/"
done
# Kbuild takes seconds even with nothing to do: it runs only when a source
# (or an ABI header) is newer than the module.
changed=$(find "$out/src" "$repo/boardutil/include/boardutil" \( -name '*.[ch]' -o -name Kbuild \) \
  -newer "$out/routerd_board.ko" 2>/dev/null | head -n 1)
if [ ! -e "$out/routerd_board.ko" ] || [ -n "$changed" ] || [ "$tree/.stamp" -nt "$out/routerd_board.ko" ]; then
  make -s -j2 -C "$tree/usr/src/linux-headers-$release" M="$out/src" ARCH=mips \
    CROSS_COMPILE=mipsel-linux-gnu- ROUTERD_ABI="$repo/boardutil/include" modules
  mipsel-linux-gnu-strip --strip-debug -o "$out/routerd_board.ko" "$out/src/routerd_board.ko"
fi

if [ ! -e "$out/probe" ] || [ "$here/probe.c" -nt "$out/probe" ]; then
  mipsel-linux-gnu-gcc -static -O2 -Wall -Wextra -I"$repo/boardutil/include" \
    -o "$out/probe" "$here/probe.c"
fi
cmp -s "$here/selftest.sh" "$out/selftest.sh" || cp "$here/selftest.sh" "$out/"
