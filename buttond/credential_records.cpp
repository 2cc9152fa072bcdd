// Decoding of the two driver records configAP applies: the first credential
// of an access point's WPS profile and the upstream client's configured
// value, field by field from the record's bytes (little-endian).
#include "buttond/credential_records.h"

#include <stddef.h>

#include <algorithm>

#include "buttond/credentials.h"

namespace buttond {

ApCredential decode_ap_credential(const unsigned char *credential) {
  ApCredential c{};
  record_text(credential + offsetof(wsc_credential, Ssid), sizeof wsc_credential::Ssid, c.ssid);
  c.auth = record_u16(credential + offsetof(wsc_credential, AuthType));
  c.encr = record_u16(credential + offsetof(wsc_credential, EncrType));
  c.key_index = credential[offsetof(wsc_credential, KeyIndex)];
  c.key_len = std::min<size_t>(record_u16(credential + offsetof(wsc_credential, KeyLen)),
                               sizeof wsc_credential::Key);
  record_text(credential + offsetof(wsc_credential, Key),
              c.encr == kEncrWep ? sizeof wsc_credential::Key : c.key_len, c.key);
  return c;
}

UpstreamCredential decode_configured_value(const unsigned char *record) {
  UpstreamCredential c{};
  record_text(record + offsetof(WSC_CONFIGURED_VALUE, WscSsid),
              sizeof WSC_CONFIGURED_VALUE::WscSsid, c.ssid);
  c.auth = record_u16(record + offsetof(WSC_CONFIGURED_VALUE, WscAuthMode));
  c.encr = record_u16(record + offsetof(WSC_CONFIGURED_VALUE, WscEncrypType));
  c.key_index = record[offsetof(WSC_CONFIGURED_VALUE, WscKeyIdx)];
  record_text(record + offsetof(WSC_CONFIGURED_VALUE, WscKey), sizeof WSC_CONFIGURED_VALUE::WscKey,
              c.key);
  c.ssid_len = record[offsetof(WSC_CONFIGURED_VALUE, WscSsidLen)];
  return c;
}

}  // namespace buttond
