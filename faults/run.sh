#!/bin/sh
# Fault injection: runs every nvram command, buttond (start, idle, a press,
# a router WPS session to its end, a repeater session) and uplinkd (cycles
# in router and repeater mode) in the sandbox, with each of their system
# calls made to fail in turn (strace --inject, EIO) and with each
# allocation failing in turn (failmalloc preload), and sorts the outcomes:
#   clean      ran as without a fault, or refused with a message
#   nostart    the dynamic loader could not load the program (before any of
#              its code ran)
#   silent     failed (exit status not 0) without any message
#   oom        ended by the C++ runtime on an allocation that failed
#              (std::bad_alloc: terminate, SIGABRT), with that message
#   crash      killed by a signal it did not ask for
#   hang       did not end (nvram) or did not stop on SIGTERM (daemons)
#   lie        nvram reported success but the value is not committed
#   damaged    the store reads as damaged afterwards
# usage: faults/run.sh [BUILD_DIR] [nvram|daemons] [short]
# The whole run takes about 20 minutes; the short one (CI) fails only the
# first occurrence of each system call and a few allocations of each run,
# in a few minutes. Either exits non-zero on a crash, hang, lie or damage.
set -u

if [ "${1:-}" != "--inside" ]; then
  here=$(cd "$(dirname "$0")" && pwd)
  build=$(cd "${1:-build/host}" && pwd)
  exec "$build/sim/sandbox" --preload "$build/sim/libfakehw.so" --time-divisor 50 -- \
    /bin/sh "$here/run.sh" --inside "$build" "${2:-nvram daemons}" "${3:-}"
fi

build=$2
parts=$3
short=${4:-}
nvram=$build/nvram/nvram
fakehwctl=$build/sim/fakehwctl
failmalloc=$build/faults/libfailmalloc.so
work=/tmp/faults
mkdir -p "$work"
real_sleep() { env -u LD_PRELOAD sleep "$1"; }
STORE_DIR=${NVRAM_DIR:-/var/lib/nvram}

# System calls worth failing: what the programs themselves do with files,
# devices, sockets, signals, timers and children.
SYSCALLS="openat read write close newfstatat fstat mkdir rename fsync flock unlink
  ioctl socket pread64 lseek access kill setitimer rt_sigaction rt_sigprocmask
  clone clone3 vfork wait4 pipe2 dup2 getdents64 ftruncate"
# Occurrences of one call to fail in a daemon run (nvram: every one), and
# the allocations to fail in a daemon run (nvram: every one).
DAEMON_POINTS="1 2 3 8 21 80"
MALLOC_DAEMON_POINTS="1 2 3 5 8 13 21 34 55 89 144 233 377 610 987"
if [ "$short" = short ]; then
  DAEMON_POINTS=1
  MALLOC_DAEMON_POINTS="1 8 55"
fi

for class in clean nostart oom silent crash hang lie damaged; do eval "count_$class=0"; done
tried=0
note() {  # CLASS WHAT
  tried=$((tried + 1))
  eval "count_$1=\$((count_$1 + 1))"
  case $1 in clean|nostart|oom) ;; *) echo "  $1: $2" ;; esac
}

# How often PROGRAM... calls each system call of the list: "NAME COUNT" lines.
syscall_counts() {
  strace -f -qq -c -U name,calls -o "$work/counts" "$@" >/dev/null 2>&1
  awk 'NR > 2 && $1 ~ /^[a-z]/ && $1 != "total" { print $1, $2 }' "$work/counts" |
    while read -r name calls; do
      case " $(echo $SYSCALLS) " in *" $name "*) echo "$name $calls" ;; esac
    done
}

# --- nvram ---
fresh_store() {
  rm -rf "$STORE_DIR"
  "$nvram" set 0 Fault old >/dev/null 2>&1
  printf 'Fault=imported\nOther=x\n' > "$work/import"
}

