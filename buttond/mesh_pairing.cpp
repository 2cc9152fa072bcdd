// The end of a mesh pairing: refreshes the mesh interface's access-control
// list and hands it to rai3, or marks the pairing over in /tmp/Pair; then
// LED 9 goes dark and the monitor daemon is told to update its status.
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "boardutil/console.h"
#include "boardutil/gpio.h"
#include "boardutil/mesh_acl.h"
#include "boardutil/pause.h"
#include "buttond.h"
#include "monitor_pid.h"
#include "nvram.h"

namespace {

constexpr const char kMeshInterface[] = "rai3";
constexpr const char kPairingOver[] = "echo 0 > /tmp/Pair &";
constexpr int kPairingLed = 9;

// Runs "iwpriv rai3 set <setting><value>". The command is sized to the
// value, so a long access-control list is handed over whole, never cut.
void iwpriv_set(const char *setting, const char *value) {
  size_t size = sizeof "iwpriv  set " + strlen(kMeshInterface) + strlen(setting) + strlen(value);
  char *command = static_cast<char *>(malloc(size));
  if (command == nullptr) {
    perror("malloc");
    return;
  }
  snprintf(command, size, "iwpriv %s set %s%s", kMeshInterface, setting, value);
  do_system(command);
  free(command);
}

// Merges the driver's list into "AccessControlList3" and gives the result
// to the mesh interface, then wakes the sync server.
void update_mesh_acl() {
  console_print("update acl\n\n");
  config_acl(kMeshInterface, 3, RTDEV_NVRAM);
  pause_seconds(1);
  const char *acl = nvram_bufget(RTDEV_NVRAM, "AccessControlList3");
  iwpriv_set("SmartLinkUpdate=40", "");
  if (acl[0] != '\0') iwpriv_set("SmartLinkUpdate=5", mesh_get_acl(acl));
  iwpriv_set("touchlink=0", "");
  pause_seconds(1);
  do_system("killall -SIGUSR1 sync_server&");
}

// A pid below 2 would signal a process group or init: never sent. A pid
// file without a number gives no pid to signal either.
void notify_monitor() {
  int pid = 0;
  int read = read_monitor_pid(&pid);
  if (read != 1) {
    console_print("%s: application is not running\n\n", "send_signal");
    return;
  }
  if (pid < 2) {
    console_print("%s: application pid(%d) <= 1\n\n", "send_signal", pid);
    return;
  }
  console_print("notify monitor to update status..\n\n");
  kill(pid, SIGHUP);
}

}  // namespace

extern "C" void send_signal(void) {
  const char *model = nvram_bufget(RT2860_NVRAM, "Model");
  if (strcmp(mesh_mode, "1") == 0) {
    if (strcmp(model, "KQ718D3") == 0) {
      do_system(kPairingOver);
    } else {
      update_mesh_acl();
    }
  } else if (strcmp(mesh_mode, "2") == 0) {
    do_system(kPairingOver);
  }
  set_led(kPairingLed, LED_MODE_DARK);
  notify_monitor();
}
