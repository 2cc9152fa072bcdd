// Ends the test program with the reason when a simulator control call is
// refused: a test that scripts impossible hardware is itself wrong.
#ifndef TESTS_SUPPORT_TESTBED_CHECK_H
#define TESTS_SUPPORT_TESTBED_CHECK_H

#include "sim/fakehwctl/result.h"

namespace testbed {

void check(const fakehwctl::Result &result, const char *call);

}  // namespace testbed

#endif
