#!/bin/sh
# In-board self-test of the routerd_board drivers: each request kind with
# its answer and its request-log line, malformed requests refused, control
# commands changing the answers, the log's ring and tail behaviour, random
# abuse, and (with --reload) repeated unload and load. Prints one PASS or
# FAIL line per check, then "selftest: N passed, M failed"; exits 1 on any
# failure. Changes the drivers' state: run it with the daemons stopped.
#   selftest.sh [--reload MODULE.ko]     (probe is taken from beside this script)
here=$(cd "$(dirname "$0")" && pwd)
probe=$here/probe
module=
[ "${1:-}" = --reload ] && module=${2:?usage: selftest.sh [--reload MODULE.ko]}
passed=0
failed=0

check() { # NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    echo "PASS $1"
    passed=$((passed + 1))
  else
    echo "FAIL $1: expected [$2], got [$3]"
    failed=$((failed + 1))
  fi
}

ctl() { "$probe" ctl "$1" >/dev/null || echo "FAIL control line [$1] refused"; }

# request NAME EXPECTED_OUTPUT EXPECTED_LOG PROBE_ARGS...: the probe's answer
# and the lines the request logged.
request() {
  name=$1 output=$2 logged=$3
  shift 3
  ctl "log clear"
  check "$name" "$output" "$("$probe" "$@")"
  check "$name: log" "$logged" "$(cat /dev/boardlog)"
}

# The answer bytes (hex) of a wireless request, OFFSET and LENGTH in bytes.
answer_bytes() { # HEX OFFSET LENGTH
  echo "$1" | cut -c$(($2 * 2 + 1))-$((($2 + $3) * 2))
}
wifi_answer() { # IF CMD FLAGS LENGTH
  out=$("$probe" wifi "$@")
  echo "${out##* }"
}

refused() { # NAME LINE
  check "control refuses $1" "error EINVAL" "$("$probe" ctl "$2")"
}

