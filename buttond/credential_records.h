// Decoding of the two driver records configAP applies: the first credential
// of an access point's WPS profile and the upstream client's configured
// value, into NUL-terminated texts and numbers.
#ifndef BUTTOND_CREDENTIAL_RECORDS_H
#define BUTTOND_CREDENTIAL_RECORDS_H

#include <stddef.h>

#include "boardutil/wireless_abi.h"

namespace buttond {

struct ApCredential {
  char ssid[sizeof wsc_credential::Ssid + 1];
  unsigned auth, encr, key_index;
  size_t key_len;  // the record's key length, at most sizeof wsc_credential::Key
  // A WEP key is the whole key field up to its first NUL; any other key is
  // cut to the record's key length.
  char key[sizeof wsc_credential::Key + 1];
};

struct UpstreamCredential {
  char ssid[sizeof WSC_CONFIGURED_VALUE::WscSsid + 1];
  unsigned auth, encr, key_index, ssid_len;
  char key[sizeof WSC_CONFIGURED_VALUE::WscKey + 1];
};

// credential: the bytes of a wsc_credential.
ApCredential decode_ap_credential(const unsigned char *credential);
// record: the bytes of a WSC_CONFIGURED_VALUE.
UpstreamCredential decode_configured_value(const unsigned char *record);

}  // namespace buttond

#endif
