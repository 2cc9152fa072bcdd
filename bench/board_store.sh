#!/bin/sh
# `nvram get` on the virtual board: the time of 1000 runs, on a set holding
# only its defaults and on a set of 500 keys of about 40 bytes, against 1000
# runs of BusyBox `true`, in 20 rounds of 50 of each. Builds the board as
# bench/board_figures.sh does, adds bench/board_store_probe.sh as the last
# init script and boots once with a fresh flash image of its own.
# Usage: bench/board_store.sh [BOARD_DIR [BOARD_BUILD]]
#        (default build/bench-board and build/mipsel-uclibc)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
. "$here/board_lib.sh"
board_prepare "${1:-$source_dir/build/bench-board}" "${2:-$source_dir/build/mipsel-uclibc}"

extra=$board/store-extra
rm -rf "$extra" && mkdir -p "$extra/etc/init.d" "$extra/usr/bin"
cp "$here/board_store_probe.sh" "$extra/etc/init.d/S95store"
cp "$here/store_keys.sh" "$extra/usr/bin/store-keys"
board_add_archive "$extra" etc/init.d/S95store usr/bin/store-keys

flash=$board/store-flash.img
rm -f "$flash"
board_run --flash "$flash"
rm -f "$flash"
# The emulator's speed follows the host's load, so besides the total of each
# kind the fastest round is given: the one least disturbed.
board_lines | awk '
  $2 == "runs" { runs = $3 }
  $2 == "failed" { failed = 1; print "board store: " $0 > "/dev/stderr" }
  $2 == "time" {
    t = $5 - $4; total[$3] += t; ++rounds[$3]
    if (!($3 in fastest) || t < fastest[$3]) fastest[$3] = t
  }
  function row(name, kind) {
    printf "  %-24s %7.2f s %8.2f ms a run %8.2f ms\n", name, total[kind], 1000 * total[kind] / runs,
      1000 * fastest[kind] / (runs / rounds[kind])
  }
  END {
    if (failed || !("nvram-500" in total)) exit 1
    printf "%d runs of each on the virtual board in %d rounds (uptime, 10 ms steps):\n", runs, rounds["true"]
    printf "  %-24s %9s %19s %11s\n", "", "total", "", "fastest round"
    row("BusyBox true", "true")
    row("nvram get, defaults only", "nvram-defaults")
    row("nvram get, 500-key set", "nvram-500")
  }'
