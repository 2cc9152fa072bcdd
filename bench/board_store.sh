#!/bin/sh
# `nvram get` on the virtual board: the time of 1000 runs, on a set holding
# only its defaults and on a set of 500 keys of about 40 bytes, against 1000
# runs of BusyBox `true`. Builds the board as bench/board_figures.sh does,
# adds bench/board_store_probe.sh as the last init script and boots once
# with a fresh flash image of its own.
# Usage: bench/board_store.sh [BOARD_DIR]   (default build/bench-board)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
. "$here/board_lib.sh"
board_prepare "${1:-$source_dir/build/bench-board}"

extra=$board/store-extra
rm -rf "$extra" && mkdir -p "$extra/etc/init.d" "$extra/usr/bin"
cp "$here/board_store_probe.sh" "$extra/etc/init.d/S95store"
cp "$here/store_keys.sh" "$extra/usr/bin/store-keys"
board_add_archive "$extra" etc/init.d/S95store usr/bin/store-keys

flash=$board/store-flash.img
rm -f "$flash"
board_run --flash "$flash"
rm -f "$flash"
board_lines | awk '
  $2 == "runs" { runs = $3 }
  $2 == "failed" { failed = 1; print "board store: " $0 > "/dev/stderr" }
  $2 == "time" { seconds[$3] = $5 - $4 }
  END {
    if (failed || !("nvram-500" in seconds)) exit 1
    printf "%d runs on the virtual board (uptime, 10 ms steps):\n", runs
    printf "  BusyBox true               %6.2f s  %6.2f ms a run\n", seconds["true"], 1000 * seconds["true"] / runs
    printf "  nvram get, defaults only   %6.2f s  %6.2f ms a run\n", seconds["nvram-defaults"], 1000 * seconds["nvram-defaults"] / runs
    printf "  nvram get, 500-key set     %6.2f s  %6.2f ms a run\n", seconds["nvram-500"], 1000 * seconds["nvram-500"] / runs
    printf "  nvram get beyond true: %.2f ms (defaults), %.2f ms (500 keys)\n",
      1000 * (seconds["nvram-defaults"] - seconds["true"]) / runs, 1000 * (seconds["nvram-500"] - seconds["true"]) / runs
  }'
