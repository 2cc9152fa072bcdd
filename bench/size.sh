#!/bin/sh
# Prints the router programs' sizes: each of the three C libraries (glibc,
# uClibc-ng, musl) in MIPS32 and MIPS16e code, the stripped bytes and
# text/data/bss of buttond, uplinkd, nvram (and libnvram.so where the build
# has one) and of the floor program bench/minimal_sampler.c built the same
# way; then the product's share of a firmware image: the uClibc-ng build's
# installed programs, libraries and init scripts as a squashfs with xz.
# Fails when a uClibc-ng program is over its budget (listed at the end).
# Usage: bench/size.sh [OUT_DIR]   (default build/size; builds what it needs)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build/size}
mkdir -p "$out" && out=$(cd "$out" && pwd)
jobs=${JOBS:-2}

# build NAME TOOLCHAIN MIPS16: a product-only router build in $out/NAME.
build() {
  cmake -S "$top" -B "$out/$1" --toolchain "$top/cmake/toolchains/$2.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_INSTALL_PREFIX=/usr -DROUTERD_TESTS=OFF \
    -DROUTERD_MIPS16="$3" >/dev/null
  cmake --build "$out/$1" -j "$jobs" >/dev/null
}

# row LABEL FILE: stripped bytes and text/data/bss of FILE; the stripped
# bytes are also kept in $out/stripped.list for the budgets below.
row() {
  stripped=$out/stripped.tmp
  mipsel-linux-gnu-strip -o "$stripped" "$2"
  bytes=$(wc -c <"$stripped")
  echo "$1 $bytes" >>"$out/stripped.list"
  mipsel-linux-gnu-size "$2" | awk -v label="$1" -v bytes="$bytes" \
    'NR == 2 { printf "| %-34s | %6d | %6d | %5d | %5d |\n", label, bytes, $1, $2, $3 }'
  rm -f "$stripped"
}

# budget LIMIT LABEL...: fails the run when a program's stripped bytes
# exceed LIMIT.
over_budget=0
budget() {
  limit=$1 && shift
  for label in "$@"; do
    bytes=$(awk -v label="$label" '$1 " " $2 == label { print $3 }' "$out/stripped.list")
    if [ -z "$bytes" ] || [ "$bytes" -gt "$limit" ]; then
      echo "over budget: $label ${bytes:-not built} bytes, budget $limit" >&2
      over_budget=1
    fi
  done
}

# floor NAME MIPS16: the minimal sampler, built with NAME's C compiler.
floor() {
  cc=$(sed -n 's/^set(CMAKE_C_COMPILER "\(.*\)")$/\1/p' "$out/$1"/CMakeFiles/*/CMakeCCompiler.cmake)
  flags="-Os -fno-pie -no-pie -Wl,--gc-sections"
  [ "$2" = ON ] && flags="$flags -mips16"
  # shellcheck disable=SC2086
  "$cc" $flags -I "$top/boardutil/include" -o "$out/$1/minimal_sampler" \
    "$top/bench/minimal_sampler.c"
  row "$1 minimal_sampler" "$out/$1/minimal_sampler"
}

rm -f "$out/stripped.list"
echo "| build, program | stripped | text | data | bss |"
echo "|---|---|---|---|---|"
for libc in glibc:mipsel-linux-gnu uclibc-ng:mipsel-linux-uclibc musl:mipsel-linux-musl; do
  for code in mips32:OFF mips16e:ON; do
    name=${libc%%:*}-${code%%:*}
    build "$name" "${libc#*:}" "${code#*:}"
    for program in buttond/buttond uplinkd/uplinkd nvram/nvram nvram/libnvram.so; do
      [ -f "$out/$name/$program" ] && row "$name $(basename "$program")" "$out/$name/$program"
    done
    floor "$name" "${code#*:}"
  done
done

echo
for code in mips32 mips16e; do
  stage=$out/uclibc-ng-$code.stage
  rm -rf "$stage" "$out/uclibc-ng-$code.squashfs"
  DESTDIR=$stage cmake --install "$out/uclibc-ng-$code" --strip >/dev/null
  # What a firmware image carries: the headers, static libraries and
  # package files are for building against the libraries, not for the router.
  rm -rf "$stage/usr/include" "$stage/usr/lib/cmake" "$stage/usr/lib/pkgconfig"
  rm -f "$stage"/usr/lib/*.a
  mksquashfs "$stage" "$out/uclibc-ng-$code.squashfs" -comp xz -all-root -noappend -nopad \
    -quiet >/dev/null
  echo "uClibc-ng $code: installed $(du -sb --apparent-size "$stage" | cut -f1) bytes," \
    "squashfs (xz) $(wc -c <"$out/uclibc-ng-$code.squashfs") bytes"
done

# The router's budgets (uClibc-ng, stripped): each program 32 KiB in MIPS32
# code and 24 KiB in MIPS16e, libnvram.so 40 KiB in MIPS16e. libnvram.so in
# MIPS32 code is held at 48 KiB, the size it has (it does not fit 40 KiB:
# bench/README.md says what its bytes are).
budget 32768 "uclibc-ng-mips32 buttond" "uclibc-ng-mips32 uplinkd" "uclibc-ng-mips32 nvram"
budget 24576 "uclibc-ng-mips16e buttond" "uclibc-ng-mips16e uplinkd" "uclibc-ng-mips16e nvram"
budget 40960 "uclibc-ng-mips16e libnvram.so"
budget 49152 "uclibc-ng-mips32 libnvram.so"
exit "$over_budget"
