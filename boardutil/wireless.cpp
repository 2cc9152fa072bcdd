// Queries of the wireless driver's private ioctls: OID queries (WPS status,
// an access point's WPS profile, any OID on a caller's socket) and the
// credentials an upstream-client interface received.
#include "boardutil/wireless.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <algorithm>

#include "boardutil/console.h"
#include "boardutil/wireless_internal.h"
#include "runtime/unique_fd.h"

namespace {

// The request record; the name is cut to the 15 characters that fit.
oid_request make_request(const char *ifname, void *buffer, int length, int flags) {
  oid_request request{};
  snprintf(request.ifr_ifrn.ifrn_name, sizeof request.ifr_ifrn.ifrn_name, "%s", ifname);
  request.u.data.pointer = buffer;
  request.u.data.length = static_cast<uint16_t>(std::clamp(length, 0, 0xFFFF));
  request.u.data.flags = static_cast<uint16_t>(flags);
  return request;
}

routerd::unique_fd wireless_socket() {
  return routerd::unique_fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
}

}  // namespace

namespace boardutil {

OidQuery::OidQuery(int oid, const char *ifname, void *buffer, int length)
    : socket_(wireless_socket()),
      result_(ap_oid_query_info(oid, socket_.get(), ifname, buffer, length)) {}

int wsc_status_of_answer(const unsigned char (&answer)[4]) {
  uint32_t status =
      answer[0] | answer[1] << 8 | answer[2] << 16 | static_cast<uint32_t>(answer[3]) << 24;
  return static_cast<int>(status);
}

}  // namespace boardutil

extern "C" int ap_oid_query_info(int oid, int socket, const char *ifname, void *buffer,
                                 int length) {
  oid_request request = make_request(ifname, buffer, length, oid);
  return ioctl(socket, RTPRIV_IOCTL_OID_QUERY, &request);
}

extern "C" int getWscStatus(const char *ifname) {
  unsigned char answer[4] = {};
  boardutil::OidQuery query(OID_WSC_STATUS, ifname, answer, sizeof answer);
  if (query.failed()) console_debug("ioctl error\n");
  return boardutil::wsc_status_of_answer(answer);
}

extern "C" void getWscProfile(const char *ifname, wsc_profile *profile) {
  boardutil::OidQuery query(OID_WSC_PROFILE, ifname, profile, sizeof *profile);
  if (query.failed()) console_debug("ioctl error\n\n");
}

extern "C" void getCurrentWscProfile(const char *ifname, void *buffer, int length) {
  routerd::unique_fd sock = wireless_socket();
  if (!sock.valid()) console_debug("socket open Fail !\n");
  size_t marker =
      std::min<size_t>(boardutil::kWscProfileRequestSize, static_cast<size_t>(std::max(length, 0)));
  memcpy(buffer, boardutil::kWscProfileRequest, marker);
  oid_request request = make_request(ifname, buffer, length, 0);
  if (ioctl(sock.get(), RTPRIV_IOCTL_WSC_PROFILE, &request) < 0) {
    console_debug("ioctl -> RTPRIV_IOCTL_WSC_PROFILE Fail !\n");
  }
}
