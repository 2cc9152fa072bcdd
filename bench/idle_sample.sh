#!/bin/sh
# System calls of an idle buttond (button never pressed) under strace, per
# 50 ms sample: the budget is two driver requests and the pause.
#
# Usage: bench/idle_sample.sh [BUILD_DIR] [SECONDS]
set -eu

if [ "${1:-}" != "--inside" ]; then
  here=$(cd "$(dirname "$0")" && pwd)
  build=$(cd "${1:-build/host}" && pwd)
  exec "$build/sim/sandbox" --preload "$build/sim/libfakehw.so" -- \
    /bin/sh "$here/idle_sample.sh" --inside "$build" "${2:-5}"
fi

build=$2
seconds=$3
fakehw=$build/sim/fakehwctl
"$fakehw" logging off          # the fake's log writes are not the router's
"$fakehw" button "1"           # released; counts every read from here on
strace -c -o /tmp/idle.strace "$build/buttond/buttond" >/dev/null 2>&1 &
tracer=$!
sleep "$seconds"
kill -KILL "$(cat /var/run/buttond.pid)"   # strace reports once its tracee is gone
wait $tracer 2>/dev/null || true
samples=$("$fakehw" button-reads)
echo "idle buttond: $samples samples in ${seconds}s; system calls of the whole run:"
cat /tmp/idle.strace
awk -v s="$samples" '$NF ~ /^(ioctl|ppoll)$/ { calls[$NF] = $(NF-1) + 0; sampled += $(NF-1) }
  $NF == "total" { total = $(NF-2) + 0 }
  END {
    for (c in calls) printf "%s per sample: %.2f\n", c, calls[c] / s
    printf "other calls (start-up, once): %d\n", total - sampled
  }' /tmp/idle.strace
