#!/bin/sh
# The wireless CGI script's push-button command on the simulated radios:
# "wps_pbc" starts a push-button session on every router access point
# (hostapd_cli wps_pbc) after clearing the WPS status its driver interface
# answers. Every call is recorded in /run/sim/commands.log as the other
# firmware command stand-ins do.
IFS=' '
printf '%s\n' "wireless.cgi${*:+ $*}" >> /run/sim/commands.log
[ "$1" = wps_pbc ] || exit 0
while read -r radio driver rest; do
  case $radio in ''|'#'*) continue ;; esac
  [ -S "/var/run/hostapd/$radio" ] || continue
  boardctl wifi-status "$driver"
  /opt/peers/bin/hostapd_cli -p /var/run/hostapd -i "$radio" wps_pbc >/dev/null
done < /etc/radio/access-points
exit 0