gpio_checks() {
  request "gpio dir-in bank 0" "ok" "gpio dir-in cmd=0x11 mask=0x2" value /dev/gpio 0x11 2
  request "gpio dir-in bank 2" "ok" "gpio dir-in cmd=0x15 mask=0x80000000" value /dev/gpio 0x15 0x80000000
  request "gpio dir-in two pins" "error EINVAL" "gpio refused cmd=0x11 (mask 0x3 is not one pin of bank 0)" \
    value /dev/gpio 0x11 3
  request "gpio dir-in past bank 1" "error EINVAL" "gpio refused cmd=0x13 (mask 0x10000 is not one pin of bank 1)" \
    value /dev/gpio 0x13 0x10000
  request "gpio dir-in no pin" "error EINVAL" "gpio refused cmd=0x17 (mask 0x0 is not one pin of bank 3)" \
    value /dev/gpio 0x17 0
  ctl "gpio-bank 1 0x1234"
  request "gpio read bank 1" "ok 0x1234" "gpio read cmd=0x52 -> 0x1234" read /dev/gpio 0x52
  request "gpio read bank 3" "ok 0xffffffff" "gpio read cmd=0x72 -> 0xffffffff" read /dev/gpio 0x72
  request "gpio read null" "error EINVAL" "gpio refused cmd=0x02 (null argument)" value /dev/gpio 2 0

  ctl "button 0x2 1"
  request "button sample 1 pressed" "ok 0xfffffffd" "gpio read cmd=0x02 -> 0xfffffffd" read /dev/gpio 2
  request "failed read takes no sample" "error EFAULT" "gpio refused cmd=0x02 (bad address)" \
    value /dev/gpio 2 0xc0000000
  request "button sample 2 pressed" "ok 0xfffffffd" "gpio read cmd=0x02 -> 0xfffffffd" read /dev/gpio 2
  request "button released after script" "ok 0xffffffff" "gpio read cmd=0x02 -> 0xffffffff" read /dev/gpio 2
  check "button reads counted" "button 3 reads of 3 samples, then released" "$(grep '^button' /dev/boardctl)"
  ctl "button 0"
  "$probe" read /dev/gpio 2 >/dev/null
  check "last level holds" "ok 0xfffffffd" "$("$probe" read /dev/gpio 2)"
  ctl "button-hold released"
  check "button-hold" "ok 0xffffffff" "$("$probe" read /dev/gpio 2)"
  ctl "gpio-bank 0 0"
  ctl "button 1"
  check "button bit over bank 0 levels" "ok 0x2" "$("$probe" read /dev/gpio 2)"

  request "gpio led" "ok" "gpio led pin=10 on=10 off=10 blinks=4000 rests=1 times=4000" \
    record /dev/gpio 0x41 10 10 10 4000 1 4000
  check "led pattern kept" "led pin=10 on=10 off=10 blinks=4000 rests=1 times=4000" "$(grep '^led pin=10 ' /dev/boardctl)"
  request "gpio led pin 73" "error EINVAL" "gpio refused cmd=0x41 (pin=73 out of range)" \
    record /dev/gpio 0x41 73 0 0 0 0 0
  request "gpio led times 4001" "error EINVAL" "gpio refused cmd=0x41 (times=4001 out of range)" \
    record /dev/gpio 0x41 72 4000 4000 4000 4000 4001
  request "gpio led null" "error EINVAL" "gpio refused cmd=0x41 (null argument)" value /dev/gpio 0x41 0
  request "gpio irq-enable" "ok" "gpio irq-enable cmd=0x08" value /dev/gpio 8 0
  request "gpio register" "ok" "gpio register pin=1 pid=-1" record /dev/gpio 0x0A 1 0xffffffff
  request "gpio register pin 73" "error EINVAL" "gpio refused cmd=0x0A (pin=73 out of range)" \
    record /dev/gpio 0x0A 73 5
  request "gpio unknown" "error EINVAL" "gpio refused cmd=0x99 (unknown command)" value /dev/gpio 0x99 0
  ctl "gpio-fail read led"
  request "gpio-fail read" "error EIO" "gpio refused cmd=0x52 (failing on request)" read /dev/gpio 0x52
  ctl "gpio-fail"
  request "gpio-fail none" "ok 0xffffffff" "gpio read cmd=0x72 -> 0xffffffff" read /dev/gpio 0x72
  ctl "gpio-missing yes"
  check "gpio-missing" "error ENOENT" "$("$probe" read /dev/gpio 0x52)"
  ctl "gpio-missing no"
}

rdm_checks() {
  request "rdm prepare" "ok" "rdm cmd=0x6B0E arg=0" value /dev/rdm0 0x6B0E 0
  request "rdm prepare argument" "error EINVAL" "rdm refused cmd=0x6B0E (argument 0x5, not 0)" \
    value /dev/rdm0 0x6B0E 5
  request "rdm read link up" "ok 0x1" "rdm read reg=0x113408 -> 0x1" read /dev/rdm0 0x6B03 0x113408
  ctl "wan-link down"
  request "rdm read link down" "ok 0x0" "rdm read reg=0x113408 -> 0x0" read /dev/rdm0 0x6B03 0x113408
  request "rdm other register" "error EINVAL" "rdm refused cmd=0x6B03 (register 0x100 unknown)" \
    read /dev/rdm0 0x6B03 0x100
  request "rdm read null" "error EINVAL" "rdm refused cmd=0x6B03 (null argument)" value /dev/rdm0 0x6B03 0
  request "rdm unknown" "error EINVAL" "rdm refused cmd=0x6B04 (unknown command)" value /dev/rdm0 0x6B04 0
  ctl "rdm-fail 0x6b03"
  request "rdm-fail" "error EIO" "rdm refused cmd=0x6B03 (failing on request)" read /dev/rdm0 0x6B03 0x113408
  ctl "rdm-missing yes"
  check "rdm-missing" "error ENOENT" "$("$probe" read /dev/rdm0 0x6B03 0x113408)"
}

