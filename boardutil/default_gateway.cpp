// The default gateway from the kernel's routing table (/proc/net/route), as
// dotted-quad text in a static buffer that every call overwrites.
#include "boardutil/default_gateway.h"

#include <arpa/inet.h>
#include <net/route.h>
#include <stdio.h>
#include <string.h>

#include "boardutil/console.h"

namespace {

constexpr const char kRouteTable[] = "/proc/net/route";
// Room for the longest dotted quad and its terminator.
char route_gateway_text[16];

// An address is the 32-bit word the kernel prints; a wider field read on a
// 64-bit host is cut to it, so a field whose low word is 0 is no address.
in_addr_t address_word(unsigned long field) { return static_cast<in_addr_t>(field); }

void set_gateway_text(in_addr_t gateway) {
  route_gateway_text[0] = '\0';
  if (gateway == 0) return;
  in_addr address{};
  address.s_addr = gateway;
  inet_ntop(AF_INET, &address, route_gateway_text, sizeof route_gateway_text);
}

}  // namespace

extern "C" char *gateway_from_route_table(FILE *routes) {
  char line[256];
  if (fgets(line, sizeof line, routes) == nullptr) return nullptr;  // column header
  while (fgets(line, sizeof line, routes) != nullptr) {
    // The interface name runs up to the first tab or blank; the fields follow.
    size_t name_end = strcspn(line, "\t ");
    unsigned long destination = 0, gateway = 0, mask = 0;
    unsigned flags = 0;
    int references = 0, use = 0, metric = 0;
    if (line[name_end] == '\0' || sscanf(line + name_end + 1, "%lx%lx%X%d%d%d%lx", &destination,
                                         &gateway, &flags, &references, &use, &metric, &mask) < 7) {
      printf("format error");
      return nullptr;
    }
    if ((flags & RTF_UP) == 0) continue;
    set_gateway_text(address_word(gateway));
    if (address_word(destination) == 0) {
      console_debug("%s\n\n", route_gateway_text);
      return route_gateway_text;
    }
  }
  return nullptr;
}

extern "C" char *GetGateway(void) {
  FILE *routes = fopen(kRouteTable, "re");
  if (routes == nullptr) return nullptr;
  char *gateway = gateway_from_route_table(routes);
  fclose(routes);
  return gateway;
}
