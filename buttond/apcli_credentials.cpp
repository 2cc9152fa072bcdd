// The upstream-client path of configAP: the credentials an upstream client
// received become its own settings, the security and a derived name of the
// router's first access point on both radios, and the router turns repeater.
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <array>

#include "boardutil/console.h"
#include "boardutil/list_values.h"
#include "boardutil/wireless.h"
#include "boardutil/wireless_internal.h"
#include "buttond/buttond.h"
#include "buttond/credential_records.h"
#include "buttond/credentials.h"
#include "buttond/radios.h"
#include "nvram.h"

namespace {

constexpr std::array kRadioSets = {RT2860_NVRAM, RTDEV_NVRAM};
constexpr int kBssidAttempts = 7;
constexpr unsigned kBssidPauseSeconds = 2;

// Element 0 (the router's first access point) of a list key, in both sets.
void set_first_ap(const char *key, const char *value) {
  for (int set : kRadioSets) set_nth_value_flash(set, 0, key, value);
}

using Credentials = buttond::UpstreamCredential;

// The passphrase keys ("WPAPSK1", "KeyNStr1") are whole values of slot 1,
// written whole: a key may itself contain ';'.
void apply_wpa(const Credentials &c, const buttond::SecurityName &wpa, int index) {
  for (int set : kRadioSets) {
    set_nth_value_flash(set, 0, "EncrypType", wpa.ap);
    set_nth_value_flash(set, 0, "DefaultKeyID", "2");
    nvram_bufset(set, "WPAPSK1", c.key);
  }
  nvram_bufset(index, "ApCliEncrypType", wpa.apcli);
  nvram_bufset(index, "ApCliWPAPSK", c.key);
}

// WEP goes into element 0 of "EncrypType" of both radios, like every other
// encryption, so the other access-point slots keep theirs.
void apply_wep(const Credentials &c, int index) {
  set_first_ap("EncrypType", "WEP");
  const char *type = buttond::wep_key_type(strlen(c.key));
  for (int set : kRadioSets) {
    for (const char *key_type : buttond::kWepKeyTypes) set_nth_value_flash(set, 0, key_type, type);
  }
  if (c.key_index >= 1 && c.key_index <= buttond::kWepKeyStrs.size()) {
    for (int set : kRadioSets) {
      nvram_bufset(set, racat(buttond::kWepKeyStrs[c.key_index - 1], 1), c.key);
      set_nth_value_flash(set, 0, "DefaultKeyID", buttond::kWepKeyIds[c.key_index - 1]);
    }
  }
  nvram_bufset(index, "ApCliEncrypType", "WEP");
  nvram_bufset(index, "ApCliDefaultKeyID", "1");
  nvram_bufset(index, "ApCliKey1", c.key);
}

void apply_encryption(const Credentials &c, int index) {
  if (c.encr == buttond::kEncrWep) {
    apply_wep(c, index);
  } else if (const buttond::SecurityName *wpa = buttond::wpa_encryption(c.encr)) {
    apply_wpa(c, *wpa, index);
  } else {
    set_first_ap("EncrypType", "NONE");
    set_first_ap("DefaultKeyID", "1");
    nvram_bufset(index, "ApCliEncrypType", "NONE");
  }
}

// The first access point of one radio takes the upstream name plus a
// suffix, when the result stays within 32 characters.
struct DerivedName {
  const buttond::Radio *radio;
  const char *format;
  unsigned below;  // upstream name lengths that fit
};
constexpr DerivedName k24gName = {&buttond::kRadio24g, "%s_EXT2.4G", 25};
constexpr DerivedName k5gName = {&buttond::kRadio5g, "%s_EXT5G", 27};

void apply_name(const DerivedName &name, const Credentials &c) {
  char text[65] = {};
  console_print("__%s__ %s result->WscSsidLen %d\n\n", "configAP", name.radio->label, c.ssid_len);
  if (c.ssid_len < name.below) {
    snprintf(text, sizeof text, name.format, c.ssid);
    nvram_bufset(name.radio->set, "SSID1", text);
  }
}

// Own radio first; the other radio's upstream client is switched off.
void apply_names(int own_set, const Credentials &c) {
  const DerivedName &own = own_set == RT2860_NVRAM ? k24gName : k5gName;
  const DerivedName &other = own_set == RT2860_NVRAM ? k5gName : k24gName;
  apply_name(own, c);
  nvram_bufset(other.radio->set, "ApCliEnable", "0");
  apply_name(other, c);
}

void apply_bssid(const char *ifname, int own_set) {
  for (int attempt = 0; attempt < kBssidAttempts; ++attempt) {
    sleep(kBssidPauseSeconds);
    if (getApcliMac(ifname) == 1) return;
  }
  nvram_bufset(own_set, "ApCliBssid", "");
}

}  // namespace

namespace buttond {

// The driver writes the record over the request text at its start: a
// record that still begins with it was not filled, and nothing is applied.
bool apply_upstream_credentials(const char *ifname, int index) {
  unsigned char record[WSC_CONFIGURED_VALUE_SIZE] = {};
  getCurrentWscProfile(ifname, record, sizeof record);
  if (memcmp(record, boardutil::kWscProfileRequest, boardutil::kWscProfileRequestSize) == 0) {
    console_print("__configAP__ %s: the driver gave no credentials, nothing applied\n\n", ifname);
    return false;
  }
  Credentials c = decode_configured_value(record);
  console_print("__%s__ result->WscAuthMode %d\n\n", "configAP", c.auth);
  console_print("__%s__ result->WscEncrypType %d\n\n", "configAP", c.encr);
  console_print("__%s__ result->WscSsid %s\n\n", "configAP", c.ssid);
  const Radio *own_radio = radio_of_apcli(ifname);
  int own_set = own_radio != nullptr ? own_radio->set : RTDEV_NVRAM;

  const SecurityName &auth = auth_name(c.auth);
  set_first_ap("AuthMode", auth.ap);
  nvram_bufset(index, "ApCliAuthMode", auth.apcli);
  apply_encryption(c, index);
  if (c.auth == kAuthWpaPsk && c.encr == kEncrTkip) {
    for (int set : kRadioSets) {
      set_nth_value_flash(set, 0, "AuthMode", "WPAPSKWPA2PSK");
      set_nth_value_flash(set, 0, "EncrypType", "TKIPAES");
    }
  }
  nvram_bufset(index, "ApCliSsid", c.ssid);
  nvram_bufset(index, "ApCliEnable", "1");
  apply_names(own_set, c);
  setWpsChannel(ifname);
  apply_bssid(ifname, own_set);
  nvram_bufset(RT2860_NVRAM, "OperationMode", "3");
  nvram_bufset(RT2860_NVRAM, "ENWISP", "1");
  nvram_bufset(RT2860_NVRAM, "dhcpEnabled", "2");
  nvram_bufset(RT2860_NVRAM, "natEnabled", "1");
  return true;
}

}  // namespace buttond
