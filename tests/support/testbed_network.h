// The default network of the sandbox, brought back by reset() (internal to
// the test support library).
#ifndef TESTS_SUPPORT_TESTBED_NETWORK_H
#define TESTS_SUPPORT_TESTBED_NETWORK_H

namespace testbed {

// Every router interface present with its MAC and up, wan0 up, no default route.
void restore_network();

}  // namespace testbed

#endif
