#!/bin/sh
# buttond soak: a million time-scaled button samples, with a WPS press now and
# then; memory and open descriptors must stay flat.
#
# Usage: bench/buttond_soak.sh [BUILD_DIR] [SAMPLES]
set -eu

if [ "${1:-}" != "--inside" ]; then
  here=$(cd "$(dirname "$0")" && pwd)
  build=$(cd "${1:-build/host}" && pwd)
  exec "$build/sim/sandbox" --preload "$build/sim/libfakehw.so" -- \
    /bin/sh "$here/buttond_soak.sh" --inside "$build" "${2:-1000000}"
fi

build=$2
samples=$3
fakehw=$build/sim/fakehwctl
"$fakehw" logging off
"$fakehw" time-divisor 10000   # a 50 ms pause takes 5 us
"$fakehw" button "1"
"$build/buttond/buttond" >/dev/null 2>&1 &
daemon=$!
report() {
  rss=$(awk '/VmRSS/ { print $2 }' /proc/$daemon/status)
  size=$(awk '/VmSize/ { print $2 }' /proc/$daemon/status)
  fds=$(ls /proc/$daemon/fd | wc -l)
  echo "$1 samples: VmRSS $rss kB, VmSize $size kB, descriptors $fds"
  echo "$rss $size $fds" >> /tmp/soak.figures
}
done_samples=0
# Two readings at least; a script holds at most 65536 samples.
step=$((samples / 2 < 50000 ? samples / 2 : 50000))
while [ "$done_samples" -lt "$samples" ]; do
  # A WPS press, then idle samples while its session polls.
  "$fakehw" button "0x30 1x$step"
  while [ "$("$fakehw" button-reads)" -lt "$((step + 30))" ]; do sleep 0.2; done
  done_samples=$((done_samples + step))
  report "$done_samples"
done
kill "$daemon"
if [ "$(sort -u /tmp/soak.figures | wc -l)" -eq 1 ]; then
  echo "flat: yes"
else
  echo "flat: NO"
  exit 1
fi
