// The control side's mapping of /run/sim/hw/state (internal to the control
// library): mapped once per process, created with the defaults if absent.
#ifndef SIM_CONTROL_STATE_FILE_H
#define SIM_CONTROL_STATE_FILE_H

#include "control/hw_state.h"
#include "control/result.h"

namespace fakehw {

// The mapped state; creates and initialises it at real time if absent.
Result mapped_state(HwState *&state);

// The defaults with the given time divisor, written in place.
void write_defaults(HwState &state, unsigned time_divisor);

}  // namespace fakehw

#endif
