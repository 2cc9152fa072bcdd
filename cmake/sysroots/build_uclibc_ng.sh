#!/bin/sh
# build_uclibc_ng.sh: builds uClibc-ng for the router (uclibc-ng.config) from
# Debian's uclibc-source, with the pinned kernel headers, into a sysroot in
# the cache, once; prints the sysroot's path. The sysroot holds lib/ (the
# loader and shared libraries the router runs), usr/include, usr/lib and
# bin/mipsel-linux-uclibc-{gcc,g++,...}, the compilers to build with.
set -eu
. "$(cd "$(dirname "$0")" && pwd)/sysroot_lib.sh"

version=$(pinned uclibc-source)
dest=$(sysroot_dir uclibc-ng "${version%-*}" "$here/build_uclibc_ng.sh" "$here/uclibc-ng.config")
[ -f "$dest/.complete" ] && { tools "$dest" mipsel-linux-uclibc -muclibc; exit 0; }

fetch uclibc-source linux-libc-dev >&2
work_dir uclibc-ng
stage=$work/sysroot

install_kernel_headers "$stage"

tar -C "$work" -xf "$cache/pkgs/uclibc-source/usr/src/uClibc-ng-${version%-*}.tar.xz"
src=$work/uClibc-ng-${version%-*}
{ cat "$here/uclibc-ng.config"; echo "KERNEL_HEADERS=\"$stage/usr/include\""; } >"$src/.config"
make -C "$src" ARCH=mips olddefconfig >/dev/null
grep -E '^[A-Z0-9_]+=|^# [A-Z0-9_]+ is not set$' "$here/uclibc-ng.config" | while read -r line; do
  grep -qxF "$line" "$src/.config" || { echo "uclibc-ng: the configuration lost: $line" >&2; exit 1; }
done

echo "uclibc-ng: building ${version%-*} (a few minutes)" >&2
make -C "$src" ARCH=mips -j "${JOBS:-2}" >"$work/build.log" 2>&1 ||
  { tail -n 30 "$work/build.log" >&2; exit 1; }
make -C "$src" ARCH=mips PREFIX="$stage" install >"$work/install.log" 2>&1 ||
  { tail -n 30 "$work/install.log" >&2; exit 1; }
cp "$src/.config" "$stage/uclibc-ng.config"

# libc.so, a linker script, names its libraries by absolute paths of the
# router; here they are found through the wrappers' -L. uClibc-ng has its
# mathematics in libc, but g++ links -lm: an empty libm.a answers.
sed -i -e 's|/usr/lib/||g' -e 's|/lib/||g' "$stage/usr/lib/libc.so"
"${cross}ar" rc "$stage/usr/lib/libm.a"

finish "$stage" "$dest"
tools "$dest" mipsel-linux-uclibc -muclibc
