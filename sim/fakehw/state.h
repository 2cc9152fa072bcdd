// The fake drivers' shared switches as this process sees them: the mapped
// state file, or the defaults while it does not exist.
#ifndef SIM_FAKEHW_STATE_H
#define SIM_FAKEHW_STATE_H

#include <cstdint>

#include "sim/fakehw/hw_state.h"

namespace fakehw {

// The mapped state, or nullptr while /run/sim/hw/state is absent or not
// initialised (tried again at the next call).
HwState *shared_state();

uint32_t time_divisor();  // at least 1
bool logging_on();

}  // namespace fakehw

#endif
