// /run/sim before the program starts: every log exists and is empty, and
// the fake drivers' state is initialised by the control library.
#include "sim_state.h"

#include "console.h"
#include "fs_steps.h"

void prepare_sim_state(unsigned time_divisor) {
  make_directories("/run/sim/hw");
  for (const char *log : {kConsoleLog, "/run/sim/commands.log", "/run/sim/requests.log"})
    make_empty_file(log);
  // WIRE: the one call into the control library, once sim/control provides it:
  //   init_fake_hardware(time_divisor);
  (void)time_divisor;
}
