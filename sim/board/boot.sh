#!/bin/sh
# Boots the virtual board: assembles the root filesystem (make_rootfs.sh)
# and runs qemu-system-mipsel (Malta, 256 MiB, no network device) with the
# 4kc-malta kernel, the flash image BOARD_DIR/flash.img as its IDE disk (made
# blank, all 0xFF, on first use), the console on the first serial port and
# the host's control channel (board-agent) on the second.
#   boot.sh [--board-dir DIR] [--mipsel-build DIR] [--console stdio|FILE]
#           [--control SOCKET] [--flash FILE] [--pidfile FILE] [--no-rootfs]
# --mipsel-build is the board build put on the image (default
# build/mipsel-uclibc: uClibc-ng; build/mipsel-musl for musl).
# --console FILE writes the console to FILE (default: this terminal, quit
# with Ctrl-A X); --control SOCKET listens on a UNIX socket for the control
# channel (default: none); --flash FILE is the flash image (default
# BOARD_DIR/flash.img, kept from boot to boot). A reboot of the board
# boots it again from the same flash; the script ends when the board is
# powered off: Ctrl-A X, or a signal to the script.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
board_dir=$source_dir/build/board
mipsel_build=$source_dir/build/mipsel-uclibc
console=stdio
control=
pidfile=
flash=
make_rootfs=yes
while [ $# -gt 0 ]; do
  case $1 in
  --board-dir) board_dir=$2; shift ;;
  --mipsel-build) mipsel_build=$2; shift ;;
  --console) console=$2; shift ;;
  --control) control=$2; shift ;;
  --pidfile) pidfile=$2; shift ;;
  --flash) flash=$2; shift ;;
  --no-rootfs) make_rootfs= ;;
  *) sed -n '2,16s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
  esac
  shift
done

"$here/fetch_packages.sh" "$board_dir"
if [ -n "$make_rootfs" ]; then
  BOARD_PKGS=$board_dir/pkgs "$here/driver/build.sh" "$board_dir/driver" >/dev/null
  "$here/make_rootfs.sh" "$board_dir" "$mipsel_build"
fi
kernel=$(ls "$board_dir"/pkgs/linux-image-*-4kc-malta/boot/vmlinuz-* | head -n 1)

flash=${flash:-$board_dir/flash.img}
if [ ! -f "$flash" ]; then
  # 4 MiB of erased flash: JFFS2 mounts it empty.
  head -c 4194304 /dev/zero | tr '\000' '\377' > "$flash.new" && mv "$flash.new" "$flash"
fi

# The console goes to the terminal (Ctrl-A X quits) or to a file, and in
# both cases into a log, which tells a reboot of the board from its end.
tmp=
if [ "$console" = stdio ]; then
  tmp=$(mktemp -d /tmp/routerd-boot.XXXXXX)
  log=$tmp/console.log
  console_dev=stdio,id=console,mux=on,signal=off,logfile=$log,logappend=on
  monitor="-mon chardev=console"
else
  log=$console
  : > "$log"
  console_dev=file,id=console,path=$log,append=on
  monitor="-monitor none"
fi
if [ -n "$control" ]; then
  control_serial=unix:$control,server=on,wait=off
else
  control_serial=null
fi

# qemu's own reset of the Malta board does not always come back to the
# kernel, so every boot is a fresh qemu: it runs with -no-reboot and is
# started again while its last words are the kernel's "Restarting system".
qemu=
stop() {
  [ -n "$qemu" ] && kill "$qemu" 2>/dev/null
  [ -n "$tmp" ] && rm -rf "$tmp"
  exit 0
}
trap stop INT TERM HUP
exec 3<&0
while :; do
  mark=0
  [ -f "$log" ] && mark=$(wc -c < "$log")
  qemu-system-mipsel -M malta -m 256 -nographic -nic none -no-reboot \
    -kernel "$kernel" -initrd "$board_dir/initramfs.cpio.gz" \
    -append "console=ttyS0 rdinit=/sbin/init panic=1 quiet" \
    -drive "file=$flash,format=raw,if=ide,index=0" \
    -chardev "$console_dev" -serial chardev:console -serial "$control_serial" \
    $monitor \
    ${pidfile:+-pidfile "$pidfile"} <&3 &
  qemu=$!
  wait "$qemu" || true
  qemu=
  tail -c +$((mark + 1)) "$log" | grep -q 'reboot: Restarting system' || break
done
stop