# judge_nvram WRITES EXPECTED STATUS WHAT: the store after one faulted run.
judge_nvram() {
  writes=$1 expected=$2 status=$3 what=$4
  value=$(env -u LD_PRELOAD "$nvram" get 0 Fault 2>"$work/check.err")
  if [ "$status" -eq 127 ] && grep -q 'error while loading shared libraries' "$work/run.err"; then
    note nostart "$what"
  elif [ "$status" -eq 134 ] && grep -q 'bad_alloc' "$work/run.err"; then
    note oom "$what"
  elif [ "$status" -ge 124 ]; then
    [ "$status" -eq 124 ] && note hang "$what" || note crash "$what (status $status)"
  elif [ -s "$work/check.err" ]; then
    note damaged "$what: $(head -1 "$work/check.err")"
  elif [ "$writes" = yes ] && [ "$status" -eq 0 ] && [ "$value" != "$expected" ]; then
    note lie "$what: reported success, store holds '$value'"
  elif [ "$value" != old ] && [ "$value" != "$expected" ]; then
    note damaged "$what: store holds '$value'"
  elif [ "$status" -ne 0 ] && [ ! -s "$work/run.err" ]; then
    note silent "$what (status $status)"
  else
    note clean "$what"
  fi
}

nvram_case() {  # WRITES EXPECTED ARGS...
  writes=$1 expected=$2
  shift 2
  fresh_store
  for line in $(syscall_counts "$nvram" "$@" | tr ' ' ':'); do
    name=${line%%:*} calls=${line#*:}
    [ "$short" = short ] && calls=1
    n=1
    while [ "$n" -le "$calls" ]; do
      fresh_store
      timeout -k 2 10 strace -f -qq -o /dev/null -e trace="$name" \
        -e inject="$name:error=EIO:when=$n" "$nvram" "$@" >/dev/null 2>"$work/run.err"
      judge_nvram "$writes" "$expected" $? "nvram $* / $name #$n"
      n=$((n + 1))
    done
  done
  fresh_store
  LD_PRELOAD="$LD_PRELOAD $failmalloc" FAIL_MALLOC_COUNT=$work/allocations "$nvram" "$@" \
    >/dev/null 2>&1
  allocations=$(cat "$work/allocations" 2>/dev/null || echo 0)
  points=$(seq 1 "$allocations")
  [ "$short" = short ] && points=$MALLOC_DAEMON_POINTS
  for n in $points; do
    [ "$n" -le "$allocations" ] || break
    fresh_store
    LD_PRELOAD="$LD_PRELOAD $failmalloc" FAIL_MALLOC_AT=$n timeout -k 2 10 \
      "$nvram" "$@" >/dev/null 2>"$work/run.err"
    judge_nvram "$writes" "$expected" $? "nvram $* / malloc #$n"
  done
}

case $parts in *nvram*)
echo "nvram commands"
nvram_case no old get 0 Fault
nvram_case yes new set 0 Fault new
nvram_case yes "" unset 0 Fault
nvram_case no old show 0
nvram_case no old show
nvram_case yes old commit 0
nvram_case yes imported import 0 "$work/import"
;; esac

# --- daemons ---
# scenario_buttond / scenario_uplinkd: the board's answers, the store and
# the button for one run; then the daemon runs DAEMON_SECONDS real seconds.
scenario_buttond() {
  rm -rf "$STORE_DIR" /tmp/lock
  "$fakehwctl" reset >/dev/null; "$fakehwctl" time-divisor 50 >/dev/null
  case $1 in
    router)   "$nvram" set 0 OperationMode 1 >/dev/null
              "$fakehwctl" wifi-status ra0 0 0 34 >/dev/null
              "$fakehwctl" button "1x20 0x50 1" >/dev/null ;;
    repeater) "$nvram" set 0 OperationMode 3 >/dev/null
              "$fakehwctl" wifi-status apcli0 0 0 34 >/dev/null
              "$fakehwctl" wifi-configured apcli0 ssid=up key=secret12 auth=32 encr=8 >/dev/null
              "$fakehwctl" button "1x20 0x80 1" >/dev/null ;;
  esac
}
scenario_uplinkd() {
  rm -rf "$STORE_DIR"
  "$fakehwctl" reset >/dev/null; "$fakehwctl" time-divisor 50 >/dev/null
  case $1 in
    router)   "$nvram" set 0 OperationMode 1 >/dev/null; "$fakehwctl" wan-link 1 >/dev/null ;;
    repeater) "$nvram" set 0 OperationMode 3 >/dev/null
              "$fakehwctl" wifi-connstatus apcli0 1 >/dev/null ;;
  esac
  echo 1 > /tmp/internetStatus
}
# The short run lets each daemon run longer, so that buttond's WPS session
# (its press spawns two shells a sample, slow under strace) surely starts.
DAEMON_SECONDS=2
[ "$short" = short ] && DAEMON_SECONDS=4

