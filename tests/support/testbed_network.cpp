// The sandbox's network as tests change it, through ip(8): router
// interfaces up, down, deleted or with another MAC, the default route, and
// the defaults reset() brings back.
#include "tests/support/testbed_network.h"

#include <cstdio>
#include <string>

#include "tests/support/testbed.h"

namespace testbed {
namespace {

struct RouterInterface {
  const char *name;
  const char *mac;
};
constexpr RouterInterface kRouterInterfaces[] = {
    {"ra0", "02:00:00:00:00:10"},     {"rai0", "02:00:00:00:00:20"},
    {"rax0", "02:00:00:00:00:30"},    {"apcli0", "02:00:00:00:00:11"},
    {"apclii0", "02:00:00:00:00:21"}, {"rai3", "02:00:00:00:00:23"},
    {"eth2", "02:00:00:00:00:02"},
};
constexpr char kWanLink[] = "wan0";

// Single quotes for the shell (names and MACs never hold one, but a test
// may pass anything).
std::string quoted(std::string_view text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

void run(const std::string &command, const char *call) {
  int status = sh(command);
  if (status != 0) {
    fprintf(stderr, "testbed::%s: \"%s\" exited with %d\n", call, command.c_str(), status);
  }
}

// Shell lines giving IF the MAC: ifb links take a MAC only when created, so
// one with another MAC is created anew (keeping its up/down state).
std::string give_mac(const std::string &ifname, std::string_view mac) {
  std::string i = quoted(ifname), m = quoted(mac);
  return "ip link set dev " + i + " address " + m + " 2>/dev/null || { " +
         "up=$(ip -o link show dev " + i + " | grep -c '[<,]UP[,>]'); " + "ip link del dev " + i +
         " && ip link add " + i + " address " + m + " type ifb && " +
         "{ [ \"$up\" = 0 ] || ip link set dev " + i + " up; }; }";
}

}  // namespace

void interface_up(const std::string &ifname, bool up) {
  run("ip link set dev " + quoted(ifname) + (up ? " up" : " down"), "interface_up");
}

void interface_delete(const std::string &ifname) {
  run("ip link del dev " + quoted(ifname), "interface_delete");
}

void set_mac(const std::string &ifname, std::string_view mac) {
  run(give_mac(ifname, mac), "set_mac");
}

void default_route(std::string_view gateway) {
  std::string target = gateway.empty() ? std::string("dev ") + kWanLink : "via " + quoted(gateway);
  run("ip route replace default " + target, "default_route");
}

void no_default_route() {
  run("while ip route del default 2>/dev/null; do :; done", "no_default_route");
}

void restore_network() {
  std::string script = "ip link set dev lo up; ip link set dev " + std::string(kWanLink) + " up; ";
  for (const RouterInterface &interface : kRouterInterfaces) {
    std::string i = quoted(interface.name), m = quoted(interface.mac);
    script += "ip link show dev " + i + " >/dev/null 2>&1 || ip link add " + i + " address " + m +
              " type ifb; ip -o link show dev " + i + " | grep -qi " + m + " || { " +
              give_mac(interface.name, interface.mac) + "; }; ip link set dev " + i + " up; ";
  }
  run(script, "reset");
  no_default_route();
}

}  // namespace testbed
