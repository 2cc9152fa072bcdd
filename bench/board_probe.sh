#!/bin/sh
# Board side of bench/board_figures.sh, added to the image as the last init
# script: starts the minimal sampler beside the daemons, lets the board idle
# for 60 s, prints CPU and memory figures on the console as "@@ ..." lines
# (the host parses them) and powers the board off.
[ "$1" = start ] || exit 0

# NAME PID: the process's memory, as "@@ NAME KIND LINE" lines, and for
# each code mapping a string of 0/1, one per page: mapped in or not (bit 63
# of the page's pagemap entry; od prints each entry as two 32-bit words).
report_memory() {
  grep -E '^(VmRSS|VmHWM|VmData|VmStk|VmExe|VmLib|VmPTE)' "/proc/$2/status" | sed "s/^/@@ $1 status /"
  sed "s/^/@@ $1 rollup /" "/proc/$2/smaps_rollup"
  sed "s/^/@@ $1 smaps /" "/proc/$2/smaps"
  grep ' r-xp ' "/proc/$2/maps" | while read -r range perms off dev ino path; do
    start=$((0x${range%-*} / 4096)); end=$((0x${range#*-} / 4096))
    present=$(dd if="/proc/$2/pagemap" bs=8 skip=$start count=$((end - start)) 2>/dev/null |
      od -An -v -tx4 | awk '{for (i = 1; i <= NF; ++i) { n++; if (n % 2 == 0) printf "%s", (substr($i, 1, 1) ~ /[89a-f]/) ? "1" : "0" }}')
    echo "@@ $1 pages ${path:-[anon]} $present"
  done
}

# NAME PID WHEN: user and system CPU time in clock ticks.
report_cpu() {
  echo "@@ $1 cpu$3 $(cut -d ' ' -f 14,15 "/proc/$2/stat")"
}

# The same memory with the kernel's fault-around set to one page: a fault
# then maps in only the page it touched, not the 64 kB of cached pages
# around it, so the figures show what each program really touches. The
# daemons and the sampler are started again for it.
measure_touched() {
  mount -t debugfs debugfs /sys/kernel/debug 2>/dev/null
  echo 4096 >/sys/kernel/debug/fault_around_bytes || return 0
  /etc/init.d/S60buttond restart >/dev/null
  /etc/init.d/S61uplinkd restart >/dev/null
  minimal_sampler &
  sampler=$!
  sleep 15
  report_memory buttond-touched "$(cat /var/run/buttond.pid)"
  report_memory uplinkd-touched "$(cat /var/run/uplinkd.pid)"
  report_memory minimal_sampler-touched "$sampler"
  kill "$sampler"
}

measure() {
  buttond=$(cat /var/run/buttond.pid)
  uplinkd=$(cat /var/run/uplinkd.pid)
  # Field 22 of stat: the process's start, in ticks since the kernel booted.
  echo "@@ boot $(cut -d ' ' -f 22 "/proc/$buttond/stat") $(cut -d ' ' -f 22 "/proc/$uplinkd/stat") $(cut -d ' ' -f 1 /proc/uptime)"
  minimal_sampler &
  sampler=$!
  sleep 1
  report_cpu buttond "$buttond" 0
  report_cpu minimal_sampler "$sampler" 0
  sleep 60
  report_cpu buttond "$buttond" 1
  report_cpu minimal_sampler "$sampler" 1
  report_memory buttond "$buttond"
  report_memory uplinkd "$uplinkd"
  report_memory minimal_sampler "$sampler"
  kill "$sampler"
  measure_touched
  echo "@@ done"
  poweroff
}

measure >/dev/console 2>&1 &