wifi_checks() {
  ctl "wifi-status ra0 0 1 34"
  request "wps status 1" "ok length=4 00000000" "wifi ra0 oid=0x0751 len=4" wifi ra0 0x8BEE 0x0751 4
  check "wps status 2" "ok length=4 01000000" "$("$probe" wifi ra0 0x8BEE 0x0751 4)"
  check "wps status 3" "ok length=4 22000000" "$("$probe" wifi ra0 0x8BEE 0x0751 4)"
  check "wps status repeats" "ok length=4 22000000" "$("$probe" wifi ra0 0x8BEE 0x0751 4)"
  check "wps status unset" "ok length=4 00000000" "$("$probe" wifi rai0 0x8BEE 0x0751 4)"
  refused "a bad status sequence" "wifi-status ra0 5 x"
  check "refused sequence changes nothing" "ok length=4 22000000" "$("$probe" wifi ra0 0x8BEE 0x0751 4)"
  request "oid wrong length" "error EINVAL" "wifi ra0 refused oid=0x0751 (length 8, expected 4)" \
    wifi ra0 0x8BEE 0x0751 8
  request "oid null buffer" "error EINVAL" "wifi ra0 refused oid=0x0751 (length 4, expected 4)" \
    wifi ra0 0x8BEE 0x0751 4 null
  request "unknown oid" "error EOPNOTSUPP" "wifi ra0 refused oid=0x1234 (unknown OID)" wifi ra0 0x8BEE 0x1234 4
  request "unknown request" "error EOPNOTSUPP" "wifi rai3 refused cmd=0x8BE1 (unknown request)" \
    wifi rai3 0x8BE1 0 4
  request "no such interface" "error ENODEV" "" wifi eth9 0x8BEE 0x0751 4

  ctl "wifi-channel apcli0 6 11"
  check "channel" "ok length=1 06" "$("$probe" wifi apcli0 0x8BEE 0x0765 1)"
  ctl "wifi-bssid apclii0 AA:BB:CC:DD:EE:0F"
  check "bssid" "ok length=6 aabbccddee0f" "$("$probe" wifi apclii0 0x8BEE 0x0766 6)"
  ctl "wifi-acl ra0 02:00:00:00:00:01 02:00:00:00:00:02"
  acl=$(wifi_answer ra0 0x8BEE 0x052A 520)
  check "acl count and entries" "02000000 020000000001 0000 020000000002" \
    "$(answer_bytes "$acl" 4 4) $(answer_bytes "$acl" 8 6) $(answer_bytes "$acl" 14 2) $(answer_bytes "$acl" 16 6)"
  ctl "wifi-acl ra0 count=999 02:00:00:00:00:01"
  check "acl claimed count" "e7030000" "$(answer_bytes "$(wifi_answer ra0 0x8BEE 0x052A 520)" 4 4)"

  ctl "wifi-profile rai0 ssid=Home\\x20Net key=secret auth=0x20 encr=8 key-index=1"
  profile=$(wifi_answer rai0 0x8BEE 0x0750 936)
  check "wsc profile record" "01000000 08000000 486f6d65204e6574 2000 0800 736563726574 0600 01" \
    "$(answer_bytes "$profile" 0 4) $(answer_bytes "$profile" 8 4) $(answer_bytes "$profile" 12 8) \
$(answer_bytes "$profile" 44 2) $(answer_bytes "$profile" 46 2) $(answer_bytes "$profile" 48 6) \
$(answer_bytes "$profile" 112 2) $(answer_bytes "$profile" 120 1)"

  ctl "wifi-configured apcli0 state=2 ssid=Up key=pass1234 auth=0x20 encr=8"
  ctl "log clear"
  cv=$(wifi_answer apcli0 0x8BF2 0 107)
  check "configured value: log" "wifi apcli0 wsc-profile len=107" "$(cat /dev/boardlog)"
  check "configured value record" "0200 5570 2000 0800 00 7061737331323334 02" \
    "$(answer_bytes "$cv" 0 2) $(answer_bytes "$cv" 2 2) $(answer_bytes "$cv" 35 2) $(answer_bytes "$cv" 37 2) \
$(answer_bytes "$cv" 39 1) $(answer_bytes "$cv" 40 8) $(answer_bytes "$cv" 105 1)"
  check "configured value into a short buffer" "0200 ee" \
    "$(answer_bytes "$(wifi_answer apcli0 0x8BF2 0 16 17)" 0 2) $(answer_bytes "$(wifi_answer apcli0 0x8BF2 0 16 17)" 16 1)"
  request "configured value flags" "error EINVAL" "wifi apcli0 refused wsc-profile (flags 0x1, expected 0)" \
    wifi apcli0 0x8BF2 1 107

  ctl "wifi-connstatus apcli0 1"
  ctl "log clear"
  check "connstatus" "3100ee" "$(answer_bytes "$(wifi_answer apcli0 0x8BFC 0 2048)" 0 3)"
  check "connstatus: log" "wifi apcli0 connstatus len=2048" "$(cat /dev/boardlog)"
  # The wireless extensions copy the request back only for odd numbers.
  check "connstatus length field kept" "length=2048" "$("$probe" wifi apcli0 0x8BFC 0 2048 0 | cut -d' ' -f2)"
  ctl "wifi-connstatus apcli0 \\x201\\x0a"
  check "connstatus escapes" "20310a00" "$(answer_bytes "$(wifi_answer apcli0 0x8BFC 0 2048)" 0 4)"
  ctl "wifi-connstatus apcli0"
  check "connstatus emptied" "00ee" "$(answer_bytes "$(wifi_answer apcli0 0x8BFC 0 2048)" 0 2)"
  request "connstatus length" "error EINVAL" "wifi apcli0 refused connstatus (length 100, expected 2048)" \
    wifi apcli0 0x8BFC 0 100
  ctl "wifi-fail apcli0 connstatus oid=0x0765"
  request "wifi-fail connstatus" "error EIO" "wifi apcli0 refused connstatus (failing on request)" \
    wifi apcli0 0x8BFC 0 2048
  request "wifi-fail oid" "error EIO" "wifi apcli0 refused oid=0x0765 (failing on request)" \
    wifi apcli0 0x8BEE 0x0765 1
  check "wifi-fail other oid answers" "ok length=4 00000000" "$("$probe" wifi apcli0 0x8BEE 0x0751 4)"
  ctl "wifi-fail apcli0"
  check "wifi-fail cleared" "ok length=1 0b" "$("$probe" wifi apcli0 0x8BEE 0x0765 1)"
}

