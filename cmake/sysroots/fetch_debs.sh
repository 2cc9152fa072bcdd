#!/bin/sh
# fetch_debs.sh OUT NAME:ARCH=VERSION...: downloads pinned Debian packages
# into OUT/debs and unpacks each into OUT/pkgs/NAME, through a private apt
# state under OUT/apt (the host needs no foreign architecture and its apt is
# left alone). A package already unpacked at its version is not fetched again.
set -eu
out=${1:?usage: fetch_debs.sh OUT NAME:ARCH=VERSION...}
shift
mkdir -p "$out" && out=$(cd "$out" && pwd)
state=$out/apt
mkdir -p "$state/lists/partial" "$state/archives/partial" "$state/sources.list.d" \
  "$out/debs" "$out/pkgs"

unpacked_version() { cat "$out/pkgs/$1/.version" 2>/dev/null || true; }

missing=
for wanted in "$@"; do
  name=${wanted%%:*} version=${wanted#*=}
  [ "$(unpacked_version "$name")" = "$version" ] || missing="$missing $wanted"
done
[ -z "$missing" ] && exit 0

apt() {
  apt-get -q -o Dir::State="$state" -o Dir::State::Lists="$state/lists" \
    -o Dir::Cache="$state" -o Dir::Cache::Archives="$state/archives" \
    -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$state/sources.list.d" \
    -o APT::Architecture=amd64 -o APT::Architectures::=amd64 -o APT::Architectures::=mipsel \
    -o Debug::NoLocking=1 -o APT::Sandbox::User=root "$@"
}
# Debian's sources as the host has them.
[ -f /etc/apt/sources.list ] && cp /etc/apt/sources.list "$state/sources.list.d/host.list"
for f in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] && grep -q debian "$f" && cp "$f" "$state/sources.list.d/"
done
apt update >/dev/null

for wanted in $missing; do
  name=${wanted%%:*} arch=${wanted#*:} arch=${arch%%=*} version=${wanted#*=}
  query="$name:$arch=$version"
  [ "$arch" = all ] && query="$name=$version"
  echo "sysroots: fetching $query"
  (cd "$out/debs" && apt download "$query" >/dev/null) || {
    echo "sysroots: $query is no longer served; update cmake/sysroots/pins.conf" >&2
    exit 1
  }
  rm -rf "$out/pkgs/$name"
  dpkg-deb -x "$out/debs/${name}_${version#*:}_$arch.deb" "$out/pkgs/$name"
  echo "$version" >"$out/pkgs/$name/.version"
done
