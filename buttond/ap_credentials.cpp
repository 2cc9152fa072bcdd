// The access-point path of configAP: the first credential of an access
// point's WPS profile becomes slot n of its configuration set.
#include <algorithm>

#include "boardutil/console.h"
#include "boardutil/list_values.h"
#include "boardutil/wireless.h"
#include "buttond/credential_records.h"
#include "buttond/credentials.h"
#include "nvram.h"

namespace {

constexpr int kSlots = 8;

bool all_zero(const unsigned char *bytes, size_t size) {
  return std::all_of(bytes, bytes + size, [](unsigned char b) { return b == 0; });
}

}  // namespace

namespace buttond {

// The record is cleared before the query: a credential the driver left all
// zero was not filled, and nothing of it is applied.
bool apply_ap_profile(const char *ifname, int n, int index) {
  if (n < 0 || n >= kSlots) {
    console_print("__configAP__ %s: slot %d is no access-point slot, nothing applied\n\n", ifname,
                  n);
    return false;
  }
  wsc_profile profile{};
  getWscProfile(ifname, &profile);
  const auto *credential = reinterpret_cast<const unsigned char *>(&profile.Profile[0]);
  if (all_zero(credential, sizeof profile.Profile[0])) {
    console_print("__configAP__ %s: the driver gave no WPS profile, nothing applied\n\n", ifname);
    return false;
  }
  ApCredential c = decode_ap_credential(credential);
  int k = n + 1;

  nvram_init(index);
  set_nth_value_flash(index, n, "WscConfStatus", "2");
  nvram_bufset(index, racat("SSID", k), c.ssid);
  nvram_bufset(index, racat("WscSSID", k), c.ssid);
  set_nth_value_flash(index, n, "AuthMode", auth_name(c.auth).ap);
  console_print("wsc_profile->Profile[0].EncrType:%d\n", c.encr);

  if (c.encr == kEncrWep) {
    set_nth_value_flash(index, n, "EncrypType", "WEP");
    for (const char *type : kWepKeyTypes) {
      set_nth_value_flash(index, n, type, wep_key_type(c.key_len));
    }
    if (c.key_index >= 1 && c.key_index <= kWepKeyStrs.size()) {
      nvram_bufset(index, racat(kWepKeyStrs[c.key_index - 1], k), c.key);
      set_nth_value_flash(index, n, "DefaultKeyID", kWepKeyIds[c.key_index - 1]);
    }
  } else if (const SecurityName *wpa = wpa_encryption(c.encr)) {
    set_nth_value_flash(index, n, "EncrypType", wpa->ap);
    set_nth_value_flash(index, n, "DefaultKeyID", "2");
    nvram_bufset(index, racat("WPAPSK", k), c.key);
  } else {
    set_nth_value_flash(index, n, "EncrypType", "NONE");
    set_nth_value_flash(index, n, "DefaultKeyID", "1");
  }
  // A WPA-PSK/TKIP profile is offered as WPA-PSK and WPA2-PSK with TKIP and AES.
  if (c.auth == kAuthWpaPsk && c.encr == kEncrTkip) {
    set_nth_value_flash(index, n, "AuthMode", "WPAPSKWPA2PSK");
    set_nth_value_flash(index, n, "EncrypType", "TKIPAES");
  }
  set_nth_value_flash(index, n, "IEEE8021X", "0");
  nvram_commit(index);
  nvram_close(index);
  return true;
}

}  // namespace buttond
