#!/bin/sh
# uplinkd soak: runs the real uplinkd in the sandbox for many time-scaled
# status cycles and prints its memory and open descriptors along the way;
# both must stay flat from the first thousand cycles to the end.
#
# Usage: bench/uplinkd_soak.sh [BUILD_DIR] [CYCLES] [TIME_DIVISOR]
#   BUILD_DIR     host build directory (default build/host)
#   CYCLES        status cycles to run (default 100000)
#   TIME_DIVISOR  sleeps run this many times faster (default 100000)
set -eu

if [ "${1:-}" != "--inside" ]; then
  here=$(cd "$(dirname "$0")" && pwd)
  build=$(cd "${1:-build/host}" && pwd)
  cycles=${2:-100000}
  divisor=${3:-100000}
  for file in "$build/sim/sandbox" "$build/sim/libfakehw.so" "$build/uplinkd/uplinkd" \
              "$build/nvram/nvram"; do
    [ -e "$file" ] || { echo "uplinkd_soak: $file missing; build first" >&2; exit 2; }
  done
  exec "$build/sim/sandbox" --preload "$build/sim/libfakehw.so" --time-divisor "$divisor" -- \
    /bin/sh "$here/uplinkd_soak.sh" --inside "$build" "$cycles" "$divisor"
fi

# Inside the sandbox: every process has the fake drivers preloaded, which
# scale sleeps down; the monitor's own waits run at real time without them.
build=$2
cycles=$3
divisor=$4
requests=/run/sim/requests.log
real_sleep() { env -u LD_PRELOAD sleep "$1"; }

# Router mode, WAN link up, internet reachable: every cycle reads the link
# once, the WAN port register once (two driver requests) and the internet
# state, and sleeps 11 seconds.
"$build/nvram/nvram" set 0 OperationMode 1 >/dev/null
echo 1 > /tmp/internetStatus

"$build/uplinkd/uplinkd" > /tmp/uplinkd.out 2>&1 &
pid=$!

# Cycles so far: one register read per cycle, one more at start-up.
cycles_done() {
  reads=$(grep -c '^rdm read' "$requests" 2>/dev/null || true)
  echo $(( ${reads:-0} > 0 ? reads - 1 : 0 ))
}

# A reading taken while the daemon runs a shell command shows the command's
# pipe and spawn stack for a moment; the least of twenty readings is kept.
sample() {
  rss= size= fds=
  for _ in $(seq 20); do
    r=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
    s=$(awk '/^VmSize:/ { print $2 }' "/proc/$pid/status")
    f=$(ls "/proc/$pid/fd" | wc -l)
    [ -z "$rss" ] || [ "$r" -lt "$rss" ] && rss=$r
    [ -z "$size" ] || [ "$s" -lt "$size" ] && size=$s
    [ -z "$fds" ] || [ "$f" -lt "$fds" ] && fds=$f
    real_sleep 0.005
  done
  printf '%10s %12s %12s %8s\n' "$1" "$rss" "$size" "$fds"
}

echo "uplinkd soak: $cycles cycles, time divisor $divisor, pid $pid"
printf '%10s %12s %12s %8s\n' cycles "VmRSS(kB)" "VmSize(kB)" fds
start=$(date +%s)
next=1000
step=$(( cycles / 10 > 1000 ? cycles / 10 : 1000 ))
while :; do
  kill -0 "$pid" 2>/dev/null || { echo "uplinkd ended early:" >&2; cat /tmp/uplinkd.out >&2; exit 1; }
  done_now=$(cycles_done)
  if [ "$done_now" -ge "$next" ]; then
    sample "$done_now"
    first=${first:-$rss/$size/$fds}
    [ "$next" -ge "$cycles" ] && break
    next=$(( next < step ? step : next + step ))
    [ "$next" -gt "$cycles" ] && next=$cycles
  fi
  real_sleep 0.2
done
last=$rss/$size/$fds
elapsed=$(( $(date +%s) - start ))

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
echo "elapsed ${elapsed}s; SIGTERM exit status $status"
echo "first thousand cycles (VmRSS/VmSize/fds): $first; at the end: $last"
if [ "$first" = "$last" ] && [ "$status" -eq 0 ]; then
  echo "flat: yes"
else
  echo "flat: NO"
  exit 1
fi
