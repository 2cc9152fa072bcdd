#!/bin/sh
# Downloads the pinned binary board packages (packages.conf, or the list
# given as the second argument; the source packages are busybox/build.sh's)
# into OUT/debs and unpacks each into OUT/pkgs/PACKAGE. apt runs with its
# own state under OUT/apt (apt_state.sh). Idempotent: a package already
# unpacked at its pinned version is not fetched again.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:?usage: fetch_packages.sh OUTDIR [PACKAGE_LIST]}
list=${2:-$here/packages.conf}
mkdir -p "$out" && out=$(cd "$out" && pwd)
mkdir -p "$out/debs" "$out/pkgs"

wanted=$(grep -v -e '^#' -e '^[[:space:]]*$' "$list" | awk '$2 != "source"')

missing=$(printf '%s\n' "$wanted" | while read -r name arch version; do
  [ "$(cat "$out/pkgs/$name/.version" 2>/dev/null)" = "$version" ] || echo "$name"
done)
[ -z "$missing" ] && exit 0

. "$here/apt_state.sh"
board_apt_state "$out/apt"

printf '%s\n' "$wanted" | while read -r name arch version; do
  printf '%s\n' "$missing" | grep -qx "$name" || continue
  wanted_package="$name:$arch=$version"
  [ "$arch" = all ] && wanted_package="$name=$version"
  echo "board: fetching $wanted_package"
  # shellcheck disable=SC2086
  (cd "$out/debs" && apt-get $apt_opts download "$wanted_package" >/dev/null) || {
    echo "board: $wanted_package is no longer served; update $list" >&2
    exit 1
  }
  deb=$(ls "$out/debs/${name}_"*"_$arch.deb" | tail -n 1)
  rm -rf "$out/pkgs/$name"
  dpkg-deb -x "$deb" "$out/pkgs/$name"
  echo "$version" > "$out/pkgs/$name/.version"
done
