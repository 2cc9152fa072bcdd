#!/bin/sh
# Board side of bench/board_store.sh, added to the image as the last init
# script: times runs of BusyBox `true` (a process each), of `nvram get` on a
# set holding only its defaults and of `nvram get` on a set of 500 keys, in
# rounds that take turns, so a slow spell of the emulator falls on all
# three alike; prints the times on the console as "@@ ..." lines and powers
# the board off.
[ "$1" = start ] || exit 0

rounds=20
runs=50  # a round

# NAME COMMAND...: runs COMMAND $runs times; "@@ time NAME START END", the
# uptime before and after.
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
  echo "@@ runs $((rounds * runs))"
  # Set 2 (wifi3) gets the 500 keys; set 1 (rtdev) has no file on a fresh
  # flash, so its reads find the built-in defaults.
  store-keys 500 > /tmp/keys.txt
  nvram import 2 /tmp/keys.txt
  [ "$(nvram get 2 Key250)" = "$(sed -n 's/^Key250=//p' /tmp/keys.txt)" ] ||
    echo "@@ failed nvram-500: not the value imported"
  round=0
  while [ "$round" -lt "$rounds" ]; do
    time_runs true /bin/true
    time_runs nvram-defaults nvram get 1 SSID1
    time_runs nvram-500 nvram get 2 Key250
    round=$((round + 1))
  done
  echo "@@ done"
  poweroff
}

measure >/dev/console 2>&1 &
