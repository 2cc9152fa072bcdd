#!/bin/sh
# Prints the budget figures: system calls per idle button sample, memory and
# descriptors of both daemons over long time-scaled runs, and the
# instructions of `nvram get` per key of a set. Fails when a benchmark fails.
# Usage: bench/run.sh [--short] [BUILD_DIR]
#   --short  every benchmark with small counts (seconds instead of minutes),
#            as CI runs them
set -eu
here=$(cd "$(dirname "$0")" && pwd)
short=
if [ "${1:-}" = --short ]; then short=yes; shift; fi
build=${1:-build/host}
if [ -n "$short" ]; then
  idle_seconds=1 button_samples=20000 uplink_cycles=2000
else
  idle_seconds=5 button_samples=1000000 uplink_cycles=100000
fi
echo "== idle button sample"
figures=$("$here/idle_sample.sh" "$build" "$idle_seconds")
echo "$figures" | tail -3
echo "== buttond, $button_samples samples"
"$here/buttond_soak.sh" "$build" "$button_samples"
echo "== uplinkd, $uplink_cycles status cycles"
"$here/uplinkd_soak.sh" "$build" "$uplink_cycles"
echo "== nvram get, instructions per key of a 500-key set"
"$here/store_get.sh"
