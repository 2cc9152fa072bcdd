#!/bin/sh
# Board side of bench/board_store.sh, added to the image as the last init
# script: times 1000 runs of BusyBox `true` (a process each), of `nvram get`
# on a set holding only its defaults and on a set of 500 keys, prints the
# times on the console as "@@ ..." lines and powers the board off.
[ "$1" = start ] || exit 0

runs=1000

# NAME COMMAND...: "@@ time NAME START END", the uptime before and after.
time_runs() {
  name=$1
  shift
  start=$(cut -d ' ' -f 1 /proc/uptime)
  i=0
  while [ "$i" -lt "$runs" ]; do
    "$@" >/dev/null || echo "@@ failed $name: $*"
    i=$((i + 1))
  done
  echo "@@ time $name $start $(cut -d ' ' -f 1 /proc/uptime)"
}

measure() {
  sleep 5  # the daemons' start-up is over
  echo "@@ runs $runs"
  time_runs true /bin/true
  # Set 2 (wifi3) has no file on a fresh flash: its built-in defaults.
  time_runs nvram-defaults nvram get 2 ApCliEnable
  store-keys 500 > /tmp/keys.txt
  nvram import 2 /tmp/keys.txt
  [ "$(nvram get 2 Key250)" = "$(sed -n 's/^Key250=//p' /tmp/keys.txt)" ] ||
    echo "@@ failed nvram-500: not the value imported"
  time_runs nvram-500 nvram get 2 Key250
  echo "@@ done"
  poweroff
}

measure >/dev/console 2>&1 &
