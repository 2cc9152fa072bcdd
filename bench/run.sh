#!/bin/sh
# Prints the budget figures: system calls per idle button sample, and memory
# and descriptors of both daemons over long time-scaled runs.
# Usage: bench/run.sh [BUILD_DIR]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build/host}
echo "== idle button sample"
"$here/idle_sample.sh" "$build" 5 | tail -3
echo "== buttond, a million samples"
"$here/buttond_soak.sh" "$build"
echo "== uplinkd, 100 000 status cycles"
"$here/uplinkd_soak.sh" "$build"
