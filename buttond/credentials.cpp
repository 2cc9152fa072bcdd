// configAP: applies the credentials a WPS session delivered for one
// interface, commits all three configuration sets and reboots the router;
// plus the security names and record fields both paths share.
#include "buttond/credentials.h"

#include <unistd.h>

#include <initializer_list>

#include "boardutil/console.h"
#include "boardutil/shell.h"
#include "boardutil/text.h"
#include "buttond/buttond.h"
#include "nvram.h"

namespace buttond {
namespace {

template <size_t N>
const SecurityName *find_name(const std::array<SecurityName, N> &names, unsigned bits) {
  for (const SecurityName &name : names) {
    if (name.bits == bits) return &name;
  }
  return nullptr;
}

}  // namespace

const SecurityName &auth_name(unsigned bits) {
  const SecurityName *name = find_name(kAuthNames, bits);
  return name != nullptr ? *name : kOpenAuth;
}

const SecurityName *wpa_encryption(unsigned bits) { return find_name(kWpaEncrNames, bits); }

const char *wep_key_type(size_t length) { return length == 10 || length == 26 ? "0" : "1"; }

unsigned record_u16(const unsigned char *field) { return field[0] | field[1] << 8; }

}  // namespace buttond

namespace {

bool is_any_of(const char *ifname, std::initializer_list<const char *> names) {
  for (const char *name : names) {
    if (boardutil::text_is(ifname, name)) return true;
  }
  return false;
}

}  // namespace

// A call whose credentials could not be applied ends without commit and
// without reboot: the router keeps the configuration it runs with.
extern "C" void configAP(const char *ifname, int n, int index) {
  console_print("__%s__ ifname = %s\n\n", "configAP", ifname);
  bool applied = true;
  if (is_any_of(ifname, {"ra0", "rai0", "rax0"})) {
    applied = buttond::apply_ap_profile(ifname, n, index);
  } else if (is_any_of(ifname, {"apcli0", "apclii0"})) {
    applied = buttond::apply_upstream_credentials(ifname, index);
  }
  if (!applied) return;
  nvram_commit(RT2860_NVRAM);
  nvram_commit(RTDEV_NVRAM);
  nvram_commit(WIFI3_NVRAM);
  console_print("configAP end\n\n\n");
  sleep(2);
  shell_run("reboot");
}
