// The simulator's run-time files under /run/sim: the empty logs the tests
// read and the fake drivers' state directory.
#ifndef SIM_SANDBOX_SIM_STATE_H
#define SIM_SANDBOX_SIM_STATE_H

namespace sandbox {

// Creates the empty logs and the fake hardware's state under /run/sim/hw/
// (sleeps and timers time_divisor times faster). Needs the sandbox's /run.
void prepare_sim_state(unsigned time_divisor);

}  // namespace sandbox

#endif
