// Encodes the wireless driver's records for the fake driver to answer with,
// refusing values that do not fit their fields.
#include "sim/fakehwctl/wifi_records.h"

#include <cstring>

namespace fakehwctl {
namespace {

// Records are filled through their C types: the driver's fields are
// little-endian, as the simulator's hosts are.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__);

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

template <typename Record>
void assign(std::string &bytes, const Record &record) {
  bytes.assign(reinterpret_cast<const char *>(&record), sizeof record);
}

}  // namespace

Result encode_profile(const WscCredential &credential, std::string &record) {
  Result result;
  wsc_profile profile{};
  wsc_credential &cred = profile.Profile[0];
  if (!fits_text("ssid", credential.ssid, sizeof cred.Ssid, result) ||
      !fits_text("key", credential.key, sizeof cred.Key, result) ||
      !fits("auth type", credential.auth_type, 0xffff, result) ||
      !fits("encryption type", credential.encr_type, 0xffff, result) ||
      !fits("key length", credential.key_len, 0xffff, result) ||
      !fits("key index", credential.key_index, 0xff, result)) {
    return result;
  }
  profile.ProfileCnt = 1;  // ApplyProfileIdx stays 0
  cred.SsidLen = static_cast<uint32_t>(credential.ssid.size());
  memcpy(cred.Ssid, credential.ssid.data(), credential.ssid.size());
  cred.AuthType = static_cast<uint16_t>(credential.auth_type);
  cred.EncrType = static_cast<uint16_t>(credential.encr_type);
  memcpy(cred.Key, credential.key.data(), credential.key.size());
  cred.KeyLen = static_cast<uint16_t>(credential.key_len);
  cred.KeyIndex = static_cast<uint8_t>(credential.key_index);
  assign(record, profile);
  return result;
}

Result encode_configured_value(const WscConfiguredValue &value, std::string &record) {
  Result result;
  WSC_CONFIGURED_VALUE cv{};
  if (!fits_text("ssid", value.ssid, sizeof cv.WscSsid - 1, result) ||
      !fits_text("key", value.key, sizeof cv.WscKey - 1, result) ||
      !fits("state", value.state, 0xffff, result) ||
      !fits("auth mode", value.auth_mode, 0xffff, result) ||
      !fits("encryption type", value.encryp_type, 0xffff, result) ||
      !fits("key index", value.key_index, 0xff, result) ||
      !fits("ssid length", value.ssid_len, 0xff, result)) {
    return result;
  }
  cv.WscState = static_cast<uint16_t>(value.state);
  memcpy(cv.WscSsid, value.ssid.data(), value.ssid.size());
  cv.WscAuthMode = static_cast<uint16_t>(value.auth_mode);
  cv.WscEncrypType = static_cast<uint16_t>(value.encryp_type);
  cv.WscKeyIdx = static_cast<uint8_t>(value.key_index);
  memcpy(cv.WscKey, value.key.data(), value.key.size());
  cv.WscSsidLen = static_cast<uint8_t>(value.ssid_len);
  assign(record, cv);
  return result;
}

}  // namespace fakehwctl
