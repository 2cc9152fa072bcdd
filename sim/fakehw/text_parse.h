// Parsing of the fake drivers' text files, shared by the control side that
// writes them and the fake library that reads them (no allocation, nothing
// that throws).
#ifndef SIM_FAKEHW_TEXT_PARSE_H
#define SIM_FAKEHW_TEXT_PARSE_H

#include <cstdint>
#include <string_view>

namespace fakehw {

inline constexpr std::string_view kBlanks = " \t\r\n";

// The most a sequence or fail file may hold; the fake reads no further.
inline constexpr size_t kSequenceCapacity = 4096;

// Splits off the first blank-separated token of text; "" when none is left.
constexpr std::string_view next_token(std::string_view &text) {
  size_t start = text.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) {
    text = {};
    return {};
  }
  size_t end = text.find_first_of(kBlanks, start);
  if (end == std::string_view::npos) end = text.size();
  std::string_view token(text.data() + start, end - start);
  text.remove_prefix(end);
  return token;
}

constexpr int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A u32 written in decimal, or in hex after "0x"; nothing else.
constexpr bool parse_u32(std::string_view text, uint32_t &value) {
  unsigned base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  uint64_t result = 0;
  for (char c : text) {
    int digit = hex_digit(c);
    if (digit < 0 || static_cast<unsigned>(digit) >= base) return false;
    result = result * base + static_cast<unsigned>(digit);
    if (result > UINT32_MAX) return false;
  }
  value = static_cast<uint32_t>(result);
  return true;
}

// "AA:BB:CC:DD:EE:FF" (either case) into six bytes.
constexpr bool parse_mac(std::string_view text, unsigned char (&mac)[6]) {
  if (text.size() != 17) return false;
  for (size_t i = 0; i < 6; ++i) {
    int high = hex_digit(text[3 * i]), low = hex_digit(text[3 * i + 1]);
    if (high < 0 || low < 0 || (i < 5 && text[3 * i + 2] != ':')) return false;
    mac[i] = static_cast<unsigned char>(high << 4 | low);
  }
  return true;
}

// The requests a wireless "fail" file can name, one token each.
struct WifiFailToken {
  enum Kind { kInvalid, kAll, kWscProfile, kConnStatus, kOid } kind = kInvalid;
  uint32_t oid = 0;
};

constexpr WifiFailToken parse_wifi_fail_token(std::string_view token) {
  if (token == "all") return {WifiFailToken::kAll};
  if (token == "wsc-profile") return {WifiFailToken::kWscProfile};
  if (token == "connstatus") return {WifiFailToken::kConnStatus};
  uint32_t oid = 0;
  constexpr std::string_view kOid = "oid=";
  bool named = token.size() > kOid.size() && std::string_view(token.data(), kOid.size()) == kOid;
  if (named && parse_u32({token.data() + kOid.size(), token.size() - kOid.size()}, oid)) {
    return {WifiFailToken::kOid, oid};
  }
  return {};
}

// Names of the answer files under /run/sim/hw/wifi/IFNAME/.
inline constexpr char kWifiStatusFile[] = "status";
inline constexpr char kWifiProfileFile[] = "profile";
inline constexpr char kWifiConfiguredFile[] = "configured";
inline constexpr char kWifiChannelFile[] = "channel";
inline constexpr char kWifiBssidFile[] = "bssid";
inline constexpr char kWifiAclFile[] = "acl";
inline constexpr char kWifiConnStatusFile[] = "connstatus";
inline constexpr char kWifiFailFile[] = "fail";

// An interface name that is safe as one path component.
constexpr bool valid_ifname(std::string_view name) {
  return !name.empty() && name.size() < 16 && name[0] != '.' &&
         name.find_first_of("/ \t\r\n") == std::string_view::npos;
}

}  // namespace fakehw

#endif
