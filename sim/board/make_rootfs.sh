#!/bin/sh
# Assembles the virtual board's root filesystem as a cpio initramfs:
# BusyBox with its applet links, the C library of the cross toolchain, the
# kernel modules the board loads, the product as `cmake --install` lays it
# out, the simulator's board parts (sim/board/rootfs) and the board driver
# when it has been built. Usage: make_rootfs.sh BOARD_DIR MIPSEL_BUILD
# writes BOARD_DIR/initramfs.cpio.gz; needs no root (cpio records owners).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
board=$(cd "${1:?usage: make_rootfs.sh BOARD_DIR MIPSEL_BUILD}" && pwd)
mipsel_build=$(cd "${2:?usage: make_rootfs.sh BOARD_DIR MIPSEL_BUILD}" && pwd)
pkgs=$board/pkgs
kernel_pkg=$(ls -d "$pkgs"/linux-image-*-4kc-malta | head -n 1)
kver=${kernel_pkg##*/linux-image-}
modules_src=$kernel_pkg/lib/modules/$kver/kernel
sysroot=/usr/mipsel-linux-gnu
stage=$board/rootfs

rm -rf "$stage"
mkdir -p "$stage"
cd "$stage"
mkdir -p bin sbin usr/bin usr/sbin lib dev proc sys tmp run var etc root "lib/modules/$kver"

# BusyBox and its applets. Firmware commands of the same name (the
# simulator's `reset`) replace the applet, so their link is not made.
cp "$pkgs/busybox/bin/busybox" bin/busybox
applets=$pkgs/busybox/.applets
[ -s "$applets" ] || QEMU_LD_PREFIX=$sysroot qemu-mipsel-static bin/busybox --list > "$applets"
for applet in $(cat "$applets"); do
  [ "$applet" = busybox ] && continue
  [ -e "$here/rootfs/sbin/$applet" ] && continue
  ln -sf busybox "bin/$applet"
done
ln -sf ../bin/busybox sbin/init

# The C library and dynamic loader the product programs and BusyBox link against.
for lib in ld.so.1 libc.so.6 libm.so.6 libresolv.so.2; do
  cp -L "$sysroot/lib/$lib" "lib/$lib"
done

# Kernel modules: IDE disk, MTD over a block device, JFFS2, veth.
for module in drivers/ata/ata_piix.ko drivers/mtd/devices/block2mtd.ko fs/jffs2/jffs2.ko \
              drivers/net/veth.ko; do
  cp "$modules_src/$module" "lib/modules/$kver/"
done
if [ -f "$board/driver/routerd_board.ko" ]; then
  cp "$board/driver/routerd_board.ko" "lib/modules/$kver/"
else
  echo "board: no $board/driver/routerd_board.ko; the board boots without its drivers" >&2
fi

# The product: programs, libnvram.so in /usr/lib (where the loader looks),
# default configuration, init scripts. The image carries none of what
# programs are built against (headers, static libraries, packages).
DESTDIR=$stage cmake --install "$mipsel_build" >/dev/null
rm -rf usr/include usr/lib/cmake usr/lib/pkgconfig usr/lib/*.a

# The simulator's parts of the board: firmware command stand-ins, the
# simulated world outside the WAN port, the host's control agent, and the
# tests' probe of the daemon code (built with the mipsel tests).
cp -R "$here/rootfs/." "$stage/"
cp "$here/../stubs/monitor" sbin/monitor
[ -f "$mipsel_build/tests/board-probe" ] && cp "$mipsel_build/tests/board-probe" sbin/board-probe
ln -sf /run var/run
mkdir -p var/lib/nvram var/lock

# /dev/console must exist before init runs, and making a device node takes
# root: its cpio entry is written by hand and appended (the kernel unpacks
# concatenated archives in turn).
newc_entry() {  # NAME MODE RDEV_MAJOR RDEV_MINOR INODE (an entry with no data)
  printf '070701%08X%08X%08X%08X%08X%08X%08X%08X%08X%08X%08X%08X%08X%s\0' \
    "$5" "$2" 0 0 1 0 0 0 0 "$3" "$4" $((${#1} + 1)) 0 "$1"
  # header (110 bytes) and name padded to a multiple of 4
  pad=$(( (4 - (110 + ${#1} + 1) % 4) % 4 ))
  head -c "$pad" /dev/zero
}
{
  find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | cpio -o -H newc -R 0:0 --quiet | gzip -1
  { newc_entry dev/console $((0020600)) 5 1 1; newc_entry TRAILER!!! 0 0 0 0; } | gzip -1
} > "$board/initramfs.cpio.gz.new"
mv "$board/initramfs.cpio.gz.new" "$board/initramfs.cpio.gz"
