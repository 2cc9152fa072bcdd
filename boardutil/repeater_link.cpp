// The upstream client's connection state, asked of the wireless driver with
// its private RTPRIV_IOCTL_APCLI_CONNSTATUS request ("1" = connected).
#include "boardutil/repeater_link.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <string_view>

#include "boardutil/console.h"
#include "boardutil/wireless_abi.h"
#include "boardutil/wireless_internal.h"
#include "runtime/unique_fd.h"

namespace {

// The first white-space-delimited word of the answer's length bytes.
std::string_view first_word(const char *answer, size_t length) {
  size_t end = strnlen(answer, length);
  size_t start = 0;
  while (start < end && isspace(static_cast<unsigned char>(answer[start]))) ++start;
  size_t stop = start;
  while (stop < end && !isspace(static_cast<unsigned char>(answer[stop]))) ++stop;
  return std::string_view(answer + start, stop - start);
}

}  // namespace

namespace boardutil {

int connect_status_of_answer(const char *answer, size_t length) {
  std::string_view word = first_word(answer, length);
  // An answer without any word (only white space) is not a connection.
  if (word == "1") {
    console_debug("get connect status return 1\n\n");
    return 1;
  }
  if (word == "0") console_debug("get connect status return 0\n\n");
  return 0;
}

}  // namespace boardutil

extern "C" int repeater_connect_status(const char *ifname) {
  char answer[APCLI_CONNSTATUS_BUFFER];
  memset(answer, 0, sizeof answer);
  routerd::unique_fd sock(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (!sock.valid()) {
    printf("\n%s open socket error!\n\n", ifname);
    return -1;
  }
  struct iwreq request;
  memset(&request, 0, sizeof request);
  snprintf(request.ifr_name, sizeof request.ifr_name, "%s", ifname);
  request.u.data.pointer = answer;
  request.u.data.length = sizeof answer;
  request.u.data.flags = 0;
  console_debug("repeater_connect_status %s\n\n", ifname);
  if (ioctl(sock.get(), RTPRIV_IOCTL_APCLI_CONNSTATUS, &request) < 0) {
    printf("RTPRIV_IOCTL_APCLI_CONNSTATUS error \n");
    return -1;
  }
  if (request.u.data.length == 0) {
    printf("get connect status Error\n");
    return 0;
  }
  size_t length = request.u.data.length < sizeof answer ? request.u.data.length : sizeof answer;
  return boardutil::connect_status_of_answer(answer, length);
}
