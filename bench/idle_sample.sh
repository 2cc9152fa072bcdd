#!/bin/sh
# Counts the system calls of an idle buttond (button never pressed) under
# strace and prints them per 50 ms sample. Runs inside the sandbox:
#   sandbox --preload libfakehw.so -- bench/idle_sample.sh BUILD_DIR [SECONDS]
set -eu
build=$1
seconds=${2:-5}
fakehw=$build/sim/fakehw
"$fakehw" logging off          # the fake's log writes are not the router's
"$fakehw" time-divisor 1
"$fakehw" button "1"           # released; counts every read from here on
strace -c -o /tmp/idle.strace "$build/buttond/buttond" >/dev/null 2>&1 &
tracer=$!
sleep "$seconds"
daemon=$(cat /var/run/buttond.pid)
kill -KILL "$daemon"           # strace reports once its tracee is gone
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
