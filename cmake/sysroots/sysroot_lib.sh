# Shared by build_uclibc_ng.sh and unpack_musl.sh (sourced): the pinned
# versions, the cache a sysroot is kept in, and the compiler wrappers that
# put Debian's mipsel cross compiler onto a sysroot's C library.
here=$(cd "$(dirname "$0")" && pwd)
cross=${ROUTERD_CROSS:-mipsel-linux-gnu-}
cache=${ROUTERD_SYSROOT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/routerd-sysroots}

# pinned PACKAGE: the package's version in pins.conf.
pinned() {
  awk -v name="$1" '$1 == name { print $3; found = 1 } END { exit !found }' "$here/pins.conf" ||
    { echo "sysroots: $1 is not pinned in pins.conf" >&2; exit 1; }
}

# fetch PACKAGE...: the pinned packages, unpacked under $cache/pkgs/PACKAGE.
fetch() {
  set -- $(for name in "$@"; do
    awk -v name="$name" '$1 == name { print $1 ":" $2 "=" $3 }' "$here/pins.conf"
  done)
  "$here/fetch_debs.sh" "$cache" "$@"
}

# digest FILE...: a short hash of the files, the cross compiler's version and
# the pins.
digest() {
  { "${cross}gcc" --version | head -n 1; cat "$here/pins.conf" "$@"; } | sha256sum | cut -c1-12
}

# sysroot_dir NAME VERSION FILE...: where the sysroot of NAME-VERSION lives,
# keyed by the files its C library is made from.
sysroot_dir() {
  name=$1 version=$2
  shift 2
  echo "$cache/$name-$version-$(digest "$@")"
}

# work_dir NAME: a fresh directory in the cache, removed when the script ends.
work_dir() {
  mkdir -p "$cache"
  work=$(mktemp -d "$cache/.$1.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  trap 'exit 1' INT TERM HUP
}

# install_kernel_headers ROOT: the kernel's user-space headers (pinned
# linux-libc-dev) into ROOT/usr/include, as the C library's build and the
# programs include them.
install_kernel_headers() {
  mkdir -p "$1/usr"
  cp -r "$cache/pkgs/linux-libc-dev/usr/include" "$1/usr/include"
  mv "$1/usr/include/mipsel-linux-gnu/asm" "$1/usr/include/asm"
  rmdir "$1/usr/include/mipsel-linux-gnu"
}

# finish STAGE DEST: makes STAGE the sysroot DEST, unless a build that ran
# at the same time made it first (one in use is never replaced).
finish() {
  touch "$1/.complete"
  if [ -f "$2/.complete" ]; then
    rm -rf "$1"
  else
    rm -rf "$2"
    mv "$1" "$2"
  fi
}

# tools ROOT TRIPLE LIBC_OPTION: ROOT/bin and ROOT/shims, the compiler
# wrappers and shims. Made anew into ROOT/tools-HASH whenever this file or
# the shims change (the C library is not rebuilt for that), and switched to
# by renaming a link, so a build using the old ones goes on undisturbed;
# prints ROOT.
tools() {
  tools=tools-$(digest "$here/sysroot_lib.sh" $(find "$here/shims" -type f | sort))
  if [ ! -f "$1/$tools/.complete" ]; then
    rm -rf "$1/$tools"
    mkdir -p "$1/$tools"
    write_wrappers "$1/$tools" "$2" "$3"
    touch "$1/$tools/.complete"
  fi
  for link in bin shims; do
    [ -L "$1/$link" ] || rm -rf "${1:?}/$link"
    ln -sfn "$tools/$link" "$1/$link.new"
    mv -T "$1/$link.new" "$1/$link"
  done
  echo "$1"
}

# write_wrappers DIR TRIPLE LIBC_OPTION: DIR/bin/TRIPLE-gcc and -g++ run the
# cross compiler with only the sysroot's headers, start files and libraries
# (and GCC's and libstdc++'s own), for compiling and linking alike; the
# binutils are linked beside them under the same prefix. DIR is a directory
# of the sysroot, and a wrapper finds both from where it is, so a sysroot
# can be moved.
write_wrappers() {
  dir=$1 triple=$2 libc_option=$3
  gcc_include=$("${cross}gcc" -print-file-name=include)
  cxx_include=/usr/${cross%-}/include/c++/$("${cross}gcc" -dumpversion | cut -d. -f1)
  cp -r "$here/shims" "$dir/shims"
  mkdir -p "$dir/bin"
  for tool in gcc g++; do
    includes='-isystem "$tools/shims/c"'
    [ "$tool" = g++ ] && includes="-isystem \"\$tools/shims/c++\" -isystem $cxx_include \
-isystem $cxx_include/${cross%-} $includes"
    cat >"$dir/bin/$triple-$tool" <<WRAPPER
#!/bin/sh
# $triple-$tool: ${cross}$tool on this sysroot's C library.
tools=\$(cd -P "\$(dirname "\$0")/.." && pwd)
root=\${tools%/*}
exec ${cross}$tool $libc_option -nostdinc $includes -isystem "\$root/usr/include" \\
  -isystem $gcc_include -B "\$root/usr/lib" -L "\$root/usr/lib" -L "\$root/lib" \\
  -Wl,-rpath-link,"\$root/lib" "\$@"
WRAPPER
    chmod +x "$dir/bin/$triple-$tool"
  done
  ln -sf "$triple-gcc" "$dir/bin/$triple-cc"
  for tool in ar as gcc-ar gcc-nm gcc-ranlib ld nm objcopy objdump ranlib readelf size strip; do
    ln -sf "$(command -v "${cross}$tool")" "$dir/bin/$triple-$tool"
  done
}
