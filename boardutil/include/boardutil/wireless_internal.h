// Wireless driver helpers shared by the library and buttond but not part of
// the public C API (wireless.h): one OID query on a socket of its own, the
// request text that getCurrentWscProfile leaves behind on failure, the
// decoding of driver answers apart from the requests that fetch them, and
// the access-control list's working text and compact form.
#ifndef BOARDUTIL_WIRELESS_INTERNAL_H
#define BOARDUTIL_WIRELESS_INTERNAL_H

#include <stddef.h>

#include "runtime/unique_fd.h"

namespace boardutil {

// The command text (with its NUL, 16 bytes) written at the start of the
// buffer of getCurrentWscProfile; the driver writes the record over it.
inline constexpr char kWscProfileRequest[] = "get_wsc_profile";
inline constexpr int kWscProfileRequestSize = sizeof kWscProfileRequest;
static_assert(kWscProfileRequestSize == 16);

// One RTPRIV_IOCTL_OID_QUERY for oid on ifname into the answer buffer, on a
// socket of its own that stays open while the query lives, so the caller
// reports a failure before the socket is closed.
class OidQuery {
 public:
  OidQuery(int oid, const char *ifname, void *buffer, int length);
  OidQuery(const OidQuery &) = delete;
  OidQuery &operator=(const OidQuery &) = delete;
  // The ioctl result: 0 success, -1 failure (also when no socket could be
  // opened).
  int result() const { return result_; }
  bool failed() const { return result_ == -1; }

 private:
  routerd::unique_fd socket_;
  int result_;
};

// The WPS status of a 4-byte OID_WSC_STATUS answer (little-endian).
int wsc_status_of_answer(const unsigned char (&answer)[4]);

// The connection state of a connection-status answer of length bytes: 1
// when its first word is "1", else 0.
int connect_status_of_answer(const char *answer, size_t length);

// The text config_acl stores for list n, allocated with malloc (text is
// nullptr when there is no memory) with room for every driver entry.
struct AclText {
  char *text = nullptr;
  size_t room = 0;
};
// The start of list n: for the mesh list the stored list with the own
// address added once, else empty.
AclText seeded_acl_text(int n, const char *stored, const char *own);
// Appends each entry of the driver's OID_ACL_LIST record (ACL_LIST_SIZE
// bytes) that the text does not hold yet.
void merge_acl_record(AclText &acl, const unsigned char *record);

// The compact form of acl as mesh_get_acl gives it, or null when there was
// no memory for it, so that a caller can tell that from an empty list.
const char *compact_acl(const char *acl);

}  // namespace boardutil

#endif