control_checks() {
  refused "an unknown command" "bogus"
  refused "an empty line" "
"
  # musl's stdio ends a flush with an empty write.
  check "control takes a write of nothing" "ok" "$("$probe" ctl "")"
  refused "a button level 2" "button 2"
  refused "a button count 0" "button 0x0"
  refused "a bank 4" "gpio-bank 4 0"
  refused "an unknown interface" "wifi-status eth0 1"
  refused "channel 256" "wifi-channel ra0 256"
  refused "a broken MAC" "wifi-bssid ra0 AA:BB:CC:DD:EE"
  refused "a 33-byte SSID" "wifi-profile ra0 ssid=123456789012345678901234567890123"
  refused "an unknown field" "wifi-configured ra0 colour=red"
  refused "a broken escape" "wifi-connstatus ra0 \\x4"
  refused "an unknown failure" "wifi-fail ra0 everything"
  refused "a word that is no switch" "wan-link maybe"
  refused "log rotate" "log rotate"
  refused "too many arguments" "reset now"
  refused "two lines in one write" "button 0
1"
  long=$(printf '%01100d' 0)
  refused "an over-long line" "wifi-connstatus ra0 $long"
  check "the reason is shown" "error unknown command \"bogus\"" "$("$probe" ctl bogus >/dev/null; grep '^error' /dev/boardctl)"
  ctl "logging off"
  request "logging off" "ok 0x1" "" read /dev/rdm0 0x6B03 0x113408
  ctl "logging on"
}

