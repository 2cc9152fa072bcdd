// Setters of the fake wireless driver's answers for one interface: checked
// here, so the fake driver only ever reads well-formed files.
#include <string>

#include "boardutil/wireless_abi.h"
#include "sim/fakehw/text_parse.h"
#include "sim/fakehwctl/answer_files.h"
#include "sim/fakehwctl/control.h"
#include "sim/fakehwctl/wifi_records.h"

namespace fakehwctl {

using fakehw::kSequenceCapacity;
using fakehw::kWifiAclFile;
using fakehw::kWifiBssidFile;
using fakehw::kWifiChannelFile;
using fakehw::kWifiConfiguredFile;
using fakehw::kWifiConnStatusFile;
using fakehw::kWifiFailFile;
using fakehw::kWifiProfileFile;
using fakehw::kWifiStatusFile;
using fakehw::next_token;
using fakehw::parse_mac;
using fakehw::parse_u32;
using fakehw::parse_wifi_fail_token;
using fakehw::WifiFailToken;

namespace {

// A blank-separated sequence whose every value passes valid(); stored one
// blank between values, or removed when empty (the driver then answers 0).
template <typename Valid>
Result set_sequence(const std::string &ifname, const char *file, std::string_view sequence,
                    const char *what, Valid valid) {
  std::string stored;
  for (std::string_view token = next_token(sequence); !token.empty();
       token = next_token(sequence)) {
    if (!valid(token)) return Result::fail("\"" + std::string(token) + "\" is not " + what);
    stored += (stored.empty() ? "" : " ") + std::string(token);
  }
  if (stored.empty()) return remove_answer(ifname, file);
  if (stored.size() >= kSequenceCapacity) {
    return Result::fail("more than " + std::to_string(kSequenceCapacity - 1) + " bytes of values");
  }
  return write_answer(ifname, file, stored + "\n");
}

bool is_number(std::string_view token) {
  uint32_t value = 0;
  return parse_u32(token, value);
}

bool is_channel(std::string_view token) {
  uint32_t value = 0;
  return parse_u32(token, value) && value <= 0xff;
}

bool is_mac(std::string_view token) {
  unsigned char mac[6];
  return parse_mac(token, mac);
}

bool is_fail_token(std::string_view token) {
  return parse_wifi_fail_token(token).kind != WifiFailToken::kInvalid;
}

}  // namespace

Result set_wifi_status(const std::string &ifname, std::string_view sequence) {
  return set_sequence(ifname, kWifiStatusFile, sequence, "a status code", is_number);
}

Result set_wifi_channel(const std::string &ifname, std::string_view sequence) {
  return set_sequence(ifname, kWifiChannelFile, sequence, "a channel (0-255)", is_channel);
}

Result set_wifi_bssid(const std::string &ifname, std::string_view sequence) {
  return set_sequence(ifname, kWifiBssidFile, sequence, "a MAC address AA:BB:CC:DD:EE:FF", is_mac);
}

Result set_wifi_fail(const std::string &ifname, std::string_view requests) {
  return set_sequence(ifname, kWifiFailFile, requests,
                      "a request (oid=0xNNNN, wsc-profile, connstatus, all)", is_fail_token);
}

Result set_wifi_acl(const std::string &ifname, const std::vector<std::string> &macs,
                    unsigned reported_count) {
  if (macs.size() > ACL_MAX_ENTRIES) {
    return Result::fail("more than " + std::to_string(ACL_MAX_ENTRIES) + " ACL entries");
  }
  std::string lines;
  if (reported_count != 0) lines = "count " + std::to_string(reported_count) + "\n";
  for (const std::string &mac : macs) {
    if (!is_mac(mac)) return Result::fail("\"" + mac + "\" is not a MAC address AA:BB:CC:DD:EE:FF");
    lines += mac + "\n";
  }
  return write_answer(ifname, kWifiAclFile, lines);
}

Result set_wifi_connstatus(const std::string &ifname, std::string_view answer) {
  if (answer.size() >= APCLI_CONNSTATUS_BUFFER) {
    return Result::fail("the connection status answer is longer than " +
                        std::to_string(APCLI_CONNSTATUS_BUFFER - 1) + " bytes");
  }
  return write_answer(ifname, kWifiConnStatusFile, answer);
}

Result set_wifi_profile(const std::string &ifname, const WscCredential &credential) {
  std::string record;
  if (Result encoded = encode_profile(credential, record); !encoded) return encoded;
  return write_answer(ifname, kWifiProfileFile, record);
}

Result set_wifi_configured(const std::string &ifname, const WscConfiguredValue &value) {
  std::string record;
  if (Result encoded = encode_configured_value(value, record); !encoded) return encoded;
  return write_answer(ifname, kWifiConfiguredFile, record);
}

}  // namespace fakehwctl
