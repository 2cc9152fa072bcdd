// Ends the test program with the reason when a simulator control call is
// refused: a test that scripts impossible hardware is itself wrong.
#ifndef TESTS_SUPPORT_SIM_CHECK_H
#define TESTS_SUPPORT_SIM_CHECK_H

#include "control/result.h"

namespace sim {

void check(const fakehw::Result &result, const char *call);

}  // namespace sim

#endif
