// One repeater WPS session on the virtual board, run by buttond's own code
// as after a repeater request: the upstream clients are prepared, the poll
// runs every 2 s, and on success configAP stores the credentials and
// reboots. The power-cut campaign starts it with the driver scripted.
#include <unistd.h>

#include "buttond/buttond.h"

int main() {
  if (start_wps(WPS_AS_REPEATER) != 0) return 1;
  // The poll runs in the timer's signal handler; it stops the timer when the
  // session ends, and configAP has then issued the reboot.
  while (g_wps_timer_state) pause();
  return 0;
}
