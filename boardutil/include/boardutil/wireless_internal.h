// Wireless driver helpers shared by the library and buttond but not part of
// the public C API (wireless.h): one OID query on a socket of its own, and
// the request text that getCurrentWscProfile leaves behind on failure.
#ifndef BOARDUTIL_WIRELESS_INTERNAL_H
#define BOARDUTIL_WIRELESS_INTERNAL_H

namespace boardutil {

// The command text (with its NUL, 16 bytes) written at the start of the
// buffer of getCurrentWscProfile; the driver writes the record over it.
inline constexpr char kWscProfileRequest[] = "get_wsc_profile";
inline constexpr int kWscProfileRequestSize = sizeof kWscProfileRequest;
static_assert(kWscProfileRequestSize == 16);

// Issues RTPRIV_IOCTL_OID_QUERY for oid on ifname into the answer buffer,
// on a socket opened and closed here; returns the ioctl result (0 success,
// -1 failure, also when no socket could be opened).
int oid_query(int oid, const char *ifname, void *buffer, int length);

}  // namespace boardutil

#endif
