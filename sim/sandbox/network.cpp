// Network set up with ip(8). The router's interfaces are ifb links (this
// kernel has no dummy driver) created with their MACs; the gateway lives in
// a second namespace registered under the sandbox's /run, so it disappears
// with the sandbox's mount namespace.
#include "sim/sandbox/network.h"

#include <array>
#include <string>
#include <vector>

#include "sim/sandbox/process.h"
#include "sim/sandbox/setup_error.h"

namespace sandbox {

namespace {

struct RouterInterface {
  const char *name;
  const char *mac;
};

constexpr std::array<RouterInterface, 7> kRouterInterfaces = {{
    {"ra0", "02:00:00:00:00:10"},
    {"rai0", "02:00:00:00:00:20"},
    {"rax0", "02:00:00:00:00:30"},
    {"apcli0", "02:00:00:00:00:11"},
    {"apclii0", "02:00:00:00:00:21"},
    {"rai3", "02:00:00:00:00:23"},
    {"eth2", "02:00:00:00:00:02"},
}};

constexpr char kGatewayNamespace[] = "sim-gateway";
constexpr char kWanLink[] = "wan0";
constexpr char kGatewayLink[] = "gw0";
constexpr char kWanAddress[] = "192.168.77.2/24";
constexpr char kGatewayAddress[] = "192.168.77.1/24";

void run_or_fail(const std::vector<std::string> &argv) {
  const int status = run_command(argv);
  if (status == 0) return;
  std::string command;
  for (const std::string &arg : argv) command += (command.empty() ? "" : " ") + arg;
  setup_failed("network: \"%s\" exited with status %d", command.c_str(), status);
}

void ip(const std::vector<std::string> &args) {
  std::vector<std::string> argv = {"ip"};
  argv.insert(argv.end(), args.begin(), args.end());
  run_or_fail(argv);
}

// ip in the gateway's namespace. nsenter rather than "ip -n", which also
// remounts /sys and is refused inside a user namespace.
void gateway_ip(const std::vector<std::string> &args) {
  std::vector<std::string> argv = {"nsenter", std::string("--net=/run/netns/") + kGatewayNamespace,
                                   "ip"};
  argv.insert(argv.end(), args.begin(), args.end());
  run_or_fail(argv);
}

}  // namespace

void build_network() {
  ip({"link", "set", "lo", "up"});
  for (const RouterInterface &interface : kRouterInterfaces) {
    ip({"link", "add", interface.name, "address", interface.mac, "type", "ifb"});
    ip({"link", "set", interface.name, "up"});
  }
  ip({"netns", "add", kGatewayNamespace});
  ip({"link", "add", kWanLink, "type", "veth", "peer", "name", kGatewayLink, "netns",
      kGatewayNamespace});
  ip({"address", "add", kWanAddress, "dev", kWanLink});
  ip({"link", "set", kWanLink, "up"});
  gateway_ip({"link", "set", "lo", "up"});
  gateway_ip({"address", "add", kGatewayAddress, "dev", kGatewayLink});
  gateway_ip({"link", "set", kGatewayLink, "up"});
}

}  // namespace sandbox
