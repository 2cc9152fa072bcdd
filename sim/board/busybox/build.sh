#!/bin/sh
# Builds the board's BusyBox: Debian's busybox source package at the version
# pinned in sim/board/packages.conf, configured by applets.config over
# allnoconfig, compiled with the board's C compiler (and so linked to its C
# library). The result is kept in a cache outside the build tree, keyed by
# the version, the configuration, this script and the compiler with its C
# library, so every board directory and every later build reuses it.
#   build.sh CC      prints the cache directory holding busybox and
#                    busybox.links (the applets, one path a line)
# CC is the compiler command with its flags (the board build's
# board-toolchain.env gives it). The cache is $XDG_CACHE_HOME/routerd-busybox
# (default ~/.cache/routerd-busybox).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cc=${1:?usage: build.sh CC}
cache=${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/routerd-busybox
version=$(awk '$1 == "busybox" && $2 == "source" { print $3 }' "$here/../packages.conf")
[ -n "$version" ] || { echo "busybox: no source version in packages.conf" >&2; exit 1; }

# The C library the compiler links: its file's checksum is part of the key.
# shellcheck disable=SC2086
libc_file=$(readlink -f "$($cc -print-file-name=libc.so)")
key=$({
  echo "$version"
  echo "$cc"
  cat "$here/applets.config" "$0"
  sha256sum < "$libc_file"
} | sha256sum | cut -c1-16)
out=$cache/$key
if [ -x "$out/busybox" ] && [ -s "$out/busybox.links" ]; then
  echo "$out"
  exit 0
fi
mkdir -p "$cache"

# The source, once per version: apt-get source with the board's private apt
# state, unpacked (and patched) by dpkg-source.
# (make takes no ":" in a path: the epoch stays out of the directory name)
src=$cache/src/busybox-${version#*:}
if [ ! -f "$src/.unpacked" ]; then
  . "$here/../apt_state.sh"
  board_apt_state "$cache/apt" deb-src
  rm -rf "$cache/src" && mkdir -p "$cache/src/dl"
  echo "board: fetching the busybox $version source" >&2
  # shellcheck disable=SC2086
  (cd "$cache/src/dl" && apt-get $apt_opts source --download-only "busybox=$version" >/dev/null) || {
    echo "board: busybox $version source is no longer served; update sim/board/packages.conf" >&2
    exit 1
  }
  # apt has checked the files against the archive's signed index already.
  dpkg-source --no-check -x "$cache/src/dl"/busybox_*.dsc "$src" >/dev/null
  : > "$src/.unpacked"
fi

# allnoconfig, then the fragment's lines in place of their defaults, then
# the defaults of the options the fragment made visible.
work=$cache/build-$key.$$
trap 'rm -rf "$work"' EXIT
rm -rf "$work" && mkdir -p "$work"
echo "board: building busybox $version ($key) with $cc" >&2
make -s -C "$src" O="$work" allnoconfig >/dev/null
grep -oE '^CONFIG_[A-Z0-9_]+' "$here/applets.config" | sed -e 's/^/^(# )?/' -e 's/$/[= ]/' \
  > "$work/.fragment-keys"
{ grep -v -E -f "$work/.fragment-keys" "$work/.config"; grep '^CONFIG_' "$here/applets.config"; } \
  > "$work/.config.new"
mv "$work/.config.new" "$work/.config"
yes '' | make -s -C "$work" oldconfig >/dev/null
missing=$(grep '^CONFIG_[A-Z0-9_]*=' "$here/applets.config" | while IFS= read -r line; do
  grep -qxF "$line" "$work/.config" || echo "${line%%=*}"
done)
[ -z "$missing" ] || { echo "busybox: options not taken: $missing" >&2; exit 1; }
# binutils of the target's architecture (strip, ar), the board's compiler.
make -C "$work" -j "${JOBS:-2}" CROSS_COMPILE=mipsel-linux-gnu- CC="$cc" busybox busybox.links \
  > "$work/build.log" 2>&1 || { tail -n 30 "$work/build.log" >&2; exit 1; }

mkdir -p "$out.new"
cp "$work/busybox" "$work/busybox.links" "$work/.config" "$out.new/"
rm -rf "$out" && mv "$out.new" "$out"
echo "$out"
