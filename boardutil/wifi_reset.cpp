// Restarts the access-point radios that are switched on ("WiFiOff" "0" in
// their configuration set): interface down, a 1-second pause, up again.
#include "boardutil/wifi_reset.h"

#include "boardutil/console.h"
#include "boardutil/pause.h"
#include "boardutil/shell.h"
#include "boardutil/text.h"
#include "nvram.h"

namespace {

void restart_radio(const char *wifi_off, const char *down, const char *up) {
  if (!boardutil::text_is(wifi_off, "0")) return;
  do_system(down);
  pause_seconds(1);
  do_system(up);
}

}  // namespace

extern "C" void reset_wifi(void) {
  // Both switches are read before either radio is touched.
  const char *off_24g = nvram_bufget(RT2860_NVRAM, "WiFiOff");
  const char *off_5g = nvram_bufget(RTDEV_NVRAM, "WiFiOff");
  restart_radio(off_24g, "ifconfig ra0 down 1>/dev/null 2>&1", "ifconfig ra0 up 1>/dev/null 2>&1");
  restart_radio(off_5g, "ifconfig rai0 down 1>/dev/null 2>&1", "ifconfig rai0 up 1>/dev/null 2>&1");
  console_debug("reset wifi!\n\n\n");
}
