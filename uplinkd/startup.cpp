// Start-up of uplinkd (settings, SIGTERM handler, pid file, first /tmp/Link)
// and the SIGTERM handler that removes the pid file and ends the process.
#include <signal.h>
#include <stdlib.h>

#include "boardutil/console.h"
#include "boardutil/pause.h"
#include "boardutil/pidfile.h"
#include "nvram.h"
#include "uplinkd/uplinkd.h"

namespace {
constexpr const char kPidFile[] = "/var/run/uplinkd.pid";
}

// Prints, removes a file and exits: safe only because SIGTERM stays blocked
// except while the status loop pauses, never inside stdio or allocation.
extern "C" void remove_pid_Handler(int) {
  console_debug("%s:SIGTERM\n\n", "remove_pid_Handler");
  pidfile_delete(kPidFile);
  exit(0);
}

extern "C" int uplinkd_main(void) {
  ntp_enabled = nvram_bufget(RT2860_NVRAM, "ntpEnabled");
  operation_mode = nvram_bufget(RT2860_NVRAM, "OperationMode");
  mesh_mode = nvram_bufget(RT2860_NVRAM, "MeshMode");
  signal(SIGTERM, remove_pid_Handler);
  pause_block_signal(SIGTERM);
  pidfile_write_release(pidfile_acquire(kPidFile));
  publish_link_file();
  console_debug("%s\n\n", "update_internet");
  for (;;) status_cycle();
}
