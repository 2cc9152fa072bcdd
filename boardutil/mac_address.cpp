// MAC addresses of interfaces (SIOCGIFHWADDR) in the three forms the system
// uses: 12 hexadecimal digits, the colon form, and the raw six bytes.
#include "boardutil/mac_address.h"

#include <net/if.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <array>

#include "runtime/unique_fd.h"

namespace {

using Mac = std::array<unsigned char, 6>;

// The shared result of every MAC function that failed: the empty text, and
// six zero bytes for a caller of the raw form, which reads six.
constexpr char kEmpty[6] = {};

// Reads the hardware address of ifname; failures are reported on standard
// error under the calling function's name, a failed request once its
// socket is closed.
bool read_hwaddr(const char *function, const char *ifname, Mac &mac) {
  ifreq request{};
  int result = -1;
  {
    routerd::unique_fd sock(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!sock.valid()) {
      fprintf(stderr, "%s: open socket error\n", function);
      return false;
    }
    strncpy(request.ifr_name, ifname, sizeof request.ifr_name - 1);
    result = ioctl(sock.get(), SIOCGIFHWADDR, &request);
  }
  if (result < 0) {
    fprintf(stderr, "%s: ioctl fail\n", function);
    return false;
  }
  memcpy(mac.data(), request.ifr_hwaddr.sa_data, mac.size());
  return true;
}

// Formats the address of ifname into the function's own buffer.
template <size_t N>
const char *format_mac(const char *function, const char *ifname, const char *format,
                       char (&text)[N]) {
  Mac mac{};
  if (!read_hwaddr(function, ifname, mac)) return kEmpty;
  snprintf(text, N, format, mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
  return text;
}

}  // namespace

extern "C" const char *get_mac_addr(const char *ifname) {
  static char text[13];
  return format_mac("get_mac_addr", ifname, "%02X%02X%02X%02X%02X%02X", text);
}

extern "C" const char *get_mac_addr_with_colon(const char *ifname) {
  static char text[18];
  return format_mac("get_mac_addr_with_colon", ifname, "%02X:%02X:%02X:%02X:%02X:%02X", text);
}

extern "C" const unsigned char *get_mac_addr_hex(const char *ifname) {
  static Mac raw;
  Mac mac{};
  if (!read_hwaddr("get_mac_addr_hex", ifname, mac)) {
    return reinterpret_cast<const unsigned char *>(kEmpty);
  }
  raw = mac;
  return raw.data();
}
