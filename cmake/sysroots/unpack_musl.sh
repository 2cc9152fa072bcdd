#!/bin/sh
# unpack_musl.sh: lays out Debian's musl for mipsel and the pinned kernel
# headers as a sysroot in the cache, once; prints the sysroot's path. The
# sysroot holds lib/ld-musl-mipsel.so.1 (loader and C library in one, what
# the router runs), usr/include, usr/lib and bin/mipsel-linux-musl-{gcc,g++,
# ...}, the compilers to build with.
set -eu
. "$(cd "$(dirname "$0")" && pwd)/sysroot_lib.sh"

version=$(pinned musl)
dest=$(sysroot_dir musl "${version%-*}" "$here/unpack_musl.sh")
[ -f "$dest/.complete" ] && { tools "$dest" mipsel-linux-musl -mmusl; exit 0; }

fetch musl musl-dev linux-libc-dev >&2
work_dir musl
stage=$work/sysroot

install_kernel_headers "$stage"
cp -r "$cache/pkgs/musl-dev/usr/include/mipsel-linux-musl/." "$stage/usr/include/"
mkdir -p "$stage/lib" "$stage/usr/lib"
cp "$cache/pkgs/musl/lib/mipsel-linux-musl/libc.so" "$stage/lib/ld-musl-mipsel.so.1"
ln -s ../../lib/ld-musl-mipsel.so.1 "$stage/usr/lib/libc.so"
cp "$cache/pkgs/musl-dev/usr/lib/mipsel-linux-musl/"*.[oa] "$stage/usr/lib/"

finish "$stage" "$dest"
tools "$dest" mipsel-linux-musl -mmusl
