#!/bin/sh
# Downloads the pinned board packages (packages.conf, or the list given as
# the second argument) into OUT/debs and unpacks each into OUT/pkgs/PACKAGE.
# apt runs with its own state under OUT/apt, so the host needs no foreign
# architecture. Idempotent: a package already unpacked at its pinned version
# is not fetched again.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:?usage: fetch_packages.sh OUTDIR [PACKAGE_LIST]}
list=${2:-$here/packages.conf}
mkdir -p "$out" && out=$(cd "$out" && pwd)
apt_dir=$out/apt
mkdir -p "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources" \
  "$out/debs" "$out/pkgs"

apt_opts="-o Dir::State=$apt_dir/state -o Dir::Cache=$apt_dir/cache
  -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=$apt_dir/sources
  -o APT::Architecture=amd64 -o APT::Architectures::=amd64 -o APT::Architectures::=mipsel
  -o Debug::NoLocking=1 -o APT::Sandbox::User=root -q"

wanted=$(grep -v -e '^#' -e '^[[:space:]]*$' "$list")

missing=$(printf '%s\n' "$wanted" | while read -r name arch version; do
  [ "$(cat "$out/pkgs/$name/.version" 2>/dev/null)" = "$version" ] || echo "$name"
done)
[ -z "$missing" ] && exit 0

# The host's Debian sources, read by the private state.
for f in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list; do
  [ -f "$f" ] || continue
  case "$f" in
    *.sources) grep -q 'debian' "$f" && cp "$f" "$apt_dir/sources/" ;;
    *) grep -q '^deb ' "$f" && cp "$f" "$apt_dir/sources/host.list" ;;
  esac
done
# shellcheck disable=SC2086
apt-get $apt_opts update >/dev/null

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
