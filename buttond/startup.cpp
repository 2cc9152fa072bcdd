// Start-up of buttond: the mesh mode for the pairing handler, the pid file,
// the signal discipline of the WPS poll, then the button monitor for life.
#include <signal.h>

#include "boardutil/pause.h"
#include "boardutil/pidfile.h"
#include "buttond/buttond.h"
#include "nvram.h"

extern "C" {
const char *mesh_mode = "";
}

namespace {
constexpr const char kPidFile[] = "/var/run/buttond.pid";
}

extern "C" int buttond_main(void) {
  mesh_mode = nvram_bufget(RT2860_NVRAM, "MeshMode");
  // The WPS poll runs as the SIGALRM handler and prints, allocates and starts
  // shells; it may only run while the main flow pauses, never inside the C
  // library calls of the main flow.
  pause_block_signal(SIGALRM);
  pidfile_write_release(pidfile_acquire(kPidFile));
  check_gpio();
  return 0;
}
