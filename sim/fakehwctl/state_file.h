// The control side's mapping of /run/sim/hw/state (internal to the control
// library): mapped once per process, created with the defaults if absent.
#ifndef SIM_FAKEHWCTL_STATE_FILE_H
#define SIM_FAKEHWCTL_STATE_FILE_H

#include "sim/fakehw/hw_state.h"
#include "sim/fakehwctl/result.h"

namespace fakehwctl {

// The mapped state; creates and initialises it at real time if absent.
Result mapped_state(fakehw::HwState *&state);

// The defaults with the given time divisor, written in place.
void write_defaults(fakehw::HwState &state, unsigned time_divisor);

}  // namespace fakehwctl

#endif
