// The end of a mesh pairing: refreshes the mesh interface's access-control
// list and hands it to rai3, or marks the pairing over in /tmp/Pair; then
// LED 9 goes dark and the monitor daemon is told to update its status.
#include <signal.h>

#include "boardutil/console.h"
#include "boardutil/gpio.h"
#include "boardutil/iwpriv.h"
#include "boardutil/mesh_acl.h"
#include "boardutil/pause.h"
#include "boardutil/shell.h"
#include "boardutil/text.h"
#include "boardutil/wireless_internal.h"
#include "buttond/buttond.h"
#include "buttond/monitor_pid.h"
#include "nvram.h"

namespace {

using boardutil::text_is;

constexpr const char kMeshInterface[] = "rai3";
constexpr const char kPairingOver[] = "echo 0 > /tmp/Pair &";
constexpr int kPairingLed = 9;

// "iwpriv rai3 set <setting><value>"; a long access-control list is handed
// over whole.
void mesh_setting(const char *setting, const char *value = "") {
  boardutil::iwpriv_set(do_system, kMeshInterface, setting, value);
}

// Merges the driver's list into "AccessControlList3" and gives the result
// to the mesh interface, then wakes the sync server.
void update_mesh_acl() {
  console_print("update acl\n\n");
  config_acl(kMeshInterface, 3, RTDEV_NVRAM);
  pause_seconds(1);
  const char *acl = nvram_bufget(RTDEV_NVRAM, "AccessControlList3");
  mesh_setting("SmartLinkUpdate=40");
  // A list whose compact form found no memory is not handed over as empty.
  const char *compact = acl[0] != '\0' ? boardutil::compact_acl(acl) : nullptr;
  if (compact != nullptr) mesh_setting("SmartLinkUpdate=5", compact);
  mesh_setting("touchlink=0");
  pause_seconds(1);
  do_system("killall -SIGUSR1 sync_server&");
}

// A pid file without a number counts as a monitor that is not running.
// The pid file is closed after the message and the signal.
void notify_monitor() {
  buttond::MonitorPidFile monitor;
  switch (monitor.state()) {
    case MONITOR_FOUND:
      console_print("notify monitor to update status..\n\n");
      kill(monitor.pid(), SIGHUP);
      break;
    case MONITOR_PID_UNSAFE:
      console_print("%s: application pid(%d) <= 1\n\n", "send_signal", monitor.pid());
      break;
    default:
      console_print("%s: application is not running\n\n", "send_signal");
      break;
  }
}

}  // namespace

extern "C" void send_signal(void) {
  const char *model = nvram_bufget(RT2860_NVRAM, "Model");
  if (text_is(mesh_mode, "1")) {
    if (text_is(model, "KQ718D3")) {
      do_system(kPairingOver);
    } else {
      update_mesh_acl();
    }
  } else if (text_is(mesh_mode, "2")) {
    do_system(kPairingOver);
  }
  set_led(kPairingLed, LED_MODE_DARK);
  notify_monitor();
}
