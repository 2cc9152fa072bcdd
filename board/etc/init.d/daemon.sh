# Start, stop and restart of a daemon that writes its own pid file, for the
# S* scripts: set NAME and PIDFILE, source this file, call daemon_control "$1".
# The daemon runs in the background with its output on the console.

daemon_running() {
  pid=$(cat "$PIDFILE" 2>/dev/null) && [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null
}

daemon_start() {
  if daemon_running; then
    echo "$NAME already running ($pid)"
    return 0
  fi
  rm -f "$PIDFILE"
  "$NAME" </dev/null >/dev/console 2>&1 &
  # The daemon writes its pid file itself shortly after starting.
  tries=0
  while [ ! -s "$PIDFILE" ] && [ $tries -lt 50 ]; do
    usleep 100000; tries=$((tries + 1))
  done
  [ -s "$PIDFILE" ] || { echo "$NAME did not write $PIDFILE"; return 1; }
}

daemon_stop() {
  daemon_running || { echo "$NAME not running"; rm -f "$PIDFILE"; return 0; }
  kill -TERM "$pid"
  tries=0
  while kill -0 "$pid" 2>/dev/null && [ $tries -lt 50 ]; do
    usleep 100000; tries=$((tries + 1))
  done
  if kill -0 "$pid" 2>/dev/null; then
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
