// /run/sim before the program starts: every log exists and is empty, and
// the control library lays out the fake drivers' state under /run/sim/hw/.
#include "sim/sandbox/sim_state.h"

#include "sim/fakehwctl/control.h"
#include "sim/sandbox/console.h"
#include "sim/sandbox/fs_steps.h"
#include "sim/sandbox/setup_error.h"

namespace sandbox {

void prepare_sim_state(unsigned time_divisor) {
  make_directories("/run/sim");
  for (const char *log : {kConsoleLog, "/run/sim/commands.log", "/run/sim/requests.log"}) {
    make_empty_file(log);
  }
  if (const fakehwctl::Result done = fakehwctl::init_state(time_divisor); !done) {
    setup_failed("fake hardware state: %s", done.error.c_str());
  }
}

}  // namespace sandbox