# run_daemon WHAT traced|direct COMMAND...: starts COMMAND, lets it run,
# then sends SIGTERM to the daemon (strace's child when traced: strace
# itself holds fatal signals) and waits for the end.
run_daemon() {
  what=$1 traced=$2
  shift 2
  "$@" >/dev/null 2>"$work/run.err" &
  pid=$!
  real_sleep "$DAEMON_SECONDS"
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"; status=$?
    if [ "$status" -eq 127 ] && grep -q 'error while loading shared' "$work/run.err"; then
      note nostart "$what"
    elif [ "$status" -eq 134 ] && grep -q 'bad_alloc' "$work/run.err"; then note oom "$what"
    elif [ "$status" -gt 128 ]; then note crash "$what (signal $((status - 128)))"
    elif [ "$status" -ne 0 ] && [ ! -s "$work/run.err" ]; then note silent "$what (status $status)"
    else note clean "$what"
    fi
    return
  fi
  daemon_pid=
  [ "$traced" = traced ] && daemon_pid=$(pgrep -o -P "$pid" 2>/dev/null || true)
  kill -TERM "${daemon_pid:-$pid}"
  for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$pid" 2>/dev/null || break; real_sleep 0.3; done
  if kill -0 "$pid" 2>/dev/null; then
    note hang "$what"
    kill -KILL "${daemon_pid:-$pid}" "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return
  fi
  wait "$pid"; status=$?
  # SIGTERM is the end asked for (buttond keeps its default action).
  if [ "$status" -gt 128 ] && [ "$status" -ne 143 ]; then note crash "$what (signal $((status - 128)))"
  else note clean "$what"
  fi
}

daemon_case() {  # DAEMON MODE
  daemon=$1 mode=$2 program=$build/$1/$1
  "scenario_$daemon" "$mode"
  timeout -s TERM "$DAEMON_SECONDS" strace -f -qq -c -U name,calls -o "$work/counts" "$program" \
    >/dev/null 2>&1
  for line in $(awk 'NR > 2 && $1 ~ /^[a-z]/ && $1 != "total" { print $1 ":" $2 }' "$work/counts"); do
    name=${line%%:*} calls=${line#*:}
    case " $(echo $SYSCALLS) " in *" $name "*) ;; *) continue ;; esac
    for n in $DAEMON_POINTS; do
      [ "$n" -le "$calls" ] || break
      "scenario_$daemon" "$mode"
      run_daemon "$daemon $mode / $name #$n" traced strace -f -qq -o /dev/null -e trace="$name" \
        -e inject="$name:error=EIO:when=$n" "$program"
    done
  done
  for n in $MALLOC_DAEMON_POINTS; do
    "scenario_$daemon" "$mode"
    rm -f "$work/hit"
    run_daemon "$daemon $mode / malloc #$n" direct env LD_PRELOAD="$LD_PRELOAD $failmalloc" \
      FAIL_MALLOC_AT="$n" FAIL_MALLOC_HIT="$work/hit" "$program"
  done
}

case $parts in *daemons*)
echo "daemons"
daemon_case buttond router
daemon_case buttond repeater
daemon_case uplinkd router
daemon_case uplinkd repeater
;; esac

echo "injection points tried: $tried"
for class in clean nostart oom silent crash hang lie damaged; do
  eval "echo \"  $class: \$count_$class\""
done
[ $((count_crash + count_hang + count_lie + count_damaged)) -eq 0 ]
