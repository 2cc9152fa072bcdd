// Whether a network interface is up (SIOCGIFFLAGS), retried for about ten
// seconds while the request fails, as when the interface does not exist.
#include "boardutil/interface_state.h"

#include <net/if.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include "boardutil/console.h"
#include "boardutil/pause.h"
#include "runtime/unique_fd.h"

namespace {
constexpr const char kName[] = "if_live";
constexpr int kAttempts = 10;
constexpr unsigned kRetryPauseSeconds = 1;
}  // namespace

// The retry pauses go through pause_seconds: in a daemon that keeps its
// handled signals blocked (uplinkd's SIGTERM), they are let in here too.
extern "C" int if_live(const char *ifname) {
  routerd::unique_fd sock(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (!sock.valid()) {
    console_debug("%s: open socket error\n\n", kName);
    return 0;
  }
  struct ifreq request;
  memset(&request, 0, sizeof request);
  // A name that does not fit would be cut to that of another interface.
  if (ifname == nullptr || strlen(ifname) >= sizeof request.ifr_name) {
    console_debug("%s: ioctl fail\n\n", kName);
    return 0;
  }
  memcpy(request.ifr_name, ifname, strlen(ifname));
  for (int attempt = 1;; ++attempt) {
    if (ioctl(sock.get(), SIOCGIFFLAGS, &request) >= 0) {
      if (request.ifr_flags & IFF_UP) {
        console_debug("%s: %s up\n\n", kName, ifname);
        return 1;
      }
      console_debug("%s: %s down\n\n", kName, ifname);
      return 0;
    }
    console_debug("%s: ioctl fail,retry\n\n", kName);
    if (attempt >= kAttempts) break;
    pause_seconds(kRetryPauseSeconds);
  }
  console_debug("%s: ioctl fail\n\n", kName);
  return 0;
}
