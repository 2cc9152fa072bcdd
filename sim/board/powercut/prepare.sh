#!/bin/sh
# Makes the power-cut campaign's own copy of the board in BOARD_DIR: the
# board's packages, driver and root filesystem, plus the campaign's writer,
# repeater-session program and the library that cuts the power after a
# chosen file replacement appended as a second archive (the kernel
# unpacks concatenated archives in turn). Usage: prepare.sh BOARD_DIR MIPSEL_BUILD
set -eu
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "${1:?usage: prepare.sh BOARD_DIR MIPSEL_BUILD}"
board=$(cd "$1" && pwd)
mipsel_build=$(cd "${2:?usage: prepare.sh BOARD_DIR MIPSEL_BUILD}" && pwd)

"$here/../fetch_packages.sh" "$board"
BOARD_PKGS=$board/pkgs "$here/../driver/build.sh" "$board/driver" >/dev/null
"$here/../make_rootfs.sh" "$board" "$mipsel_build"

extra=$board/powercut-rootfs
rm -rf "$extra"
mkdir -p "$extra/sbin" "$extra/lib"
cp "$mipsel_build/sim/repeater_session" "$extra/sbin/repeater-session"
cp "$mipsel_build/sim/libcut_after_rename.so" "$extra/lib/"
cp "$here/writer.sh" "$extra/sbin/powercut-writer"
(cd "$extra" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort |
  cpio -o -H newc -R 0:0 --quiet | gzip -1) >> "$board/initramfs.cpio.gz"
