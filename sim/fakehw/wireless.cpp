// The fake wireless driver's private requests (struct iwreq on any socket):
// OID queries, the configured WSC value and the repeater's connection
// status, answered from the files under /run/sim/hw/wifi/IFNAME/.

#include <cstdint>
#include <cstring>
#include <string_view>

#include "boardutil/wireless_abi.h"
#include "sim/fakehw/decoders.h"
#include "sim/fakehw/files.h"
#include "sim/fakehw/hw_state.h"
#include "sim/fakehw/le_bytes.h"
#include "sim/fakehw/log.h"
#include "sim/fakehw/text_parse.h"

namespace fakehw {
namespace {

// Records are filled through their C types: the driver's fields are
// little-endian, as the simulator's hosts are.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__);

constexpr size_t kLargestAnswer = sizeof(wsc_profile);
constexpr size_t kTokenCapacity = 64;

// One request on one interface: what the log and the answer files need.
struct Request {
  char ifname[IFNAMSIZ + 1] = {};
  Text what;  // "oid=0x0751", "wsc-profile", "connstatus", "cmd=0x8BE0"
  iw_point *data = nullptr;
};

Text answer_path(const Request &request, const char *file) {
  Text path;
  path.add(kWifiDir).add_char('/').add(request.ifname).add_char('/').add(file);
  return path;
}

int refused(const Request &request, const Text &reason, int error) {
  Text line;
  line.add("wifi ").add(request.ifname).add(" refused ").add(request.what.c_str());
  line.add(" (").add(reason.c_str()).add(")");
  log_request(line);
  return refuse(error);
}

int refused(const Request &request, const char *reason, int error) {
  return refused(request, Text().add(reason), error);
}

void log_answered(const Request &request) {
  Text line;
  line.add("wifi ").add(request.ifname).add_char(' ').add(request.what.c_str());
  line.add(" len=").dec(request.data->length);
  log_request(line);
}

// Whether the interface's fail file names this request.
bool scripted_failure(const Request &request, WifiFailToken::Kind kind, uint32_t oid) {
  char buffer[kSequenceCapacity];
  size_t length =
      read_small_file(answer_path(request, kWifiFailFile).c_str(), buffer, sizeof buffer);
  std::string_view tokens(buffer, length);
  for (std::string_view token = next_token(tokens); !token.empty(); token = next_token(tokens)) {
    WifiFailToken named = parse_wifi_fail_token(token);
    if (named.kind == WifiFailToken::kAll || (named.kind == kind && named.oid == oid)) return true;
  }
  return false;
}

uint32_t next_number(const Request &request, const char *file) {
  char token[kTokenCapacity];
  size_t length = take_sequence_value(answer_path(request, file).c_str(), token, sizeof token);
  uint32_t value = 0;
  return parse_u32({token, length}, value) ? value : 0;
}

void answer_status(const Request &request, unsigned char *answer) {
  put_le32(answer, next_number(request, kWifiStatusFile));
}

void answer_channel(const Request &request, unsigned char *answer) {
  answer[0] = static_cast<unsigned char>(next_number(request, kWifiChannelFile));
}

void answer_bssid(const Request &request, unsigned char *answer) {
  char token[kTokenCapacity];
  size_t length =
      take_sequence_value(answer_path(request, kWifiBssidFile).c_str(), token, sizeof token);
  unsigned char mac[6] = {};
  if (parse_mac({token, length}, mac)) memcpy(answer, mac, sizeof mac);
}

void answer_profile(const Request &request, unsigned char *answer) {
  read_small_file(answer_path(request, kWifiProfileFile).c_str(), reinterpret_cast<char *>(answer),
                  sizeof(wsc_profile));
}

void answer_acl(const Request &request, unsigned char *answer) {
  acl_list list{};
  char buffer[ACL_MAX_ENTRIES * 20];
  size_t length =
      read_small_file(answer_path(request, kWifiAclFile).c_str(), buffer, sizeof buffer);
  std::string_view lines(buffer, length);
  uint32_t count = 0;
  uint32_t reported = 0;  // "count N": a driver that claims more entries than it holds
  for (std::string_view token = next_token(lines); !token.empty(); token = next_token(lines)) {
    unsigned char mac[6];
    if (token == "count") {
      if (!parse_u32(next_token(lines), reported)) reported = 0;
    } else if (count < ACL_MAX_ENTRIES && parse_mac(token, mac)) {
      memcpy(list.Entries[count].Mac, mac, sizeof mac);
      ++count;
    }
  }
  list.EntryCount = reported != 0 ? reported : count;
  memcpy(answer, &list, sizeof list);
}

struct OidAnswer {
  uint32_t oid;
  uint16_t length;
  void (*fill)(const Request &, unsigned char *);
};
constexpr OidAnswer kOidAnswers[] = {
    {OID_WSC_STATUS, 4, answer_status},
    {OID_WSC_PROFILE, sizeof(wsc_profile), answer_profile},
    {OID_APCLI_CHANNEL, 1, answer_channel},
    {OID_APCLI_BSSID, 6, answer_bssid},
    {OID_ACL_LIST, sizeof(acl_list), answer_acl},
};
static_assert(sizeof(acl_list) <= kLargestAnswer);

int wrong_length(const Request &request, unsigned expected) {
  return refused(request,
                 Text().add("length ").dec(request.data->length).add(", expected ").dec(expected),
                 EINVAL);
}

// Requests other than OID queries carry no flags.
int wrong_flags(const Request &request) {
  return refused(request, Text().add("flags ").hex(request.data->flags).add(", expected 0"),
                 EINVAL);
}

int query_oid(Request &request) {
  uint32_t oid = request.data->flags;
  request.what.add("oid=").hex(oid, 4, true);
  if (scripted_failure(request, WifiFailToken::kOid, oid)) {
    return refused(request, "failing on request", kScriptedFailure);
  }
  for (const OidAnswer &known : kOidAnswers) {
    if (known.oid != oid) continue;
    if (request.data->length != known.length || request.data->pointer == nullptr) {
      return wrong_length(request, known.length);
    }
    unsigned char answer[kLargestAnswer] = {};
    known.fill(request, answer);
    memcpy(request.data->pointer, answer, known.length);
    log_answered(request);
    return 0;
  }
  return refused(request, "unknown OID", EOPNOTSUPP);
}

int configured_value(Request &request) {
  request.what.add("wsc-profile");
  if (scripted_failure(request, WifiFailToken::kWscProfile, 0)) {
    return refused(request, "failing on request", kScriptedFailure);
  }
  if (request.data->flags != 0) return wrong_flags(request);
  size_t length = request.data->length < sizeof(WSC_CONFIGURED_VALUE)
                      ? request.data->length
                      : sizeof(WSC_CONFIGURED_VALUE);
  if (length > 0 && request.data->pointer == nullptr) {
    return refused(request, "null buffer", EINVAL);
  }
  char answer[sizeof(WSC_CONFIGURED_VALUE)] = {};
  read_small_file(answer_path(request, kWifiConfiguredFile).c_str(), answer, sizeof answer);
  if (length > 0) memcpy(request.data->pointer, answer, length);
  log_answered(request);
  return 0;
}

int connection_status(Request &request) {
  request.what.add("connstatus");
  if (scripted_failure(request, WifiFailToken::kConnStatus, 0)) {
    return refused(request, "failing on request", kScriptedFailure);
  }
  if (request.data->flags != 0) return wrong_flags(request);
  if (request.data->length != APCLI_CONNSTATUS_BUFFER || request.data->pointer == nullptr) {
    return wrong_length(request, APCLI_CONNSTATUS_BUFFER);
  }
  char answer[APCLI_CONNSTATUS_BUFFER] = {};
  size_t length =
      read_small_file(answer_path(request, kWifiConnStatusFile).c_str(), answer, sizeof answer - 1);
  memcpy(request.data->pointer, answer, length + 1);
  log_answered(request);
  request.data->length = static_cast<uint16_t>(length);
  return 0;
}

}  // namespace

int wireless_request(unsigned long number, void *arg) {
  Request request;
  if (arg == nullptr) {
    request.ifname[0] = '-';
    request.what.add("cmd=").hex(number, 4, true);
    return refused(request, "null request", EINVAL);
  }
  auto *wrq = static_cast<oid_request *>(arg);
  memcpy(request.ifname, wrq->ifr_name, IFNAMSIZ);
  request.data = &wrq->u.data;
  if (!valid_ifname(request.ifname)) {
    request.what.add("cmd=").hex(number, 4, true);
    return refused(request, "bad interface name", ENODEV);
  }
  switch (number) {
    case RTPRIV_IOCTL_OID_QUERY:
      return query_oid(request);
    case RTPRIV_IOCTL_WSC_PROFILE:
      return configured_value(request);
    case RTPRIV_IOCTL_APCLI_CONNSTATUS:
      return connection_status(request);
    default:
      request.what.add("cmd=").hex(number, 4, true);
      return refused(request, "unknown request", EOPNOTSUPP);
  }
}

}  // namespace fakehw
