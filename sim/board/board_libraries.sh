#!/bin/sh
# Completes a board image with the shared libraries its programs need and
# checks that the board's C library is the only one in it. Every ELF
# program and library's loader and NEEDED libraries are looked up in the
# image's /lib and /usr/lib, then where the board's compiler links them
# from (its sysroot), and copied to the image; the image is refused when a library is
# found nowhere, or when glibc's libc.so.6 or ld.so.1 is anywhere in it.
# Usage: board_libraries.sh STAGE CC   (CC: the board build's compiler command)
set -eu
stage=$(cd "${1:?usage: board_libraries.sh STAGE CC}" && pwd)
cc=${2:?usage: board_libraries.sh STAGE CC}
readelf=mipsel-linux-gnu-readelf
copied=$(mktemp)
queue=$(mktemp)
trap 'rm -f "$copied" "$queue"' EXIT

# Where the compiler's links look for libraries, in their order: the -L
# directories of its link line.
# shellcheck disable=SC2086
library_dirs=$($cc -### -x c /dev/null -o /dev/null 2>&1 | grep collect2 | tr ' ' '\n' |
  sed -n 's/^"\{0,1\}-L\([^"]*\)"\{0,1\}$/\1/p')

# A library the image lacks goes to DEST (a path in the image); a file
# already copied under another name becomes a link to it (musl's loader is
# its libc).
add_library() {  # NAME DEST
  found=
  for dir in $library_dirs; do
    [ -e "$dir/$1" ] && { found=$dir/$1; break; }
  done
  [ -n "$found" ] || { echo "board: no $1 for the image" >&2; exit 1; }
  real=$(readlink -f "$found")
  earlier=$(awk -v real="$real" '$1 == real { print $2; exit }' "$copied")
  mkdir -p "$(dirname "$stage$2")"
  if [ -n "$earlier" ]; then
    ln -sf "$earlier" "$stage$2"
  else
    cp "$real" "$stage$2"
    echo "$real $2" >> "$copied"
    echo "$stage$2" >> "$queue"
  fi
}

find "$stage" -path "$stage/lib/modules" -prune -o -type f -print > "$queue"
done_count=0
while [ "$done_count" -lt "$(wc -l < "$queue")" ]; do
  done_count=$((done_count + 1))
  file=$(sed -n "${done_count}p" "$queue")
  $readelf -h "$file" >/dev/null 2>&1 || continue
  interp=$($readelf -l "$file" | sed -n 's/.*Requesting program interpreter: \(.*\)]$/\1/p')
  if [ -n "$interp" ] && [ ! -e "$stage$interp" ]; then add_library "${interp##*/}" "$interp"; fi
  for needed in $($readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p'); do
    [ -e "$stage/lib/$needed" ] || [ -e "$stage/usr/lib/$needed" ] || add_library "$needed" "/lib/$needed"
  done
done

glibc=$(find "$stage" \( -name libc.so.6 -o -name ld.so.1 \) | sed "s|^$stage||")
if [ -n "$glibc" ]; then
  echo "board: glibc in the image:" $glibc >&2
  exit 1
fi
