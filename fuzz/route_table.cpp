// Fuzzes the reading of the kernel's routing table as GetGateway does it:
// whatever the stream holds, the answer is nothing, the empty text (a
// default route without gateway) or a dotted quad that is not 0.0.0.0.
#include <arpa/inet.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "boardutil/default_gateway.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;  // fmemopen refuses an empty buffer
  std::string bytes(reinterpret_cast<const char *>(data), size);
  FILE *routes = fmemopen(bytes.data(), bytes.size(), "r");
  if (routes == nullptr) return 0;
  const char *gateway = gateway_from_route_table(routes);
  fclose(routes);
  if (gateway == nullptr || gateway[0] == '\0') return 0;
  FUZZ_CHECK(strnlen(gateway, 16) < 16);
  in_addr address{};
  FUZZ_CHECK(inet_pton(AF_INET, gateway, &address) == 1);
  FUZZ_CHECK(address.s_addr != 0);
  return 0;
}
