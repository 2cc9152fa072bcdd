#!/bin/sh
# Boots the virtual board: assembles the root filesystem (make_rootfs.sh)
# and runs qemu-system-mipsel (Malta, 256 MiB, no network device) with the
# 4kc-malta kernel, the flash image BOARD_DIR/flash.img as its IDE disk (made
# blank, all 0xFF, on first use), the console on the first serial port and
# the host's control channel (board-agent) on the second.
#   boot.sh [--board-dir DIR] [--mipsel-build DIR] [--console stdio|FILE]
#           [--control SOCKET] [--pidfile FILE] [--no-rootfs]
# --console FILE appends the console to FILE (default: this terminal, quit
# with Ctrl-A X); --control SOCKET listens on a UNIX socket for the control
# channel (default: none); a reboot of the board restarts it in the same
# qemu. The script execs qemu, so its pid is qemu's.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
board_dir=$source_dir/build/board
mipsel_build=$source_dir/build/mipsel
console=stdio
control=
pidfile=
make_rootfs=yes
while [ $# -gt 0 ]; do
  case $1 in
  --board-dir) board_dir=$2; shift ;;
  --mipsel-build) mipsel_build=$2; shift ;;
  --console) console=$2; shift ;;
  --control) control=$2; shift ;;
  --pidfile) pidfile=$2; shift ;;
  --no-rootfs) make_rootfs= ;;
  *) sed -n '2,14s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
  esac
  shift
done

"$here/fetch_packages.sh" "$board_dir"
[ -n "$make_rootfs" ] && "$here/make_rootfs.sh" "$board_dir" "$mipsel_build"
kernel=$(ls "$board_dir"/pkgs/linux-image-*-4kc-malta/boot/vmlinuz-* | head -n 1)

flash=$board_dir/flash.img
if [ ! -f "$flash" ]; then
  # 4 MiB of erased flash: JFFS2 mounts it empty.
  head -c 4194304 /dev/zero | tr '\000' '\377' > "$flash.new" && mv "$flash.new" "$flash"
fi

if [ "$console" = stdio ]; then console_serial=mon:stdio; else console_serial=file:$console; fi
if [ -n "$control" ]; then
  control_serial=unix:$control,server=on,wait=off
else
  control_serial=null
fi

exec qemu-system-mipsel -M malta -m 256 -nographic -nic none -monitor none \
  -kernel "$kernel" -initrd "$board_dir/initramfs.cpio.gz" \
  -append "console=ttyS0 rdinit=/sbin/init panic=1 quiet" \
  -drive "file=$flash,format=raw,if=ide,index=0" \
  -serial "$console_serial" -serial "$control_serial" \
  ${pidfile:+-pidfile "$pidfile"}
