# Start, stop and restart of a supervised daemon that writes its own pid
# file, for the S* scripts: set NAME and PIDFILE, source this file, call
# daemon_control "$1". A supervisor (a small shell loop, its pid in
# /var/run/NAME.supervisor) runs the daemon in the foreground with its
# output on the console and starts it again RESPAWN_DELAY seconds after it
# died (a crash, the OOM killer: any end but status 0), until "stop" ends
# the supervisor first and then the daemon. A daemon that ends with status 0
# has finished on purpose (buttond after starting the factory reset, uplinkd
# on SIGTERM) and is not started again.
SUPERVISOR=/var/run/$NAME.supervisor
RESPAWN_DELAY=${RESPAWN_DELAY:-2}

daemon_running() {
  pid=$(cat "$PIDFILE" 2>/dev/null) && [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null
}

supervisor_running() {
  supervisor=$(cat "$SUPERVISOR" 2>/dev/null) && [ -n "$supervisor" ] && kill -0 "$supervisor" 2>/dev/null
}

# Waits up to 5 s until a pid is gone; false if it is still there.
wait_gone() {
  tries=0
  while kill -0 "$1" 2>/dev/null && [ $tries -lt 50 ]; do
    usleep 100000; tries=$((tries + 1))
  done
  ! kill -0 "$1" 2>/dev/null
}

# The supervisor's loop. A daemon killed by a signal leaves its pid file
# behind; it is removed before the next start so the file never names a
# dead process for long.
daemon_supervise() {
  while :; do
    rm -f "$PIDFILE"
    "$NAME" </dev/null
    code=$?
    [ $code = 0 ] && break
    echo "$NAME ended (status $code); starting it again in $RESPAWN_DELAY s"
    rm -f "$PIDFILE"
    sleep "$RESPAWN_DELAY"
  done
  rm -f "$SUPERVISOR"
}

daemon_start() {
  if daemon_running; then
    echo "$NAME already running ($pid)"
    return 0
  fi
  if supervisor_running; then
    echo "$NAME already supervised ($supervisor)"
    return 0
  fi
  rm -f "$PIDFILE"
  daemon_supervise </dev/null >/dev/console 2>&1 &
  echo $! > "$SUPERVISOR"
  # The daemon writes its pid file itself shortly after starting.
  tries=0
  while [ ! -s "$PIDFILE" ] && [ $tries -lt 50 ]; do
    usleep 100000; tries=$((tries + 1))
  done
  [ -s "$PIDFILE" ] || { echo "$NAME did not write $PIDFILE"; return 1; }
}

daemon_stop() {
  # The supervisor goes first, so nothing starts the daemon again.
  if supervisor_running; then
    kill -TERM "$supervisor"
    wait_gone "$supervisor" || kill -KILL "$supervisor" 2>/dev/null
  fi
  rm -f "$SUPERVISOR"
  daemon_running || { echo "$NAME not running"; rm -f "$PIDFILE"; return 0; }
  kill -TERM "$pid"
  if ! wait_gone "$pid"; then
    echo "$NAME ($pid) did not stop"
    return 1
  fi
  # A daemon that dies of SIGTERM leaves its pid file behind.
  if [ -e "$PIDFILE" ]; then
    echo "$NAME left $PIDFILE behind; removed"
    rm -f "$PIDFILE"
  fi
  return 0
}

daemon_control() {
  case $1 in
  start) daemon_start ;;
  stop) daemon_stop ;;
  restart) daemon_stop; daemon_start ;;
  status) if daemon_running; then echo "$NAME running ($pid)"; else echo "$NAME stopped"; return 1; fi ;;
  *) echo "usage: $0 start|stop|restart|status" >&2; return 2 ;;
  esac
}
