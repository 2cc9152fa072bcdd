#!/bin/sh
# Figures of the daemons on the virtual board (make bench-board): time from
# qemu's start to both daemons' pid files, VmRSS / Pss / Private_Dirty of
# buttond and uplinkd against the minimal sampler (board-sampler: /dev/gpio
# read every 50 ms) on the same boot, and the CPU time an idle buttond
# uses in 60 s. Usage: bench/board.sh HOST_BUILD
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
host_build=$(cd "${1:?usage: bench/board.sh HOST_BUILD}" && pwd)
board_dir=$source_dir/build/board
shell=$host_build/sim/board-shell

"$source_dir/sim/board/fetch_packages.sh" "$board_dir"
BOARD_PKGS=$board_dir/pkgs "$source_dir/sim/board/driver/build.sh" "$board_dir/driver" >/dev/null
"$source_dir/sim/board/make_rootfs.sh" "$board_dir" "$source_dir/build/mipsel"

dir=$(mktemp -d /tmp/routerd-bench.XXXXXX)
qemu=
cleanup() {
  [ -n "$qemu" ] && kill "$qemu" 2>/dev/null && wait "$qemu" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT INT TERM

started=$(date +%s%N)
"$source_dir/sim/board/boot.sh" --no-rootfs --board-dir "$board_dir" --console "$dir/console.log" \
  --control "$dir/control.sock" >"$dir/boot.out" 2>&1 &
qemu=$!
on_board() { "$shell" "$dir/control.sock" "$@"; }
uptime=$(on_board 'until [ -s /var/run/buttond.pid ] && [ -s /var/run/uplinkd.pid ]; do usleep 20000; done; cut -d" " -f1 /proc/uptime')
ready=$(date +%s%N)
# The agent starts last in the boot: the host's figure includes it.
echo "boot to both daemons: $(( (ready - started) / 1000000 )) ms from qemu's start (host), ${uptime} s of board uptime"

on_board 'board-sampler </dev/null >/dev/null 2>&1 & echo $! > /var/run/sampler.pid; sleep 3'
echo
printf '%-14s %10s %10s %18s\n' program 'VmRSS kB' 'Pss kB' 'Private_Dirty kB'
# (one line per command: the control channel takes a command per line)
on_board 'for name in buttond uplinkd sampler; do pid=$(cat /var/run/$name.pid);' \
  'rss=$(awk "/^VmRSS:/ { print \$2 }" /proc/$pid/status);' \
  'pss=$(awk "/^Pss:/ { print \$2 }" /proc/$pid/smaps_rollup);' \
  'dirty=$(awk "/^Private_Dirty:/ { print \$2 }" /proc/$pid/smaps_rollup);' \
  'printf "%-14s %10s %10s %18s\n" "$name" "$rss" "$pss" "$dirty"; done'
echo
on_board 'pid=$(cat /var/run/buttond.pid); ticks() { awk "{ print \$14 + \$15 }" /proc/$pid/stat; };' \
  'before=$(ticks); sleep 60; after=$(ticks);' \
  'echo "idle buttond: $(( (after - before) * 10 )) ms of CPU time in 60 s ($(( after - before )) ticks of 10 ms)"'
