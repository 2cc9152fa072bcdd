// configAP: applies the credentials a WPS session delivered for one
// interface, commits all three configuration sets and reboots the router;
// plus the security names and record fields both paths share.
#include "credentials.h"

#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <initializer_list>

#include "boardutil/shell.h"
#include "boardutil/console.h"
#include "buttond.h"
#include "nvram.h"

namespace buttond {

const AuthName &auth_name(unsigned bits) {
  for (const AuthName &name : kAuthNames) {
    if (name.bits == bits) return name;
  }
  return kOpenAuth;
}

const EncrName *wpa_encryption(unsigned bits) {
  for (const EncrName &name : kWpaEncrNames) {
    if (name.bits == bits) return &name;
  }
  return nullptr;
}

const char *wep_key_type(size_t length) { return length == 10 || length == 26 ? "0" : "1"; }

unsigned record_u16(const unsigned char *field) { return field[0] | field[1] << 8; }

}  // namespace buttond

namespace {

bool is_any_of(const char *ifname, std::initializer_list<const char *> names) {
  for (const char *name : names) {
    if (strcmp(ifname, name) == 0) return true;
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
