// The sandbox's network: loopback, the router's interfaces, and a WAN link
// to a gateway that answers ping (sim/README.md lists names and addresses).
#ifndef SIM_SANDBOX_NETWORK_H
#define SIM_SANDBOX_NETWORK_H

namespace sandbox {

// Sets up the new network namespace; needs the sandbox's own /run.
void build_network();

}  // namespace sandbox

#endif
