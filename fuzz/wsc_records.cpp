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
std::string_view field_text(const unsigned char *field, size_t size) {
  const char *text = reinterpret_cast<const char *>(field);
  return {text, strnlen(text, size)};
}

unsigned u16(const unsigned char *field) { return field[0] | field[1] << 8; }

bool known_auth(const char *name) {
  if (strcmp(name, buttond::kOpenAuth.ap) == 0) return true;
  return std::any_of(
      buttond::kAuthNames.begin(), buttond::kAuthNames.end(),
      [name](const buttond::SecurityName &auth) { return strcmp(auth.ap, name) == 0; });
}

void check_ap_credential(const unsigned char *credential) {
  buttond::ApCredential c = buttond::decode_ap_credential(credential);
  FUZZ_CHECK(std::string_view(c.ssid) ==
             field_text(credential + WSC_CRED_SSID, WSC_CRED_SSID_SIZE));
  FUZZ_CHECK(c.auth == u16(credential + WSC_CRED_AUTH_TYPE));
  FUZZ_CHECK(c.encr == u16(credential + WSC_CRED_ENCR_TYPE));
  FUZZ_CHECK(c.key_len <= WSC_CRED_KEY_SIZE);
  size_t key_field = c.encr == buttond::kEncrWep ? WSC_CRED_KEY_SIZE : c.key_len;
  FUZZ_CHECK(std::string_view(c.key) == field_text(credential + WSC_CRED_KEY, key_field));
  FUZZ_CHECK(known_auth(buttond::auth_name(c.auth).ap));
  const buttond::SecurityName *wpa = buttond::wpa_encryption(c.encr);
  FUZZ_CHECK(wpa == nullptr || wpa->bits == c.encr);
}

void check_configured_value(const unsigned char *record) {
  buttond::UpstreamCredential c = buttond::decode_configured_value(record);
  FUZZ_CHECK(std::string_view(c.ssid) == field_text(record + WSC_CV_SSID, WSC_CV_SSID_SIZE));
  FUZZ_CHECK(std::string_view(c.key) == field_text(record + WSC_CV_KEY, WSC_CV_KEY_SIZE));
  FUZZ_CHECK(c.auth == u16(record + WSC_CV_AUTH_MODE));
  FUZZ_CHECK(c.encr == u16(record + WSC_CV_ENCRYP_TYPE));
  FUZZ_CHECK(c.key_index == record[WSC_CV_KEY_IDX] && c.ssid_len == record[WSC_CV_SSID_LEN]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // Each record is read from a buffer of exactly its size, as the driver
  // fills it; a short input is padded with zeros, as a cleared record is.
  unsigned char credential[WSC_CREDENTIAL_SIZE] = {};
  memcpy(credential, data, std::min<size_t>(size, sizeof credential));
  check_ap_credential(credential);
  unsigned char record[WSC_CONFIGURED_VALUE_SIZE] = {};
  memcpy(record, data, std::min<size_t>(size, sizeof record));
  check_configured_value(record);
  return 0;
}