log_checks() {
  ctl reset
  check "a held descriptor sees only new lines" "at end: 0
after a request: 1
new: rdm read reg=0x113408 -> 0x1
then: 0" "$("$probe" log-follow)"
  check "stress" "ok 30000 rounds" "$("$probe" stress 30000)"
  # Two more at once, while the log and the summary are read.
  out=$(mktemp -d)
  "$probe" stress 10000 >"$out/1" &
  "$probe" stress 10001 >"$out/2" &
  for i in 1 2 3 4 5 6 7 8 9 10; do cat /dev/boardlog /dev/boardctl >/dev/null; done
  wait
  check "concurrent stress" "ok 10000 rounds ok 10001 rounds" "$(cat "$out/1") $(cat "$out/2")"
  rm -r "$out"
  ctl reset
  ctl "log clear"
  ring=$(($(cat /sys/module/routerd_board/parameters/log_kib) * 1024))
  "$probe" fill $((ring / 29 + 1000)) >/dev/null
  # More lines of 29 bytes than the ring holds: the oldest are dropped
  # whole, the ring stays nearly full.
  check "full ring keeps whole lines" "rdm read reg=0x113408 -> 0x1 yes" \
    "$(head -n 1 /dev/boardlog) $(size=$(cat /dev/boardlog | wc -c)
      [ "$size" -le "$ring" ] && [ "$size" -gt $((ring - 29)) ] && echo yes || echo "$size bytes")"
  check "full ring: no broken line" "0" "$(grep -cv '^rdm read reg=0x113408 -> 0x1$' /dev/boardlog)"
  check "still answering" "ok 0x1" "$("$probe" read /dev/rdm0 0x6B03 0x113408)"
  ctl "log clear"
  check "log clear" "0" "$(cat /dev/boardlog | wc -c)"
}

netdev_checks() {
  check "interface MACs" \
    "02:00:00:00:00:10 02:00:00:00:00:20 02:00:00:00:00:30 02:00:00:00:00:11 02:00:00:00:00:21 02:00:00:00:00:23" \
    "$(for i in ra0 rai0 rax0 apcli0 apclii0 rai3; do cat /sys/class/net/$i/address; done | tr '\n' ' ' | sed 's/ $//')"
  ip link set rai3 up && ip addr add 10.254.254.1/24 dev rai3
  ping -c 1 -W 1 10.254.254.2 >/dev/null 2>&1
  check "frames sent are dropped" "yes" "$([ "$(cat /sys/class/net/rai3/statistics/tx_dropped)" -gt 0 ] && echo yes)"
  ip addr del 10.254.254.1/24 dev rai3
  ip link set rai3 down
}

reload_checks() {
  rmmod routerd_board 2>/dev/null
  i=0
  while [ $i -lt 5 ]; do
    insmod "$module" && [ -c /dev/gpio ] && [ -c /dev/boardctl ] && ip link set apclii0 up &&
      "$probe" ctl "button 0x3 1" >/dev/null && rmmod routerd_board && [ ! -e /sys/class/net/apclii0 ] ||
      break
    i=$((i + 1))
  done
  check "load and unload 5 times" 5 $i
  insmod "$module"
  check "loaded again" "ok 0x1" "$("$probe" read /dev/rdm0 0x6B03 0x113408)"
}

[ -n "$module" ] && reload_checks
netdev_checks
ctl reset
gpio_checks
ctl reset
rdm_checks
ctl reset
wifi_checks
ctl reset
control_checks
log_checks
[ -n "$module" ] && { rmmod routerd_board; check "unloaded after the checks" "" "$(ls /dev/gpio 2>/dev/null)"; insmod "$module"; }
ctl reset
ctl "log clear"
echo "selftest: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
