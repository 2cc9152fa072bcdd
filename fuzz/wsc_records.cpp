// Fuzzes the decoding of the two records configAP applies: the first
// credential of a WPS profile and the upstream client's configured value.
// The texts must be terminated within their fields, hold no more than the
// record gave, and the security names must come from the known tables.
#include <string.h>

#include <algorithm>
#include <string_view>

#include "buttond/credential_records.h"
#include "buttond/credentials.h"
#include "fuzz/fuzz_check.h"

namespace {

// The text of a field: its bytes up to the first NUL.
std::string_view field_text(const char *field, size_t size) {
  return {field, strnlen(field, size)};
}

bool known_auth(const char *name) {
  if (strcmp(name, buttond::kOpenAuth.ap) == 0) return true;
  return std::any_of(
      buttond::kAuthNames.begin(), buttond::kAuthNames.end(),
      [name](const buttond::SecurityName &auth) { return strcmp(auth.ap, name) == 0; });
}

// The decoding must agree with the record read through its C type (both
// targets are little-endian).
void check_ap_credential(const unsigned char *bytes) {
  buttond::ApCredential c = buttond::decode_ap_credential(bytes);
  wsc_credential credential;
  memcpy(&credential, bytes, sizeof credential);
  FUZZ_CHECK(std::string_view(c.ssid) == field_text(credential.Ssid, sizeof credential.Ssid));
  FUZZ_CHECK(c.auth == credential.AuthType && c.encr == credential.EncrType);
  FUZZ_CHECK(c.key_len <= sizeof credential.Key);
  size_t key_field = c.encr == buttond::kEncrWep ? sizeof credential.Key : c.key_len;
  FUZZ_CHECK(std::string_view(c.key) == field_text(credential.Key, key_field));
  FUZZ_CHECK(known_auth(buttond::auth_name(c.auth).ap));
  const buttond::SecurityName *wpa = buttond::wpa_encryption(c.encr);
  FUZZ_CHECK(wpa == nullptr || wpa->bits == c.encr);
}

void check_configured_value(const unsigned char *bytes) {
  buttond::UpstreamCredential c = buttond::decode_configured_value(bytes);
  WSC_CONFIGURED_VALUE value;
  memcpy(&value, bytes, sizeof value);
  FUZZ_CHECK(std::string_view(c.ssid) == field_text(value.WscSsid, sizeof value.WscSsid));
  FUZZ_CHECK(std::string_view(c.key) == field_text(value.WscKey, sizeof value.WscKey));
  FUZZ_CHECK(c.auth == value.WscAuthMode && c.encr == value.WscEncrypType);
  FUZZ_CHECK(c.key_index == value.WscKeyIdx && c.ssid_len == value.WscSsidLen);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // Each record is read from a buffer of exactly its size, as the driver
  // fills it; a short input is padded with zeros, as a cleared record is.
  unsigned char credential[sizeof(wsc_credential)] = {};
  memcpy(credential, data, std::min<size_t>(size, sizeof credential));
  check_ap_credential(credential);
  unsigned char record[sizeof(WSC_CONFIGURED_VALUE)] = {};
  memcpy(record, data, std::min<size_t>(size, sizeof record));
  check_configured_value(record);
  return 0;
}
