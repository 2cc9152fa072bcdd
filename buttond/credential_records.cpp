// Decoding of the two driver records configAP applies: the first credential
// of an access point's WPS profile and the upstream client's configured
// value.
#include "buttond/credential_records.h"

#include <algorithm>

#include "buttond/credentials.h"

namespace buttond {

ApCredential decode_ap_credential(const unsigned char *credential) {
  ApCredential c{};
  record_text(credential + WSC_CRED_SSID, WSC_CRED_SSID_SIZE, c.ssid);
  c.auth = record_u16(credential + WSC_CRED_AUTH_TYPE);
  c.encr = record_u16(credential + WSC_CRED_ENCR_TYPE);
  c.key_index = credential[WSC_CRED_KEY_INDEX];
  c.key_len = std::min<size_t>(record_u16(credential + WSC_CRED_KEY_LEN), WSC_CRED_KEY_SIZE);
  record_text(credential + WSC_CRED_KEY, c.encr == kEncrWep ? WSC_CRED_KEY_SIZE : c.key_len, c.key);
  return c;
}

UpstreamCredential decode_configured_value(const unsigned char *record) {
  UpstreamCredential c{};
  record_text(record + WSC_CV_SSID, WSC_CV_SSID_SIZE, c.ssid);
  c.auth = record_u16(record + WSC_CV_AUTH_MODE);
  c.encr = record_u16(record + WSC_CV_ENCRYP_TYPE);
  c.key_index = record[WSC_CV_KEY_IDX];
  record_text(record + WSC_CV_KEY, WSC_CV_KEY_SIZE, c.key);
  c.ssid_len = record[WSC_CV_SSID_LEN];
  return c;
}

}  // namespace buttond
