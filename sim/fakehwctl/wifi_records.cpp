// Encodes the wireless driver's records for the fake driver to answer with,
// refusing values that do not fit their fields.
#include "sim/fakehwctl/wifi_records.h"

#include <cstring>

#include "sim/fakehw/le_bytes.h"

namespace fakehwctl {

using fakehw::put_le16;
using fakehw::put_le32;

namespace {

static_assert(WSC_CRED_KEY_INDEX + 1 + 3 == WSC_CREDENTIAL_SIZE);
static_assert(WSC_CRED_KEY + WSC_CRED_KEY_SIZE == WSC_CRED_KEY_LEN);
static_assert(WSC_PROFILE_CRED0 + 8 * WSC_CREDENTIAL_SIZE == WSC_PROFILE_SIZE);
static_assert(WSC_CV_SSID + WSC_CV_SSID_SIZE == WSC_CV_AUTH_MODE);
static_assert(WSC_CV_KEY + WSC_CV_KEY_SIZE == WSC_CV_SSID_LEN);
static_assert(WSC_CV_SSID_LEN + 2 == WSC_CONFIGURED_VALUE_SIZE);

// Checks value <= limit for the named field.
bool fits(const char *name, unsigned value, unsigned limit, Result &result) {
  if (value <= limit) return true;
  result = Result::fail(std::string(name) + " " + std::to_string(value) + " is above " +
                        std::to_string(limit));
  return false;
}

bool fits_text(const char *name, const std::string &text, size_t limit, Result &result) {
  if (text.size() <= limit) return true;
  result = Result::fail(std::string(name) + " is longer than " + std::to_string(limit) + " bytes");
  return false;
}

unsigned char *bytes(std::string &record) {
  return reinterpret_cast<unsigned char *>(record.data());
}

}  // namespace

Result encode_profile(const WscCredential &credential, std::string &record) {
  Result result;
  if (!fits_text("ssid", credential.ssid, WSC_CRED_SSID_SIZE, result) ||
      !fits_text("key", credential.key, WSC_CRED_KEY_SIZE, result) ||
      !fits("auth type", credential.auth_type, 0xffff, result) ||
      !fits("encryption type", credential.encr_type, 0xffff, result) ||
      !fits("key length", credential.key_len, 0xffff, result) ||
      !fits("key index", credential.key_index, 0xff, result)) {
    return result;
  }
  record.assign(WSC_PROFILE_SIZE, '\0');
  put_le32(bytes(record), 1);  // ProfileCnt; ApplyProfileIdx stays 0
  unsigned char *cred = bytes(record) + WSC_PROFILE_CRED0;
  put_le32(cred + WSC_CRED_SSID_LEN, static_cast<uint32_t>(credential.ssid.size()));
  memcpy(cred + WSC_CRED_SSID, credential.ssid.data(), credential.ssid.size());
  put_le16(cred + WSC_CRED_AUTH_TYPE, static_cast<uint16_t>(credential.auth_type));
  put_le16(cred + WSC_CRED_ENCR_TYPE, static_cast<uint16_t>(credential.encr_type));
  memcpy(cred + WSC_CRED_KEY, credential.key.data(), credential.key.size());
  put_le16(cred + WSC_CRED_KEY_LEN, static_cast<uint16_t>(credential.key_len));
  cred[WSC_CRED_KEY_INDEX] = static_cast<unsigned char>(credential.key_index);
  return result;
}

Result encode_configured_value(const WscConfiguredValue &value, std::string &record) {
  Result result;
  if (!fits_text("ssid", value.ssid, WSC_CV_SSID_SIZE - 1, result) ||
      !fits_text("key", value.key, WSC_CV_KEY_SIZE - 1, result) ||
      !fits("state", value.state, 0xffff, result) ||
      !fits("auth mode", value.auth_mode, 0xffff, result) ||
      !fits("encryption type", value.encryp_type, 0xffff, result) ||
      !fits("key index", value.key_index, 0xff, result) ||
      !fits("ssid length", value.ssid_len, 0xff, result)) {
    return result;
  }
  record.assign(WSC_CONFIGURED_VALUE_SIZE, '\0');
  unsigned char *cv = bytes(record);
  put_le16(cv + WSC_CV_STATE, static_cast<uint16_t>(value.state));
  memcpy(cv + WSC_CV_SSID, value.ssid.data(), value.ssid.size());
  put_le16(cv + WSC_CV_AUTH_MODE, static_cast<uint16_t>(value.auth_mode));
  put_le16(cv + WSC_CV_ENCRYP_TYPE, static_cast<uint16_t>(value.encryp_type));
  cv[WSC_CV_KEY_IDX] = static_cast<unsigned char>(value.key_index);
  memcpy(cv + WSC_CV_KEY, value.key.data(), value.key.size());
  cv[WSC_CV_SSID_LEN] = static_cast<unsigned char>(value.ssid_len);
  return result;
}

}  // namespace fakehwctl
