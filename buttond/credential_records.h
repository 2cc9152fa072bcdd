// Decoding of the two driver records configAP applies: the first credential
// of an access point's WPS profile and the upstream client's configured
// value, into NUL-terminated texts and numbers.
#ifndef BUTTOND_CREDENTIAL_RECORDS_H
#define BUTTOND_CREDENTIAL_RECORDS_H

#include <stddef.h>

#include "boardutil/wireless_abi.h"

namespace buttond {

struct ApCredential {
  char ssid[WSC_CRED_SSID_SIZE + 1];
  unsigned auth, encr, key_index;
  size_t key_len;  // the record's key length, at most WSC_CRED_KEY_SIZE
  // A WEP key is the whole key field up to its first NUL; any other key is
  // cut to the record's key length.
  char key[WSC_CRED_KEY_SIZE + 1];
};

struct UpstreamCredential {
  char ssid[WSC_CV_SSID_SIZE + 1];
  unsigned auth, encr, key_index, ssid_len;
  char key[WSC_CV_KEY_SIZE + 1];
};

// credential: WSC_CREDENTIAL_SIZE bytes of a wsc_profile.
ApCredential decode_ap_credential(const unsigned char *credential);
// record: WSC_CONFIGURED_VALUE_SIZE bytes.
UpstreamCredential decode_configured_value(const unsigned char *record);

}  // namespace buttond

#endif
